#include "upload/multipart_form.h"

#include <algorithm>

namespace {

std::string FieldPart(std::string_view boundary, std::string_view name, std::string_view value) {
    std::string part = "--";
    part.append(boundary).append("\r\nContent-Disposition: form-data; name=\"");
    part.append(name).append("\"\r\n\r\n").append(value).append("\r\n");
    return part;
}

} // namespace

std::wstring WorkOrderValue(int mode, const std::wstring& text) {
    return mode >= 1 && !text.empty() ? text : std::wstring(L"0");
}

MultipartForm BuildMultipartForm(std::string_view boundary, std::string_view securityKey,
                                 std::string_view workOrder) {
    MultipartForm form;
    form.securityKeyPart = FieldPart(boundary, "security_key", securityKey);
    form.workOrderPart = FieldPart(boundary, "workorder_id", workOrder);
    // No blank between the name and "filename": servers accept it as sent.
    form.fileHeader = "--";
    form.fileHeader.append(boundary)
        .append("\r\nContent-Disposition: form-data; name=\"")
        .append(kFileFieldName)
        .append("\";filename=\"")
        .append(kPictureFileName)
        .append("\"\r\nContent-Type: application/octet-stream\r\n\r\n");
    form.closing = "\r\n--";
    form.closing.append(boundary).append("--\r\n");
    return form;
}

std::string ContentTypeHeader(std::string_view boundary) {
    return "Content-Type: multipart/form-data; boundary=" + std::string(boundary);
}

std::size_t PictureBlockSize(std::uint64_t pictureLength) noexcept {
    constexpr std::uint64_t kUnit = 1024;
    constexpr std::uint64_t kLargest = 64 * kUnit;
    const std::uint64_t hundredth = pictureLength / 100 + (pictureLength % 100 != 0 ? 1 : 0);
    const std::uint64_t rounded = (hundredth + kUnit - 1) / kUnit * kUnit;
    return static_cast<std::size_t>(std::clamp(rounded, kUnit, kLargest));
}

int ProgressPercent(std::uint64_t sent, std::uint64_t length) noexcept {
    if (length == 0 || sent >= length)
        return 100;
    // In whole numbers: in floating point 29 of 100 bytes would read 28 %.
    // sent * 100 wraps for lengths past 2^64 / 100, so the two decimal digits
    // of sent / length come one at a time: each is how often length fits
    // into ten times the rest, counted by adding the rest ten times modulo
    // length, which never leaves 64 bits.
    int percent = 0;
    std::uint64_t rest = sent; // below length
    for (int digit = 0; digit < 2; ++digit) {
        std::uint64_t tenfold = 0; // 10 * rest modulo length
        int fits = 0;
        for (int i = 0; i < 10; ++i) {
            if (tenfold >= length - rest) {
                tenfold -= length - rest;
                ++fits;
            } else {
                tenfold += rest;
            }
        }
        percent = percent * 10 + fits;
        rest = tenfold;
    }
    return percent;
}
