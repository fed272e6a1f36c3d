#include "common/scroll_axis.h"

#include <gtest/gtest.h>

namespace {

// A 2000-pixel picture seen through a 400-pixel page: a line is 20 pixels,
// the last position 1600.
constexpr ScrollAxis kAxis{2000, 400, 500};

struct CodeRow {
    int code;
    int start;
    int track;
    int expected;
};

TEST(ScrollAxis, EveryScrollBarCodeMovesWithinThePicture) {
    const CodeRow rows[] = {
        {SB_LINEDOWN, 500, 0, 520},
        {SB_LINEUP, 500, 0, 480},
        {SB_LINEUP, 10, 0, 0},
        {SB_LINEDOWN, 1590, 0, 1600},
        {SB_PAGEDOWN, 500, 0, 900},
        {SB_PAGEUP, 500, 0, 100},
        {SB_PAGEDOWN, 1500, 0, 1600},
        {SB_PAGEUP, 300, 0, 0},
        {SB_THUMBTRACK, 500, 1234, 1234},
        {SB_THUMBPOSITION, 500, 777, 777},
        {SB_THUMBTRACK, 500, 70000, 1600},
        {SB_THUMBPOSITION, 500, -5, 0},
        {SB_TOP, 500, 0, 0},
        {SB_BOTTOM, 500, 0, 1600},
        {SB_ENDSCROLL, 500, 0, 500},
        {SB_ENDSCROLL, 5000, 0, 1600},
    };
    for (const CodeRow& row : rows) {
        ScrollAxis axis = kAxis;
        axis.position = row.start;
        EXPECT_EQ(axis.AfterScrollCode(row.code, row.track), row.expected)
            << "code " << row.code << " from " << row.start;
    }
}

TEST(ScrollAxis, TheWheelMovesLinesPerNotchTowardsTheStartWhenTurnedAway) {
    struct WheelRow {
        int delta;
        UINT lines;
        int expected;
    };
    const WheelRow rows[] = {
        {WHEEL_DELTA, 3, 440},      // away from the user: 3 lines up
        {-WHEEL_DELTA, 3, 560},     // towards: 3 lines down
        {-2 * WHEEL_DELTA, 3, 620}, // two notches
        {-WHEEL_DELTA / 4, 3, 515}, // a precise wheel's quarter notch
        {-WHEEL_DELTA, WHEEL_PAGESCROLL, 900},
        {WHEEL_DELTA * 100, 3, 0},     // never before the start
        {-WHEEL_DELTA * 100, 3, 1600}, // nor past the end
        {-WHEEL_DELTA, 0, 500},        // the user turned wheel scrolling off
    };
    for (const WheelRow& row : rows)
        EXPECT_EQ(kAxis.AfterWheel(row.delta, row.lines), row.expected)
            << "delta " << row.delta << ", " << row.lines << " lines";
}

TEST(ScrollAxis, APictureSmallerThanThePageDoesNotScroll) {
    const ScrollAxis small{300, 400, 0};
    EXPECT_EQ(small.MaxPosition(), 0);
    EXPECT_EQ(small.AfterScrollCode(SB_PAGEDOWN, 0), 0);
    EXPECT_EQ(small.AfterWheel(-WHEEL_DELTA, 3), 0);
    EXPECT_EQ(small.Clamp(50), 0);
    // A page of nothing (a window not laid out yet) still moves a pixel.
    EXPECT_EQ((ScrollAxis{100, 0, 0}.AfterScrollCode(SB_LINEDOWN, 0)), 1);
}

TEST(ScrollAxis, TheBarShowsThePictureThePageAndTheClampedPosition) {
    ScrollAxis axis = kAxis;
    axis.position = 1900;
    const SCROLLINFO info = axis.ToScrollInfo();
    EXPECT_EQ(info.nMin, 0);
    EXPECT_EQ(info.nMax, 1999);
    EXPECT_EQ(info.nPage, 400u);
    EXPECT_EQ(info.nPos, 1600);
    // The bar's own limit, nMax - nPage + 1, is the axis's last position.
    EXPECT_EQ(info.nMax - static_cast<int>(info.nPage) + 1, axis.MaxPosition());
}

} // namespace
