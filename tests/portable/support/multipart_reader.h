// A reader of multipart/form-data bodies that holds them to the letter of
// RFC 2046 (section 5.1.1) and RFC 7578: the boundary from the Content-Type
// parameter, parts between delimiters (CR LF "--" boundary), an optional
// preamble and epilogue, each part's headers ending in an empty line and
// naming the field in a Content-Disposition of form-data. Anything else is no
// form.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct FormPart {
    std::string name;
    std::optional<std::string> fileName;
    std::optional<std::string> contentType;
    std::string content;
};

// The parts of body, sent with the header contentType ("Content-Type:
// multipart/form-data; boundary=..."); nothing when either breaks the rules.
std::optional<std::vector<FormPart>> ReadMultipartForm(std::string_view contentType,
                                                       std::string_view body);
