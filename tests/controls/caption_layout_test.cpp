#include "controls/caption_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A caption 10 pixels wide per point.
int TenPerPoint(int pointSize) {
    return 10 * pointSize;
}

} // namespace

TEST(FitCaptionPointSize, KeepsTheStartSizeWhenTheCaptionFits) {
    // 90 + 4 < 100 - 4
    EXPECT_EQ(FitCaptionPointSize(9, 100, TenPerPoint), 9);
}

TEST(FitCaptionPointSize, ShrinksToTheLargestSizeThatFitsWithItsMargins) {
    // Window 92: the caption must be narrower than 84, so 9 points (90) is
    // too wide and 8 points (80) fits.
    EXPECT_EQ(FitCaptionPointSize(9, 92, TenPerPoint), 8);
    // Window 88: exactly 80 + 4 == 88 - 4 is not enough.
    EXPECT_EQ(FitCaptionPointSize(9, 88, TenPerPoint), 7);
}

TEST(FitCaptionPointSize, StopsAtOnePointAndMeasuresEverySizeOnTheWay) {
    std::vector<int> measured;
    const int size = FitCaptionPointSize(9, 10, [&](int pointSize) {
        measured.push_back(pointSize);
        return 1000;
    });
    EXPECT_EQ(size, 1);
    EXPECT_EQ(measured, (std::vector<int>{9, 8, 7, 6, 5, 4, 3, 2}));
}
