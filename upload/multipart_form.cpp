#include "upload/multipart_form.h"

#include "framework/handles.h"
#include "framework/text.h"

#include <windows.h>
#include <rpc.h>

#include <algorithm>

namespace {

std::wstring FieldPart(const std::wstring& boundary, const wchar_t* name,
                       const std::wstring& value) {
    return L"--" + boundary + L"\r\nContent-Disposition: form-data; name=\"" + name +
           L"\"\r\n\r\n" + value + L"\r\n";
}

} // namespace

std::wstring MakeBoundary() {
    GUID guid{};
    if (FAILED(::CoCreateGuid(&guid)))
        return {};
    fw::RpcString text;
    if (::UuidToStringW(&guid, text.put()) != RPC_S_OK || !text)
        return {};
    std::wstring boundary;
    for (const wchar_t* c = reinterpret_cast<const wchar_t*>(text.get()); *c; ++c) {
        if (*c != L'-')
            boundary += *c;
    }
    return boundary;
}

std::wstring WorkOrderValue(int mode, const std::wstring& text) {
    return mode >= 1 && !text.empty() ? text : std::wstring(L"0");
}

MultipartForm BuildMultipartForm(const std::wstring& boundary, const std::wstring& securityKey,
                                 const std::wstring& workOrder) {
    MultipartForm form;
    form.securityKeyPart = fw::ToAnsi(FieldPart(boundary, L"security_key", securityKey));
    form.workOrderPart = fw::ToAnsi(FieldPart(boundary, L"workorder_id", workOrder));
    // No blank between the name and "filename": servers accept it as sent.
    form.fileHeader = fw::ToAnsi(L"--" + boundary + L"\r\nContent-Disposition: form-data; name=\"" +
                                 kFileFieldName + L"\";filename=\"" + kPictureFileName +
                                 L"\"\r\nContent-Type: application/octet-stream\r\n\r\n");
    form.closing = fw::ToAnsi(L"\r\n--" + boundary + L"--\r\n");
    return form;
}

std::wstring ContentTypeHeader(const std::wstring& boundary) {
    return L"Content-Type: multipart/form-data; boundary=" + boundary;
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
