// Pictures in tests: read what a bitmap or a window holds, compare colours,
// and save a PNG file to look at.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// 32-bit pixels, top row first, each 0x00RRGGBB.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    bool empty() const noexcept { return pixels.empty(); }
    // The pixel as a Windows colour value (0x00BBGGRR); CLR_INVALID outside
    // the picture.
    COLORREF At(int x, int y) const;
    // How many pixels of the rectangle (clipped to the picture) are within
    // tolerance of the colour.
    int Count(COLORREF color, int tolerance = 0) const;
    int Count(COLORREF color, int tolerance, const RECT& area) const;
};

// The pixels of a bitmap; empty when it cannot be read. The bitmap must not
// be selected into a device context.
Picture ReadPixels(HBITMAP bitmap);

// Decodes an image file (JPEG, PNG, BMP) through GDI+; empty on failure.
Picture ReadImageFile(const std::wstring& path);

// The mean absolute difference per colour channel, 0 to 255; 255 when the
// sizes differ or a picture is empty.
double MeanDifference(const Picture& a, const Picture& b);

// The client area of a window as the screen shows it (the window must be
// visible and painted: pump messages or UpdateWindow first).
Picture CaptureClient(HWND window);
// A rectangle of the screen, layered windows included.
Picture ScreenPicture(const RECT& screenRect);
// The colour the screen shows at a point.
COLORREF ScreenPixel(POINT screen);
// The colour the screen shows at a point of a window's client area, after
// pending painting.
COLORREF PixelAt(HWND window, int x, int y);

// Every channel of the two colours differs by at most tolerance.
bool ColorsClose(COLORREF a, COLORREF b, int tolerance = 0);
// How many pixels of the area both pictures cover (from the top left) are
// not close in colour.
int DifferingPixels(const Picture& a, const Picture& b, int tolerance = 0);

// Saves through the GDI+ PNG encoder; false on failure.
bool SavePng(HBITMAP bitmap, const std::wstring& path);
bool SavePng(const Picture& picture, const std::wstring& path);
bool SaveClientPng(HWND window, const std::wstring& path);
// The whole window, frame included, as the screen shows it.
bool SaveWindowPng(HWND window, const std::wstring& path);

// Whether the window, painted now, shows this program's bitmap resource at
// the top left of its client area, pixel for pixel (a focus cue, which
// inverts the pixels under it, aside).
bool ShowsBitmap(HWND window, UINT bitmapId);

// The picture as a JPEG file's bytes (GDI+'s encoder); empty on failure.
std::string EncodeJpeg(const Picture& picture);
