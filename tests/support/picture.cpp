#include "support/picture.h"

#include "support/message_pump.h"

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

// What a device context shows in the rectangle, copied with the raster
// operation.
Picture Copy(HDC source, const RECT& area, DWORD operation) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (!source || width <= 0 || height <= 0)
        return {};
    fw::MemoryDc memory(::CreateCompatibleDC(source));
    fw::GdiBitmap bitmap(::CreateCompatibleBitmap(source, width, height));
    if (!memory || !bitmap)
        return {};
    {
        fw::SelectionGuard select(memory.get(), bitmap.get());
        ::BitBlt(memory.get(), 0, 0, width, height, source, area.left, area.top, operation);
    }
    return ReadPixels(bitmap.get());
}

} // namespace

COLORREF Picture::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height)
        return CLR_INVALID;
    const std::uint32_t pixel = pixels[static_cast<size_t>(y) * width + x];
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
    BITMAPINFO info = fw::TopDownDibFormat(picture.width, picture.height);
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
    if (!::GetClientRect(window, &client))
        return {};
    // The window's own device context reads what was drawn on it, feedback
    // drawn straight to the screen included.
    const fw::WindowDc source(window);
    return Copy(source.get(), client, SRCCOPY);
}

Picture ScreenPicture(const RECT& screenRect) {
    const fw::WindowDc screen(nullptr);
    return Copy(screen.get(), screenRect, SRCCOPY | CAPTUREBLT);
}

COLORREF ScreenPixel(POINT screen) {
    return ScreenPicture(RECT{screen.x, screen.y, screen.x + 1, screen.y + 1}).At(0, 0);
}

COLORREF PixelAt(HWND window, int x, int y) {
    PumpMessages(80);
    POINT point{x, y};
    ::ClientToScreen(window, &point);
    return ScreenPixel(point);
}

bool ColorsClose(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

int DifferingPixels(const Picture& a, const Picture& b, int tolerance) {
    int count = 0;
    for (int y = 0; y < std::min(a.height, b.height); ++y) {
        for (int x = 0; x < std::min(a.width, b.width); ++x)
            count += ColorsClose(a.At(x, y), b.At(x, y), tolerance) ? 0 : 1;
    }
    return count;
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
    const BITMAPINFO info = fw::TopDownDibFormat(picture.width, picture.height);
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
    return SavePng(ScreenPicture(frame), path);
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
