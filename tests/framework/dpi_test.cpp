#include "framework/dpi.h"
#include "framework/picture.h"

#include "common/pictures.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

// One row per DPI the program is tried at: lengths at 96 DPI and what they
// come to there (halves away from zero, each edge of a rectangle alone).
struct DpiRow {
    UINT dpi;
    int length, scaled;      // 62 px
    int odd, oddScaled;      // 31 px: a half at 144 DPI
    int negative, negScaled; // -3 px
    UINT pictureDpi;         // the pictures drawn nearest to it
};

void PrintTo(const DpiRow& row, std::ostream* out) {
    *out << row.dpi << " DPI";
}

class DpiScaling : public testing::TestWithParam<DpiRow> {};

TEST_P(DpiScaling, LengthsPointsAndRectanglesScaleAndComeBack) {
    const DpiRow& row = GetParam();
    EXPECT_EQ(fw::Scale(row.length, row.dpi), row.scaled);
    EXPECT_EQ(fw::Scale(row.odd, row.dpi), row.oddScaled);
    EXPECT_EQ(fw::Scale(row.negative, row.dpi), row.negScaled);
    EXPECT_EQ(fw::Unscale(row.scaled, row.dpi), row.length);
    EXPECT_EQ(fw::Unscale(row.negScaled, row.dpi), row.negative);

    const POINT back = fw::Unscale(fw::Scale(POINT{row.length, row.negative}, row.dpi), row.dpi);
    EXPECT_EQ(back.x, row.length);
    EXPECT_EQ(back.y, row.negative);

    // Two rectangles edge to edge stay edge to edge.
    const RECT left = fw::Scale(RECT{0, 0, row.odd, row.length}, row.dpi);
    const RECT right = fw::Scale(RECT{row.odd, 0, row.odd + row.odd, row.length}, row.dpi);
    EXPECT_EQ(left.right, right.left);
    EXPECT_EQ(left.right, row.oddScaled);
    const RECT restored = fw::Unscale(left, row.dpi);
    EXPECT_EQ(restored.right, row.odd);
    EXPECT_EQ(restored.bottom, row.length);

    EXPECT_EQ(NearestPictureDpi(row.dpi), row.pictureDpi);
}

// The picture drawn for a DPI has the 96-DPI picture's size scaled there, and
// a scale with no pictures of its own falls back to the 96-DPI ones.
TEST_P(DpiScaling, PicturesComeAtTheScaleAsked) {
    const DpiRow& row = GetParam();
    const fw::GdiBitmap base = LoadPicture(IDB_TOOL_PEN, 96);
    const fw::GdiBitmap scaled = LoadPicture(IDB_TOOL_PEN, row.pictureDpi);
    ASSERT_TRUE(base);
    ASSERT_TRUE(scaled);
    const SIZE baseSize = fw::BitmapSize(base.get());
    const SIZE size = fw::BitmapSize(scaled.get());
    EXPECT_EQ(size.cx, fw::Scale(baseSize.cx, row.pictureDpi));
    EXPECT_EQ(size.cy, fw::Scale(baseSize.cy, row.pictureDpi));

    PictureCache cache;
    const fw::GdiBitmap first = cache.Get(IDB_TOOL_PEN, row.pictureDpi);
    const fw::GdiBitmap second = cache.Get(IDB_TOOL_PEN, row.pictureDpi);
    ASSERT_TRUE(first && second);
    EXPECT_NE(first.get(), second.get()) << "each caller owns a copy";
    EXPECT_EQ(fw::BitmapSize(second.get()).cx, size.cx);
    EXPECT_FALSE(LoadPicture(4242, row.pictureDpi)) << "no such picture";
}

INSTANTIATE_TEST_SUITE_P(Dpi, DpiScaling,
                         testing::Values(DpiRow{96, 62, 62, 31, 31, -3, -3, 96},
                                         DpiRow{120, 62, 78, 31, 39, -3, -4, 96},
                                         DpiRow{144, 62, 93, 31, 47, -3, -5, 144},
                                         DpiRow{192, 62, 124, 31, 62, -3, -6, 192}),
                         [](const auto& row) { return std::to_string(row.param.dpi); });

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
