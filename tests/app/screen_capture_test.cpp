#include "app/screen_capture.h"

#include "framework/handles.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Reads one pixel of a bitmap as 0x00RRGGBB.
std::vector<DWORD> ReadPixels(HBITMAP bitmap, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels(static_cast<size_t>(width) * height);
    fw::WindowDc screen(nullptr);
    ::GetDIBits(screen.get(), bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    return pixels;
}

LRESULT CALLBACK PatternProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        fw::PaintDc paint(window);
        RECT client;
        ::GetClientRect(window, &client);
        // Four quadrants of distinct colours.
        const COLORREF colours[4] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255),
                                     RGB(255, 255, 0)};
        const int w = client.right / 2;
        const int h = client.bottom / 2;
        for (int i = 0; i < 4; ++i) {
            fw::GdiBrush brush(::CreateSolidBrush(colours[i]));
            RECT quadrant{(i % 2) * w, (i / 2) * h, (i % 2) * w + w, (i / 2) * h + h};
            ::FillRect(paint.get(), &quadrant, brush.get());
        }
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

TEST(ScreenCapture, HoldsThePrimaryScreenWithWhatIsShownOnIt) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PatternProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"LumvexCapturePattern";
    ::RegisterClassW(&wc);
    // Away from the top-left corner, where Wine shows its tray window.
    HWND pattern = ::CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE,
                                     400, 300, 200, 100, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(pattern, nullptr);
    ::UpdateWindow(pattern);
    // Let the X server show the window before the copy.
    for (int i = 0; i < 20; ++i) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&msg);
        ::Sleep(25);
    }

    fw::GdiBitmap picture(CaptureScreen());
    ASSERT_TRUE(picture);
    BITMAP info{};
    ::GetObjectW(picture.get(), sizeof(info), &info);
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(info.bmWidth, width);
    EXPECT_EQ(info.bmHeight, height);
    // The canvas keeps a 32-bit top-down section as it is, without a copy.
    DIBSECTION section{};
    ASSERT_EQ(::GetObjectW(picture.get(), sizeof(section), &section), int{sizeof(section)});
    EXPECT_EQ(section.dsBm.bmBitsPixel, 32);

    const std::vector<DWORD> pixels = ReadPixels(picture.get(), width, height);
    auto at = [&](int x, int y) { return pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF; };
    EXPECT_EQ(at(450, 325), 0xFF0000u); // red, top-left quadrant
    EXPECT_EQ(at(550, 325), 0x00FF00u); // green
    EXPECT_EQ(at(450, 375), 0x0000FFu); // blue
    EXPECT_EQ(at(550, 375), 0xFFFF00u); // yellow
    EXPECT_EQ(at(400, 300), 0xFF0000u); // the window's very first pixel
    EXPECT_NE(at(399, 300), 0xFF0000u); // and just outside it
    ::DestroyWindow(pattern);
}

} // namespace
