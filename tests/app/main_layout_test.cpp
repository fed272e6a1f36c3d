#include "app/main_layout.h"

#include <gtest/gtest.h>

namespace {

void ExpectRect(const RECT& actual, LONG left, LONG top, LONG right, LONG bottom,
                const char* what) {
    EXPECT_EQ(actual.left, left) << what;
    EXPECT_EQ(actual.top, top) << what;
    EXPECT_EQ(actual.right, right) << what;
    EXPECT_EQ(actual.bottom, bottom) << what;
}

MainLayoutInput TypicalInput(int cw, int ch) {
    MainLayoutInput in;
    in.client = {cw, ch};
    in.screen = {1920, 1080};
    in.logo = {160, 60};
    in.toolsPicture = {178, 300};
    in.toolButton = {62, 62};
    in.undoRedoButton = {62, 31};
    in.palette = {178, 90};
    in.actualSizeButton = {84, 29};
    in.fitButton = {84, 29};
    in.submitPanel = {178, 150};
    in.horzScrollHeight = 17;
    in.vertScrollWidth = 17;
    return in;
}

// Expected rectangles worked out by hand from the layout rules.
TEST(MainLayout, LargeClientSpreadsTheFreeHeightOverFourGaps) {
    const MainLayout l = ComputeMainLayout(TypicalInput(1920, 1040));
    ExpectRect(l.column, 1720, 0, 1920, 1040, "column");
    ExpectRect(l.logo, 1740, 30, 1900, 90, "logo");
    ExpectRect(l.status, 0, 1005, 1720, 1040, "status");
    ExpectRect(l.statusBar, 0, 0, 1720, 35, "status bar in its frame");
    ExpectRect(l.horzScroll, 0, 988, 1720, 1005, "horizontal bar");
    ExpectRect(l.vertScroll, 1703, 0, 1720, 988, "vertical bar");
    ExpectRect(l.surface, 0, 0, 1703, 988, "surface");
    // free = 1040 - 5 - 90 - 300 - 90 - 29 - 150 = 376: gaps of 94, zoom gap 5.
    ExpectRect(l.toolsPicture, 1731, 184, 1909, 484, "tools picture");
    ExpectRect(l.pointer, 1749, 224, 1811, 286, "pointer");
    ExpectRect(l.highlight, 1829, 224, 1891, 286, "highlight");
    ExpectRect(l.text, 1749, 296, 1811, 358, "text");
    ExpectRect(l.arrow, 1829, 296, 1891, 358, "arrow");
    ExpectRect(l.crop, 1749, 368, 1811, 430, "crop");
    ExpectRect(l.pen, 1829, 368, 1891, 430, "pen");
    ExpectRect(l.undo, 1749, 444, 1811, 475, "undo");
    ExpectRect(l.redo, 1829, 444, 1891, 475, "redo");
    ExpectRect(l.palette, 1731, 578, 1909, 668, "palette");
    ExpectRect(l.actualSize, 1734, 673, 1818, 702, "actual size");
    ExpectRect(l.fit, 1821, 673, 1905, 702, "fit");
    ExpectRect(l.submit, 1731, 796, 1909, 946, "submit");
}

TEST(MainLayout, SmallClientKeepsOffsetsAndShrinksGaps) {
    const MainLayout l = ComputeMainLayout(TypicalInput(1280, 680));
    ExpectRect(l.column, 1080, 0, 1280, 680, "column");
    ExpectRect(l.logo, 1100, 30, 1260, 90, "logo");
    ExpectRect(l.status, 0, 645, 1080, 680, "status");
    ExpectRect(l.statusBar, 0, 0, 1080, 35, "status bar in its frame");
    ExpectRect(l.horzScroll, 0, 628, 1080, 645, "horizontal bar");
    ExpectRect(l.vertScroll, 1063, 0, 1080, 628, "vertical bar");
    ExpectRect(l.surface, 0, 0, 1063, 628, "surface");
    // free = 16: gaps of 4, and the zoom gap is the smaller of 4 and 5.
    ExpectRect(l.toolsPicture, 1091, 94, 1269, 394, "tools picture");
    ExpectRect(l.pointer, 1109, 134, 1171, 196, "pointer");
    ExpectRect(l.pen, 1189, 278, 1251, 340, "pen");
    ExpectRect(l.redo, 1189, 354, 1251, 385, "redo");
    ExpectRect(l.palette, 1091, 398, 1269, 488, "palette");
    ExpectRect(l.actualSize, 1094, 492, 1178, 521, "actual size");
    ExpectRect(l.fit, 1181, 492, 1265, 521, "fit");
    ExpectRect(l.submit, 1091, 525, 1269, 675, "submit");
}

TEST(MainLayout, NegativeFreeHeightUsesGapsOfOne) {
    const MainLayout l = ComputeMainLayout(TypicalInput(1280, 600));
    EXPECT_EQ(l.toolsPicture.top, 91);
    EXPECT_EQ(l.palette.top, l.toolsPicture.bottom + 1);
    EXPECT_EQ(l.actualSize.top, l.palette.bottom + 1);
    EXPECT_EQ(l.submit.top, l.actualSize.bottom + 1);
    // The submit panel now reaches below a 600-pixel screen and stays put.
    EXPECT_FALSE(LiesOnScreen(l.submit, {1280, 600}));
    EXPECT_TRUE(LiesOnScreen(l.palette, {1280, 600}));
}

TEST(MainLayout, ScreenTestIncludesTheEdges) {
    EXPECT_TRUE(LiesOnScreen(RECT{0, 0, 1920, 1080}, {1920, 1080}));
    EXPECT_FALSE(LiesOnScreen(RECT{-1, 0, 10, 10}, {1920, 1080}));
    EXPECT_FALSE(LiesOnScreen(RECT{0, 0, 1921, 10}, {1920, 1080}));
    EXPECT_FALSE(LiesOnScreen(RECT{0, 1075, 10, 1081}, {1920, 1080}));
}

TEST(FitToWindow, WideAreaFillsTheHeightAndCentresHorizontally) {
    // Area 1720 x 700 is relatively wider than a 16:9 picture.
    const RECT vert{1703, 0, 1720, 683};
    const RECT horz{0, 683, 1720, 700};
    const RECT surface{0, 0, 1703, 683};
    const FitResult fit = ComputeFit(vert, horz, surface, {1920, 1080});
    // width = 700 * 1920 / 1080 = 1244, left = (1720 - 1244) / 2 = 238.
    ExpectRect(fit.surface, 238, 0, 238 + 1244, 700, "fitted surface");
    EXPECT_FLOAT_EQ(fit.zoomX, 1244.0f / 1920.0f);
    EXPECT_FLOAT_EQ(fit.zoomY, 700.0f / 1080.0f);
}

TEST(FitToWindow, TallAreaFillsTheWidthAndCentresVertically) {
    const RECT vert{1703, 0, 1720, 988};
    const RECT horz{0, 988, 1720, 1005};
    const RECT surface{0, 0, 1703, 988};
    const FitResult fit = ComputeFit(vert, horz, surface, {1920, 1080});
    // height = 1720 * 1080 / 1920 = 967, top = (1005 - 967) / 2 = 19.
    ExpectRect(fit.surface, 0, 19, 1720, 19 + 967, "fitted surface");
    EXPECT_FLOAT_EQ(fit.zoomX, 1720.0f / 1920.0f);
    EXPECT_FLOAT_EQ(fit.zoomY, 967.0f / 1080.0f);
}

TEST(FitToWindow, ActualSizeReachesTheInnerEdgesOfTheBars) {
    ExpectRect(ComputeActualSizeSurface(RECT{1703, 0, 1720, 988}, RECT{0, 988, 1720, 1005}), 0, 0,
               1703, 988, "surface");
}

} // namespace
