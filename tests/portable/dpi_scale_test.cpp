#include "framework/dpi_scale.h"

#include "common/picture_dpi.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Points and rectangles of any type with the members (POINT and RECT in the
// window code).
struct Point {
    int x = 0;
    int y = 0;
};

struct Edges {
    long left = 0;
    long top = 0;
    long right = 0;
    long bottom = 0;
};

// One row per DPI the program is tried at: lengths at 96 DPI and what they
// come to there (halves away from zero, each edge of a rectangle alone).
struct DpiRow {
    unsigned dpi;
    int length, scaled;      // 62 px
    int odd, oddScaled;      // 31 px: a half at 144 DPI
    int negative, negScaled; // -3 px
    unsigned pictureDpi;     // the pictures drawn nearest to it
};

void PrintTo(const DpiRow& row, std::ostream* out) {
    *out << row.dpi << " DPI";
}

class DpiScale : public testing::TestWithParam<DpiRow> {};

TEST_P(DpiScale, LengthsPointsAndRectanglesScaleAndComeBack) {
    const DpiRow& row = GetParam();
    EXPECT_EQ(fw::Scale(row.length, row.dpi), row.scaled);
    EXPECT_EQ(fw::Scale(row.odd, row.dpi), row.oddScaled);
    EXPECT_EQ(fw::Scale(row.negative, row.dpi), row.negScaled);
    EXPECT_EQ(fw::Scale(-row.odd, row.dpi), -row.oddScaled);
    EXPECT_EQ(fw::Unscale(row.scaled, row.dpi), row.length);
    EXPECT_EQ(fw::Unscale(row.negScaled, row.dpi), row.negative);

    const Point back = fw::Unscale(fw::Scale(Point{row.length, row.negative}, row.dpi), row.dpi);
    EXPECT_EQ(back.x, row.length);
    EXPECT_EQ(back.y, row.negative);

    // Two rectangles edge to edge stay edge to edge.
    const Edges left = fw::Scale(Edges{0, 0, row.odd, row.length}, row.dpi);
    const Edges right = fw::Scale(Edges{row.odd, 0, row.odd + row.odd, row.length}, row.dpi);
    EXPECT_EQ(left.right, right.left);
    EXPECT_EQ(left.right, row.oddScaled);
    const Edges restored = fw::Unscale(left, row.dpi);
    EXPECT_EQ(restored.right, row.odd);
    EXPECT_EQ(restored.bottom, row.length);

    EXPECT_EQ(NearestPictureDpi(row.dpi), row.pictureDpi);
}

INSTANTIATE_TEST_SUITE_P(Dpi, DpiScale,
                         testing::Values(DpiRow{96, 62, 62, 31, 31, -3, -3, 96},
                                         DpiRow{120, 62, 78, 31, 39, -3, -4, 96},
                                         DpiRow{144, 62, 93, 31, 47, -3, -5, 144},
                                         DpiRow{192, 62, 124, 31, 62, -3, -6, 192}),
                         [](const auto& row) { return std::to_string(row.param.dpi); });

} // namespace
