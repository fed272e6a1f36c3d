#include "app/main_layout.h"
#include "common/picture_dpi.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

namespace {

void ExpectRect(const Rect& actual, int left, int top, int right, int bottom, const char* what) {
    EXPECT_EQ(actual.left, left) << what;
    EXPECT_EQ(actual.top, top) << what;
    EXPECT_EQ(actual.right, right) << what;
    EXPECT_EQ(actual.bottom, bottom) << what;
}

MainLayoutInput TypicalInput(int cw, int ch) {
    MainLayoutInput in;
    in.client = {cw, ch};
    in.logo = {160, 60};
    in.toolsPicture = {178, 300};
    in.toolButton = {62, 62};
    in.undoRedoButton = {62, 31};
    in.palette = {178, 90};
    in.actualSizeButton = {84, 29};
    in.fitButton = {84, 29};
    in.submitPanel = {178, 150};
    in.horzScrollBar.cy = 17;
    in.vertScrollBar.cx = 17;
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

// Too short for the column: the smallest gaps, then the logo's margin, then
// the logo's height; with less than half of the logo left it goes, and only
// then does the column scroll, beside its own bar, every part kept.
TEST(MainLayout, AShortClientShrinksTheGapsThenTheLogoThenScrolls) {
    struct Row {
        int clientHeight;
        int logoTop;
        int logoHeight; // 0: hidden
        bool scrolls;
    };
    // The parts below the logo need 300 + 90 + 29 + 150 = 569, the gaps
    // 4 x 2 and the margin 5: 582 without the logo.
    const Row rows[] = {
        {680, 30, 60, false}, // gaps of 4 still
        {660, 18, 60, false}, // the margin gives way
        {614, 2, 30, false},  // then the logo's height, shape kept
        {613, 0, 0, false},   // less than half of it: it goes
        {582, 0, 0, false},   // just fits without it
        {581, 0, 0, true},    // one pixel short: the column scrolls
    };
    for (const Row& row : rows) {
        MainLayoutInput in = TypicalInput(1280, row.clientHeight);
        in.columnScrollWidth = 17;
        const MainLayout l = ComputeMainLayout(in);
        const std::string where = "client height " + std::to_string(row.clientHeight);
        EXPECT_EQ(l.columnFits, row.clientHeight >= 680) << where;
        EXPECT_EQ(l.logo.bottom - l.logo.top, row.logoHeight) << where;
        if (row.logoHeight > 0) {
            EXPECT_EQ(l.logo.top, row.logoTop) << where;
            EXPECT_EQ((l.logo.right - l.logo.left) * 60, row.logoHeight * 160) << where;
        }
        EXPECT_EQ(l.columnScrolls, row.scrolls) << where;
        EXPECT_EQ(l.submit.bottom + 5 <= row.clientHeight, !row.scrolls) << where;
        EXPECT_EQ(l.columnScrollBar.IsEmpty(), !row.scrolls) << where;
    }
    // Scrolled to its end, the column shows its last part above the margin,
    // its parts clear of the bar.
    MainLayoutInput in = TypicalInput(1280, 500);
    in.columnScrollWidth = 17;
    in.columnScroll = 10000;
    const MainLayout l = ComputeMainLayout(in);
    ASSERT_TRUE(l.columnScrolls);
    EXPECT_EQ(l.columnScroll, l.columnContent - 500);
    EXPECT_EQ(l.submit.bottom, 500 - 5);
    ExpectRect(l.columnScrollBar, 1263, 0, 1280, 500, "column bar");
    EXPECT_LE(l.toolsPicture.right, l.columnScrollBar.left);
    EXPECT_LE(l.submit.right, l.columnScrollBar.left);
}

TEST(FitToWindow, WideAreaFillsTheHeightAndCentresHorizontally) {
    // Area 1720 x 700 is relatively wider than a 16:9 picture.
    const Rect vert{1703, 0, 1720, 683};
    const Rect horz{0, 683, 1720, 700};
    const Rect surface{0, 0, 1703, 683};
    const FitResult fit = ComputeFit(vert, horz, surface, {1920, 1080});
    // width = 700 * 1920 / 1080 = 1244, left = (1720 - 1244) / 2 = 238.
    ExpectRect(fit.surface, 238, 0, 238 + 1244, 700, "fitted surface");
    EXPECT_FLOAT_EQ(fit.zoomX, 1244.0f / 1920.0f);
    EXPECT_FLOAT_EQ(fit.zoomY, 700.0f / 1080.0f);
}

TEST(FitToWindow, TallAreaFillsTheWidthAndCentresVertically) {
    const Rect vert{1703, 0, 1720, 988};
    const Rect horz{0, 988, 1720, 1005};
    const Rect surface{0, 0, 1703, 988};
    const FitResult fit = ComputeFit(vert, horz, surface, {1920, 1080});
    // height = 1720 * 1080 / 1920 = 967, top = (1005 - 967) / 2 = 19.
    ExpectRect(fit.surface, 0, 19, 1720, 19 + 967, "fitted surface");
    EXPECT_FLOAT_EQ(fit.zoomX, 1720.0f / 1920.0f);
    EXPECT_FLOAT_EQ(fit.zoomY, 967.0f / 1080.0f);
}

TEST(FitToWindow, ActualSizeReachesTheInnerEdgesOfTheBars) {
    ExpectRect(ComputeActualSizeSurface(Rect{1703, 0, 1720, 988}, Rect{0, 988, 1720, 1005}), 0, 0,
               1703, 988, "surface");
}

} // namespace

namespace {

// The column's inputs as the window measures them at a DPI, its pictures
// (and panels) drawn for pictureDpi.
MainLayoutInput InputAt(unsigned dpi, unsigned pictureDpi, int clientHeight,
                        int clientWidth = 1920) {
    auto atPicture = [pictureDpi](int cx, int cy) {
        return Size{fw::Scale(cx, pictureDpi), fw::Scale(cy, pictureDpi)};
    };
    MainLayoutInput in;
    in.client = {clientWidth, clientHeight};
    in.dpi = dpi;
    in.pictureDpi = pictureDpi;
    in.logo = atPicture(176, 48);
    in.toolsPicture = atPicture(177, 305);
    in.toolButton = atPicture(62, 62);
    in.undoRedoButton = atPicture(62, 31);
    in.palette = atPicture(177, 89);
    in.actualSizeButton = atPicture(84, 29);
    in.fitButton = atPicture(84, 29);
    in.submitPanel = atPicture(177, 189);
    in.horzScrollBar.cy = fw::Scale(17, dpi);
    in.vertScrollBar.cx = fw::Scale(17, dpi);
    in.columnScrollWidth = fw::Scale(17, dpi);
    return in;
}

// The column's parts, in order down the column.
std::vector<const Rect*> ColumnParts(const MainLayout& l) {
    return {&l.logo, &l.toolsPicture, &l.pointer, &l.highlight, &l.text,       &l.arrow, &l.crop,
            &l.pen,  &l.undo,         &l.redo,    &l.palette,   &l.actualSize, &l.fit,   &l.submit};
}

bool Overlap(const Rect& a, const Rect& b) {
    return !a.IsEmpty() && !b.IsEmpty() && a.left < b.right && b.left < a.right &&
           a.top < b.bottom && b.top < a.bottom;
}

struct ColumnRow {
    unsigned dpi;
    int clientHeight;
    unsigned pictureDpi; // chosen for the column
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
    const unsigned chosen =
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

