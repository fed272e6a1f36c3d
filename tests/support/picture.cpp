#include "support/picture.h"

#include "support/test_window.h"

#include "framework/application.h"
#include "framework/gdiplus.h"
#include "framework/handles.h"
#include "framework/picture.h"

#include <algorithm>
#include <cstdlib>

namespace {

namespace gdip = Gdiplus::DllExports;

// The built-in PNG (image/png) and JPEG (image/jpeg) encoders.
constexpr CLSID kPngEncoder = {
    0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
constexpr CLSID kJpegEncoder = {
    0x557CF401, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

BITMAPINFO TopDownInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

} // namespace

COLORREF Picture::At(int x, int y) const {
    const std::uint32_t pixel = pixels.at(static_cast<size_t>(y) * width + x);
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

int Picture::Count(COLORREF color, int tolerance) const {
    return Count(color, tolerance, RECT{0, 0, width, height});
}

int Picture::Count(COLORREF color, int tolerance, const RECT& area) const {
    int count = 0;
    for (int y = std::max(0, static_cast<int>(area.top));
         y < std::min(height, static_cast<int>(area.bottom)); ++y) {
        for (int x = std::max(0, static_cast<int>(area.left));
             x < std::min(width, static_cast<int>(area.right)); ++x) {
            if (ColorsClose(At(x, y), color, tolerance))
                ++count;
        }
    }
    return count;
}

Picture ReadPixels(HBITMAP bitmap) {
    BITMAP header{};
    if (!bitmap || !::GetObjectW(bitmap, sizeof(header), &header) || header.bmWidth <= 0 ||
        header.bmHeight <= 0)
        return {};
    Picture picture;
    picture.width = header.bmWidth;
    picture.height = header.bmHeight;
    picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
    BITMAPINFO info = TopDownInfo(picture.width, picture.height);
    fw::WindowDc screen(nullptr);
    if (::GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(picture.height),
                    picture.pixels.data(), &info, DIB_RGB_COLORS) != picture.height)
        return {};
    for (std::uint32_t& pixel : picture.pixels)
        pixel &= 0x00FFFFFF;
    return picture;
}

Picture CaptureClient(HWND window) {
    RECT client{};
    if (!::GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0)
        return {};
    fw::WindowDc source(window);
    fw::MemoryDc memory(::CreateCompatibleDC(source.get()));
    fw::GdiBitmap bitmap(::CreateCompatibleBitmap(source.get(), client.right, client.bottom));
    if (!source || !memory || !bitmap)
        return {};
    {
        fw::SelectionGuard select(memory.get(), bitmap.get());
        ::BitBlt(memory.get(), 0, 0, client.right, client.bottom, source.get(), 0, 0, SRCCOPY);
    }
    return ReadPixels(bitmap.get());
}

bool ColorsClose(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

bool SavePng(HBITMAP bitmap, const std::wstring& path) {
    fw::GdiplusSession gdiplus;
    if (!gdiplus.Start() || !bitmap)
        return false;
    Gdiplus::GpBitmap* image = nullptr;
    if (gdip::GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &image) != Gdiplus::Ok)
        return false;
    const bool saved =
        gdip::GdipSaveImageToFile(image, path.c_str(), &kPngEncoder, nullptr) == Gdiplus::Ok;
    gdip::GdipDisposeImage(image);
    return saved;
}

namespace {

fw::GdiBitmap ToBitmap(const Picture& picture) {
    if (picture.empty())
        return {};
    BITMAPINFO info = TopDownInfo(picture.width, picture.height);
    void* bits = nullptr;
    fw::GdiBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bitmap && bits)
        std::copy(picture.pixels.begin(), picture.pixels.end(), static_cast<std::uint32_t*>(bits));
    return bitmap;
}

} // namespace

bool SavePng(const Picture& picture, const std::wstring& path) {
    const fw::GdiBitmap bitmap = ToBitmap(picture);
    return bitmap && SavePng(bitmap.get(), path);
}

std::string EncodeJpeg(const Picture& picture) {
    fw::GdiplusSession gdiplus;
    const bool started = gdiplus.Start();
    const fw::GdiBitmap bitmap = ToBitmap(picture);
    fw::Stream stream;
    if (!started || !bitmap || FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, stream.put())))
        return {};
    Gdiplus::GpBitmap* image = nullptr;
    if (gdip::GdipCreateBitmapFromHBITMAP(bitmap.get(), nullptr, &image) != Gdiplus::Ok)
        return {};
    const bool saved =
        gdip::GdipSaveImageToStream(image, stream.get(), &kJpegEncoder, nullptr) == Gdiplus::Ok;
    gdip::GdipDisposeImage(image);
    STATSTG stat{};
    if (!saved || FAILED(stream.get()->Stat(&stat, STATFLAG_NONAME)) ||
        FAILED(stream.get()->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr)))
        return {};
    std::string bytes(static_cast<size_t>(stat.cbSize.QuadPart), '\0');
    ULONG read = 0;
    if (FAILED(stream.get()->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read)))
        return {};
    bytes.resize(read);
    return bytes;
}

bool SaveClientPng(HWND window, const std::wstring& path) {
    return SavePng(CaptureClient(window), path);
}

bool SaveWindowPng(HWND window, const std::wstring& path) {
    RECT frame{};
    ::GetWindowRect(window, &frame);
    const ScreenShot shot(frame);
    return SavePng(Picture{shot.Width(), shot.Height(), shot.Pixels()}, path);
}

bool ShowsBitmap(HWND window, UINT bitmapId) {
    fw::GdiBitmap resource(static_cast<HBITMAP>(
        ::LoadImageW(fw::ResourceInstance(), MAKEINTRESOURCEW(bitmapId), IMAGE_BITMAP, 0, 0, 0)));
    const Picture expected = ReadPixels(resource.get());
    ::UpdateWindow(window);
    const Picture shown = CaptureClient(window);
    if (expected.empty() || shown.empty())
        return false;
    for (int y = 0; y < std::min(expected.height, shown.height); ++y) {
        for (int x = 0; x < std::min(expected.width, shown.width); ++x) {
            // The focus cue inverts the pixels it covers.
            const COLORREF want = expected.At(x, y);
            const COLORREF got = shown.At(x, y);
            if (got != want && got != (want ^ 0x00FFFFFF))
                return false;
        }
    }
    return true;
}

Picture ReadImageFile(const std::wstring& path) {
    fw::GdiplusSession gdiplus;
    Gdiplus::GpBitmap* image = nullptr;
    if (!gdiplus.Start() || gdip::GdipCreateBitmapFromFile(path.c_str(), &image) != Gdiplus::Ok)
        return {};
    HBITMAP raw = nullptr;
    gdip::GdipCreateHBITMAPFromBitmap(image, &raw, 0);
    gdip::GdipDisposeImage(image);
    fw::GdiBitmap bitmap(raw);
    return bitmap ? ReadPixels(bitmap.get()) : Picture{};
}

double MeanDifference(const Picture& a, const Picture& b) {
    if (a.empty() || a.width != b.width || a.height != b.height)
        return 255.0;
    double total = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i) {
        for (int shift = 0; shift < 24; shift += 8)
            total +=
                std::abs(int((a.pixels[i] >> shift) & 0xFF) - int((b.pixels[i] >> shift) & 0xFF));
    }
    return total / (3.0 * double(a.pixels.size()));
}
