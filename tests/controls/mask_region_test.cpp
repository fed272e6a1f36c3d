#include "controls/mask_region.h"

#include "support/test_window.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr std::uint32_t K = 0x00FF00FF; // key (magenta)
constexpr std::uint32_t B = 0x00000000; // black: inside the shape

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

} // namespace

TEST(MaskRuns, OneRectanglePerRunAndRowIncludingRunsAtTheRightEdge) {
    // clang-format off
    const std::vector<std::uint32_t> pixels{
        K, B, B, K, B,   // two runs, the second reaches the right edge
        B, B, B, B, B,   // a full row does not continue into the next one
        K, K, K, K, K,   // nothing
        B, K, K, K, K,   // a run at the left edge
    };
    // clang-format on
    const std::vector<RECT> runs = MaskRuns(pixels.data(), 5, 4);
    const std::vector<RECT> expected{{1, 0, 3, 1}, {4, 0, 5, 1}, {0, 1, 5, 2}, {0, 3, 1, 4}};
    ASSERT_EQ(runs.size(), expected.size());
    for (size_t i = 0; i < runs.size(); ++i)
        EXPECT_TRUE(SameRect(runs[i], expected[i])) << "run " << i;
}

TEST(MaskRuns, IgnoresTheTopByteAndTreatsNearMagentaAsInside) {
    const std::vector<std::uint32_t> pixels{0xFFFF00FF, 0x00FE00FF, 0x00FF01FF};
    const std::vector<RECT> runs = MaskRuns(pixels.data(), 3, 1);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_TRUE(SameRect(runs[0], RECT{1, 0, 3, 1}));
}

TEST(RegionFromMask, ContainsNonMagentaPixelsOnly) {
    // A 40 x 30 mask: magenta 8 x 8 corners and a magenta hole in the middle.
    fw::GdiBitmap mask = MakeBitmap(40, 30, [](int x, int y) -> COLORREF {
        const bool corner = (x < 8 || x >= 32) && (y < 8 || y >= 22);
        const bool hole = x >= 18 && x < 22 && y >= 13 && y < 17;
        return corner || hole ? kMaskKeyColor : RGB(0, 0, 0);
    });
    ASSERT_TRUE(mask);
    fw::GdiRegion region = RegionFromMask(mask.get());
    ASSERT_TRUE(region);
    EXPECT_FALSE(PtInRegion(region.get(), 0, 0));
    EXPECT_FALSE(PtInRegion(region.get(), 7, 7));
    EXPECT_TRUE(PtInRegion(region.get(), 8, 7));
    EXPECT_FALSE(PtInRegion(region.get(), 39, 29));
    EXPECT_TRUE(PtInRegion(region.get(), 39, 10));
    EXPECT_FALSE(PtInRegion(region.get(), 20, 15));
    EXPECT_TRUE(PtInRegion(region.get(), 17, 15));
    RECT box{};
    EXPECT_EQ(GetRgnBox(region.get(), &box), COMPLEXREGION);
    EXPECT_TRUE(SameRect(box, RECT{0, 0, 40, 30}));
}

TEST(RegionFromMask, AllMagentaGivesAnEmptyRegionAndNoBitmapGivesNone) {
    fw::GdiBitmap mask = MakeBitmap(5, 5, [](int, int) { return kMaskKeyColor; });
    fw::GdiRegion region = RegionFromMask(mask.get());
    ASSERT_TRUE(region);
    RECT box{};
    EXPECT_EQ(GetRgnBox(region.get(), &box), NULLREGION);
    EXPECT_FALSE(RegionFromMask(nullptr));
}
