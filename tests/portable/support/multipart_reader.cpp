#include "portable/support/multipart_reader.h"

#include <algorithm>
#include <map>

namespace {

constexpr std::string_view kCrLf = "\r\n";

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

bool IsWhite(char c) {
    return c == ' ' || c == '\t';
}

void SkipWhite(std::string_view& text) {
    while (!text.empty() && IsWhite(text.front()))
        text.remove_prefix(1);
}

// RFC 2045's token: printable ASCII but blanks and tspecials.
bool IsTokenChar(char c) {
    return c > 0x20 && c < 0x7F &&
           std::string_view("()<>@,;:\\\"/[]?=").find(c) == std::string_view::npos;
}

std::string_view ReadToken(std::string_view& text) {
    const size_t end = std::min(
        static_cast<size_t>(std::find_if_not(text.begin(), text.end(), IsTokenChar) - text.begin()),
        text.size());
    const std::string_view token = text.substr(0, end);
    text.remove_prefix(end);
    return token;
}

// A token or a quoted-string (RFC 822), unquoted.
std::optional<std::string> ReadValue(std::string_view& text) {
    if (text.empty() || text.front() != '"') {
        const std::string_view token = ReadToken(text);
        return token.empty() ? std::nullopt : std::optional<std::string>(token);
    }
    std::string value;
    for (size_t i = 1; i < text.size(); ++i) {
        if (text[i] == '"') {
            text.remove_prefix(i + 1);
            return value;
        }
        if (text[i] == '\r' || text[i] == '\n')
            return std::nullopt;
        if (text[i] == '\\' && ++i == text.size())
            return std::nullopt;
        value += text[i];
    }
    return std::nullopt;
}

// "type/subtype *(; name=value)" into the lower-case type and the
// parameters (names in lower case, each once).
bool ReadParameters(std::string_view& text, std::map<std::string, std::string>& parameters) {
    while (SkipWhite(text), !text.empty()) {
        if (text.front() != ';')
            return false;
        text.remove_prefix(1);
        SkipWhite(text);
        std::string name(ReadToken(text));
        SkipWhite(text);
        if (name.empty() || text.empty() || text.front() != '=')
            return false;
        text.remove_prefix(1);
        SkipWhite(text);
        const std::optional<std::string> value = ReadValue(text);
        std::transform(name.begin(), name.end(), name.begin(), Lower);
        if (!value || !parameters.emplace(name, *value).second)
            return false;
    }
    return true;
}

// RFC 2046's boundary: 1 to 70 bchars, not ending in a blank.
bool IsBoundary(std::string_view boundary) {
    constexpr std::string_view kOthers = "'()+_,-./:=? ";
    return !boundary.empty() && boundary.size() <= 70 && boundary.back() != ' ' &&
           std::all_of(boundary.begin(), boundary.end(), [&](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                      kOthers.find(c) != std::string_view::npos;
           });
}

std::optional<std::string> BoundaryOf(std::string_view header) {
    const size_t colon = header.find(':');
    if (colon == std::string_view::npos ||
        !EqualIgnoringAsciiCase(header.substr(0, colon), "Content-Type"))
        return std::nullopt;
    header.remove_prefix(colon + 1);
    SkipWhite(header);
    const std::string_view type = ReadToken(header);
    if (header.empty() || header.front() != '/')
        return std::nullopt;
    header.remove_prefix(1);
    const std::string_view subtype = ReadToken(header);
    std::map<std::string, std::string> parameters;
    if (!EqualIgnoringAsciiCase(type, "multipart") ||
        !EqualIgnoringAsciiCase(subtype, "form-data") || !ReadParameters(header, parameters))
        return std::nullopt;
    const auto boundary = parameters.find("boundary");
    if (boundary == parameters.end() || !IsBoundary(boundary->second))
        return std::nullopt;
    return boundary->second;
}

// A part: header fields, each "name: value" (continued on lines that start
// with a blank), an empty line, the content.
std::optional<FormPart> ReadPart(std::string_view text) {
    std::map<std::string, std::string> fields; // names in lower case
    std::string* last = nullptr;
    for (;;) {
        const size_t end = text.find(kCrLf);
        if (end == std::string_view::npos)
            return std::nullopt;
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 2);
        if (line.empty())
            break;
        if (IsWhite(line.front())) {
            if (!last)
                return std::nullopt;
            *last += line;
            continue;
        }
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos || colon == 0 ||
            !std::all_of(line.begin(), line.begin() + colon,
                         [](char c) { return c > 0x20 && c < 0x7F; }))
            return std::nullopt;
        std::string name(line.substr(0, colon));
        std::transform(name.begin(), name.end(), name.begin(), Lower);
        const auto [field, added] = fields.emplace(name, std::string(line.substr(colon + 1)));
        if (!added)
            return std::nullopt;
        last = &field->second;
    }
    const auto disposition = fields.find("content-disposition");
    if (disposition == fields.end())
        return std::nullopt;
    std::string_view value = disposition->second;
    SkipWhite(value);
    std::map<std::string, std::string> parameters;
    if (!EqualIgnoringAsciiCase(ReadToken(value), "form-data") ||
        !ReadParameters(value, parameters))
        return std::nullopt;
    const auto name = parameters.find("name");
    if (name == parameters.end())
        return std::nullopt;
    FormPart part;
    part.name = name->second;
    if (const auto found = parameters.find("filename"); found != parameters.end())
        part.fileName = found->second;
    if (const auto type = fields.find("content-type"); type != fields.end()) {
        std::string_view typeValue = type->second;
        SkipWhite(typeValue);
        while (!typeValue.empty() && IsWhite(typeValue.back()))
            typeValue.remove_suffix(1);
        part.contentType = std::string(typeValue);
    }
    part.content = std::string(text);
    return part;
}

} // namespace

std::optional<std::vector<FormPart>> ReadMultipartForm(std::string_view contentType,
                                                       std::string_view body) {
    const std::optional<std::string> boundary = BoundaryOf(contentType);
    if (!boundary)
        return std::nullopt;
    const std::string dashBoundary = "--" + *boundary;
    const std::string delimiter = std::string(kCrLf) + dashBoundary;

    // The preamble, if any, ends in the CR LF that starts the first
    // delimiter; without one the body starts with the dash-boundary.
    size_t at = 0;
    if (body.substr(0, dashBoundary.size()) == dashBoundary) {
        at = dashBoundary.size();
    } else {
        at = body.find(delimiter);
        if (at == std::string_view::npos)
            return std::nullopt;
        at += delimiter.size();
    }
    std::vector<FormPart> parts;
    for (;;) {
        // After a delimiter: "--" closes; otherwise blanks (transport
        // padding) and CR LF open a part.
        const bool closing = body.substr(at, 2) == "--";
        if (closing)
            at += 2;
        while (at < body.size() && IsWhite(body[at]))
            ++at;
        if (closing) {
            // The epilogue, after CR LF, is anything.
            if (parts.empty() || (at != body.size() && body.substr(at, 2) != kCrLf))
                return std::nullopt;
            return parts;
        }
        if (body.substr(at, 2) != kCrLf)
            return std::nullopt;
        at += 2;
        const size_t end = body.find(delimiter, at);
        if (end == std::string_view::npos)
            return std::nullopt;
        std::optional<FormPart> part = ReadPart(body.substr(at, end - at));
        if (!part)
            return std::nullopt;
        parts.push_back(std::move(*part));
        at = end + delimiter.size();
    }
}
