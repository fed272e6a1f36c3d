#include "app/main_layout.h"
#include "common/pictures.h"

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

namespace {

// The column's inputs as the window measures them at a DPI, its pictures
// drawn for pictureDpi, on a 1920 x 1080 screen.
MainLayoutInput InputAt(UINT dpi, UINT pictureDpi, int clientHeight) {
    auto atPicture = [pictureDpi](int cx, int cy) {
        return Size{fw::Scale(cx, pictureDpi), fw::Scale(cy, pictureDpi)};
    };
    MainLayoutInput in;
    in.client = {1920, clientHeight};
    in.screen = {1920, 1080};
    in.dpi = dpi;
    in.pictureDpi = pictureDpi;
    in.logo = atPicture(176, 48);
    in.toolsPicture = atPicture(177, 305);
    in.toolButton = atPicture(62, 62);
    in.undoRedoButton = atPicture(62, 31);
    in.palette = atPicture(177, 89);
    in.actualSizeButton = atPicture(84, 29);
    in.fitButton = atPicture(84, 29);
    // The submit panel follows its own DPI.
    in.submitPanel = {fw::Scale(177, NearestPictureDpi(dpi)),
                      fw::Scale(189, NearestPictureDpi(dpi))};
    in.horzScrollHeight = fw::Scale(17, dpi);
    in.vertScrollWidth = fw::Scale(17, dpi);
    return in;
}

struct ColumnRow {
    UINT dpi;
    int clientHeight;
    UINT pictureDpi; // chosen for the column
};

void PrintTo(const ColumnRow& row, std::ostream* out) {
    *out << row.dpi << " DPI";
}

class ColumnAtDpi : public testing::TestWithParam<ColumnRow> {};

// At every DPI the column is as wide as the DPI makes 200 px, its pictures
// are the largest that fit, and every control lies inside it on the offsets
// of the tools picture at the pictures' scale.
TEST_P(ColumnAtDpi, EveryControlFitsTheColumnOnThePicturesOffsets) {
    const ColumnRow& row = GetParam();
    const UINT chosen =
        ChooseColumnPictureDpi(InputAt(row.dpi, 96, row.clientHeight), NearestPictureDpi(row.dpi));
    EXPECT_EQ(chosen, row.pictureDpi);
    const MainLayoutInput in = InputAt(row.dpi, chosen, row.clientHeight);
    const MainLayout l = ComputeMainLayout(in);
    EXPECT_TRUE(l.columnFits);
    EXPECT_EQ(l.column.right - l.column.left, fw::Scale(200, row.dpi));
    EXPECT_EQ(l.status.bottom - l.status.top, fw::Scale(35, row.dpi));
    EXPECT_EQ(l.logo.top, fw::Scale(30, row.dpi));
    EXPECT_EQ(l.surface.right, l.vertScroll.left);
    EXPECT_EQ(l.vertScroll.right, l.column.left);

    const RECT* column[] = {&l.logo,    &l.toolsPicture, &l.pointer, &l.highlight, &l.text,
                            &l.arrow,   &l.crop,         &l.pen,     &l.undo,      &l.redo,
                            &l.palette, &l.actualSize,   &l.fit,     &l.submit};
    for (const RECT* r : column) {
        EXPECT_GE(r->left, l.column.left) << "control " << (r - &l.logo);
        EXPECT_LE(r->right, l.column.right);
        EXPECT_GE(r->top, 0);
        EXPECT_LE(r->bottom, l.column.bottom);
        EXPECT_TRUE(LiesOnScreen(*r, in.screen));
    }
    // The buttons keep the tools picture's offsets at the pictures' scale.
    EXPECT_EQ(l.pointer.left - l.toolsPicture.left, fw::Scale(18, chosen));
    EXPECT_EQ(l.pointer.top - l.toolsPicture.top, fw::Scale(40, chosen));
    EXPECT_EQ(l.text.top - l.pointer.bottom, fw::Scale(10, chosen));
    EXPECT_EQ(l.undo.top - l.crop.bottom, fw::Scale(14, chosen));
    EXPECT_EQ(l.highlight.left - l.pointer.right, fw::Scale(18, chosen));
    // Nothing in the column overlaps the next thing down.
    EXPECT_LE(l.logo.bottom, l.toolsPicture.top);
    EXPECT_LE(l.toolsPicture.bottom, l.palette.top);
    EXPECT_LE(l.palette.bottom, l.actualSize.top);
    EXPECT_LE(l.actualSize.right, l.fit.left);
    EXPECT_LE(l.fit.bottom, l.submit.top);
}

// 1080-pixel screens with the work area under a caption that grows with the
// DPI; at 192 DPI only the 96-DPI pictures leave room for the submit panel.
INSTANTIATE_TEST_SUITE_P(Dpi, ColumnAtDpi,
                         testing::Values(ColumnRow{96, 1040, 96}, ColumnRow{120, 1035, 96},
                                         ColumnRow{144, 1048, 144}, ColumnRow{192, 1020, 96}),
                         [](const auto& row) { return std::to_string(row.param.dpi); });

TEST(ColumnAtDpi, TooShortAWindowKeepsTheSmallestPictures) {
    EXPECT_EQ(ChooseColumnPictureDpi(InputAt(144, 96, 600), 144), 96u);
    EXPECT_FALSE(ComputeMainLayout(InputAt(96, 96, 600)).columnFits);
}

} // namespace
