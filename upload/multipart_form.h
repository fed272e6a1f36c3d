// The multipart/form-data body of an upload and the arithmetic around it,
// free of windows and connections.
#pragma once

#include <cstdint>
#include <string>

// A fresh boundary: a new GUID's text without its dashes, 32 lower-case
// hexadecimal digits. Empty when no GUID could be made.
std::wstring MakeBoundary();

// The workorder_id the server gets: the typed text when the picture is added
// to an existing work order (mode 1 or more) and the text is not empty, "0"
// (create a new work order) otherwise. The text goes as typed.
std::wstring WorkOrderValue(int mode, const std::wstring& text);

// The text parts around the picture, as the bytes sent (the thread's ANSI
// code page): the security key (A), the work-order number (B), the file
// part's header (C) and the closing boundary (D). The body on the wire is
// A, B, C, the picture, D.
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

MultipartForm BuildMultipartForm(const std::wstring& boundary, const std::wstring& securityKey,
                                 const std::wstring& workOrder);

// "Content-Type: multipart/form-data; boundary=<boundary>"
std::wstring ContentTypeHeader(const std::wstring& boundary);

// The file part's name and file name.
inline constexpr wchar_t kFileFieldName[] = L"file";
inline constexpr wchar_t kPictureFileName[] = L"Orbicam.jpg";

// How many picture bytes go in one write: a hundredth of the picture rounded
// up to whole KB, at least 1 KB and at most 64 KB. One progress step per
// block keeps the bar's 101 positions, and a cancel stops within a hundredth
// of the picture, while the writes stay few (each costs a round through the
// network stack).
std::size_t PictureBlockSize(std::uint64_t pictureLength) noexcept;

// The progress bar's position after sent of length bytes: the whole percent,
// truncated; 100 for an empty picture.
int ProgressPercent(std::uint64_t sent, std::uint64_t length) noexcept;