    for (const Rect* r : ColumnParts(l)) {
        EXPECT_GE(r->left, l.column.left) << "control " << (r - &l.logo);
        EXPECT_LE(r->right, l.column.right);
        EXPECT_GE(r->top, 0);
        EXPECT_LE(r->bottom, l.column.bottom);
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
// DPI. Where the drawn pictures leave no room the column takes the next
// smaller scale of them, every part of it at that one scale. Just above 120
// and 168 DPI the pictures drawn nearest are wider than the column: a
// smaller scale again, on a 1080-pixel screen and on a tall one.
INSTANTIATE_TEST_SUITE_P(Dpi, ColumnAtDpi,
                         testing::Values(ColumnRow{96, 1040, 96}, ColumnRow{120, 1035, 96},
                                         ColumnRow{121, 1040, 132}, ColumnRow{144, 1048, 138},
                                         ColumnRow{169, 2000, 186}, ColumnRow{192, 1020, 132}),
                         [](const auto& row) { return std::to_string(row.param.dpi); });

TEST(ColumnAtDpi, TooShortAWindowTakesTheSmallestPictures) {
    EXPECT_EQ(ChooseColumnPictureDpi(InputAt(144, 96, 600), 144), kSmallestColumnPictureDpi);
    EXPECT_FALSE(ComputeMainLayout(InputAt(96, 96, 600)).columnFits);
}

// Every work area from 800 x 600 up, at every DPI: every part of the column
// inside it and clear of the drawing side, none over another, and (when
// even the smallest layout is too tall and the column scrolls) each one
// brought into the window by scrolling to it.
TEST(ColumnAtDpi, EveryWorkAreaKeepsEveryCommandInReach) {
    const Size screens[] = {{800, 600}, {1024, 768}, {1280, 720}, {1366, 768}, {1920, 1080}};
    for (const Size screen : screens) {
        for (const int taskbar : {0, 40, 48, 60}) {
            for (const unsigned dpi : {96u, 120u, 144u, 192u}) {
                // A caption and frame as large as this DPI may make them.
                const int clientHeight = screen.cy - taskbar - fw::Scale(34, dpi);
                const int clientWidth = screen.cx - fw::Scale(8, dpi);
                const MainLayoutInput at96 = InputAt(dpi, 96, clientHeight, clientWidth);
                const unsigned chosen = ChooseColumnPictureDpi(at96, NearestPictureDpi(dpi));
                const MainLayoutInput in = AtPictureDpi(at96, chosen);
                const MainLayout l = ComputeMainLayout(in);
                const std::string where = std::to_string(screen.cx) + " x " +
                                          std::to_string(screen.cy) + " less " +
                                          std::to_string(taskbar) + " at " + std::to_string(dpi);
                const std::vector<const Rect*> parts = ColumnParts(l);
                for (size_t i = 0; i < parts.size(); ++i) {
                    const Rect& r = *parts[i];
                    if (i == 0 && r.IsEmpty())
                        continue; // the logo may give way
                    EXPECT_FALSE(r.IsEmpty()) << where << ": part " << i;
                    EXPECT_GE(r.left, l.column.left) << where << ": part " << i;
                    EXPECT_LE(r.right, l.columnScrolls ? l.columnScrollBar.left : l.column.right)
                        << where << ": part " << i;
                    for (const Rect* side : {&l.surface, &l.vertScroll, &l.horzScroll, &l.status})
                        EXPECT_FALSE(Overlap(r, *side)) << where << ": part " << i;
                    if (!l.columnScrolls) {
                        EXPECT_GE(r.top, 0) << where << ": part " << i;
                        EXPECT_LE(r.bottom, clientHeight) << where << ": part " << i;
                    } else {
                        MainLayoutInput scrolled = in;
                        scrolled.columnScroll = r.top;
                        const MainLayout there = ComputeMainLayout(scrolled);
                        const Rect seen = *ColumnParts(there)[i];
                        EXPECT_GE(seen.top, 0) << where << ": part " << i;
                        EXPECT_LE(seen.bottom, clientHeight) << where << ": part " << i;
                    }
                }
                // The buttons lie on the tools picture (their offsets are
                // checked above); the other parts on nothing else.
                const size_t alone[] = {0, 1, 10, 11, 12, 13};
                for (size_t a = 0; a < std::size(alone); ++a) {
                    for (size_t b = a + 1; b < std::size(alone); ++b)
                        EXPECT_FALSE(Overlap(*parts[alone[a]], *parts[alone[b]]))
                            << where << ": parts " << alone[a] << " and " << alone[b];
                }
            }
        }
    }
}

} // namespace
