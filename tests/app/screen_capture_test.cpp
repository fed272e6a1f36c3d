#include "app/screen_capture.h"

#include "framework/handles.h"
#include "support/message_pump.h"
#include "support/picture.h"

#include <gtest/gtest.h>

namespace {

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
    PumpMessages(500);

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

    const Picture pixels = ReadPixels(picture.get());
    EXPECT_EQ(pixels.At(450, 325), RGB(255, 0, 0));   // red, top-left quadrant
    EXPECT_EQ(pixels.At(550, 325), RGB(0, 255, 0));   // green
    EXPECT_EQ(pixels.At(450, 375), RGB(0, 0, 255));   // blue
    EXPECT_EQ(pixels.At(550, 375), RGB(255, 255, 0)); // yellow
    EXPECT_EQ(pixels.At(400, 300), RGB(255, 0, 0));   // the window's very first pixel
    EXPECT_NE(pixels.At(399, 300), RGB(255, 0, 0));   // and just outside it
    ::DestroyWindow(pattern);
}

} // namespace
