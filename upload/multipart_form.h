// The multipart/form-data body of an upload and the arithmetic around it,
// free of windows and connections.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The workorder_id the server gets: the typed text when the picture is added
// to an existing work order (mode 1 or more) and the text is not empty, "0"
// (create a new work order) otherwise. The text goes as typed.
std::wstring WorkOrderValue(int mode, const std::wstring& text);

// The text parts around the picture, as the bytes sent: the security key
// (A), the work-order number (B), the file part's header (C) and the closing
// boundary (D). The body on the wire is A, B, C, the picture, D.
struct MultipartForm {
    std::string securityKeyPart;
    std::string workOrderPart;
    std::string fileHeader;
    std::string closing;

    std::uint64_t BodyLength(std::uint64_t pictureLength) const noexcept {
        return securityKeyPart.size() + workOrderPart.size() + fileHeader.size() + pictureLength +
               closing.size();
    }
};

// The form of the given bytes (the caller chooses their encoding: the
// program sends the typed texts in the thread's ANSI code page). The
// boundary must be 1 to 70 characters that need no quotes in the
// Content-Type (letters, digits, "'+-._"), and no value nor the picture may
// contain CR LF "--" boundary. The form does not look: a fresh random
// 128-bit boundary (MakeBoundary) is that unlikely to turn up in what is
// sent, and the picture is never seen here as a whole.
MultipartForm BuildMultipartForm(std::string_view boundary, std::string_view securityKey,
                                 std::string_view workOrder);

// "Content-Type: multipart/form-data; boundary=<boundary>"
std::string ContentTypeHeader(std::string_view boundary);

// The file part's name and file name.
inline constexpr char kFileFieldName[] = "file";
inline constexpr char kPictureFileName[] = "Orbicam.jpg";

// How many picture bytes go in one write: a hundredth of the picture rounded
// up to whole KB, at least 1 KB and at most 64 KB. One progress step per
// block keeps the bar's 101 positions, and a cancel stops within a hundredth
// of the picture, while the writes stay few (each costs a round through the
// network stack).
std::size_t PictureBlockSize(std::uint64_t pictureLength) noexcept;

// The progress bar's position after sent of length bytes: the whole percent,
// truncated; 100 for an empty picture.
int ProgressPercent(std::uint64_t sent, std::uint64_t length) noexcept;
