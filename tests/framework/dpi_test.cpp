#include "framework/dpi.h"
#include "framework/picture.h"

#include "common/pictures.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

class DpiScaling : public testing::TestWithParam<UINT> {};

// The picture drawn for a DPI has the 96-DPI picture's size scaled there, and
// a scale with no pictures of its own falls back to the 96-DPI ones.
TEST_P(DpiScaling, PicturesComeAtTheScaleAsked) {
    const UINT pictureDpi = NearestPictureDpi(GetParam());
    const fw::GdiBitmap base = LoadPicture(IDB_TOOL_PEN, 96);
    const fw::GdiBitmap scaled = LoadPicture(IDB_TOOL_PEN, pictureDpi);
    ASSERT_TRUE(base);
    ASSERT_TRUE(scaled);
    const SIZE baseSize = fw::BitmapSize(base.get());
    const SIZE size = fw::BitmapSize(scaled.get());
    EXPECT_EQ(size.cx, fw::Scale(baseSize.cx, pictureDpi));
    EXPECT_EQ(size.cy, fw::Scale(baseSize.cy, pictureDpi));

    PictureCache cache;
    const fw::GdiBitmap first = cache.Get(IDB_TOOL_PEN, pictureDpi);
    const fw::GdiBitmap second = cache.Get(IDB_TOOL_PEN, pictureDpi);
    ASSERT_TRUE(first && second);
    EXPECT_NE(first.get(), second.get()) << "each caller owns a copy";
    EXPECT_EQ(fw::BitmapSize(second.get()).cx, size.cx);
    EXPECT_FALSE(LoadPicture(4242, pictureDpi)) << "no such picture";
}

INSTANTIATE_TEST_SUITE_P(Dpi, DpiScaling, testing::Values(96u, 120u, 144u, 192u),
                         [](const auto& row) { return std::to_string(row.param); });

TEST(Dpi, WindowsAndTheScreenAnswerTheSystemDpi) {
    HDC screen = ::GetDC(nullptr);
    const UINT logical = static_cast<UINT>(::GetDeviceCaps(screen, LOGPIXELSX));
    ::ReleaseDC(nullptr, screen);
    EXPECT_EQ(fw::DpiOf(nullptr), logical);
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                    nullptr, nullptr);
    ASSERT_TRUE(window);
    EXPECT_EQ(fw::DpiOf(window), logical);

    // WM_DPICHANGED: the window takes the rectangle it is given.
    const RECT suggested{20, 30, 220, 130};
    EXPECT_EQ(fw::OnDpiChanged(window, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested)),
              144u);
    RECT now{};
    ::GetWindowRect(window, &now);
    EXPECT_TRUE(::EqualRect(&now, &suggested));
    ::DestroyWindow(window);
}

} // namespace
