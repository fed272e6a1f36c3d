// Item geometry without a window: hit tests, handles, moves and the
// image/view transform.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "canvas/arrow_item.h"
#include "canvas/crop_item.h"
#include "canvas/highlight_item.h"
#include "canvas/pen_item.h"
#include "canvas/view_transform.h"

namespace {

// GDI+ for the items' regions and matrices.
class ItemTest : public testing::Test {
protected:
    static void SetUpTestSuite() { session.Start(); }
    static void TearDownTestSuite() { session.Stop(); }

    // The base gesture without a panel: press, one move, release.
    template <typename Item> static void Span(Item& item, POINT from, POINT to) {
        item.OnLButtonDown(from, from);
        item.OnMouseMove(to, to);
        item.OnLButtonUp(to, to);
    }

    static gfx::GdiplusSession session;
};
gfx::GdiplusSession ItemTest::session;

TEST_F(ItemTest, ArrowBodyIsTheSevenPixelBandAroundTheLine) {
    CArrowItem arrow(nullptr);
    Span(arrow, {100, 100}, {300, 100});
    EXPECT_EQ(arrow.HitTest(200, 100), 0);
    EXPECT_EQ(arrow.HitTest(200, 103), 0);
    EXPECT_EQ(arrow.HitTest(200, 97), 0);
    EXPECT_EQ(arrow.HitTest(200, 105), -1);
    EXPECT_EQ(arrow.HitTest(200, 95), -1);

    CArrowItem diagonal(nullptr);
    Span(diagonal, {0, 0}, {200, 200});
    // 1.4 pixels from the line, then 5.7.
    EXPECT_EQ(diagonal.HitTest(101, 99), 0);
    EXPECT_EQ(diagonal.HitTest(104, 96), -1);
}

TEST_F(ItemTest, ArrowHitTestFollowsMovesAndHandleDrags) {
    CArrowItem arrow(nullptr);
    Span(arrow, {100, 100}, {300, 100});
    ASSERT_EQ(arrow.HitTest(200, 100), 0); // builds the cache
    arrow.Offset(0, 50, 0, 50);
    EXPECT_EQ(arrow.HitTest(200, 100), -1);
    EXPECT_EQ(arrow.HitTest(200, 150), 0);
    arrow.MoveHandle(100, 300, 100, 300, 2);
    EXPECT_EQ(arrow.HitTest(200, 150), -1);
    EXPECT_EQ(arrow.HitTest(100, 250), 0);
    EXPECT_EQ(arrow.GetHandleCursor(1), ::LoadCursorW(nullptr, IDC_SIZEWE));
}

template <typename Item> class FrameTest : public ItemTest {};
using FrameKinds = testing::Types<CCropItem, CHighlightItem>;
TYPED_TEST_SUITE(FrameTest, FrameKinds);

TYPED_TEST(FrameTest, OnlyTheTenPixelBandInsideTheBorderHits) {
    TypeParam item(nullptr);
    ItemTest::Span(item, {100, 100}, {300, 200});
    EXPECT_EQ(item.HitTest(100, 150), 0);
    EXPECT_EQ(item.HitTest(109, 150), 0);
    EXPECT_EQ(item.HitTest(110, 150), -1);
    EXPECT_EQ(item.HitTest(200, 150), -1) << "the middle";
    EXPECT_EQ(item.HitTest(290, 150), 0);
    EXPECT_EQ(item.HitTest(299, 195), 0);
    EXPECT_EQ(item.HitTest(300, 150), -1) << "right edge exclusive";
    EXPECT_EQ(item.HitTest(99, 150), -1);
}

TYPED_TEST(FrameTest, ANarrowRectangleIsAllBorder) {
    TypeParam item(nullptr);
    ItemTest::Span(item, {100, 100}, {120, 300});
    EXPECT_EQ(item.HitTest(110, 200), 0);
    EXPECT_EQ(item.HitTest(119, 200), 0);
    TypeParam flat(nullptr);
    ItemTest::Span(flat, {100, 100}, {400, 115});
    EXPECT_EQ(flat.HitTest(250, 107), 0);
}

TYPED_TEST(FrameTest, HandlesAreSevenPixelSquaresOnlyWhileSelected) {
    TypeParam item(nullptr);
    ItemTest::Span(item, {100, 100}, {300, 200});
    EXPECT_EQ(item.HitTest(300, 150), -1);
    item.SetSelected(true);
    // Handle 4 sits at (300, 150): x 297..303, y 147..153.
    EXPECT_EQ(item.HitTest(300, 150), 4);
    EXPECT_EQ(item.HitTest(297, 147), 4);
    EXPECT_EQ(item.HitTest(303, 153), 4);
    EXPECT_EQ(item.HitTest(304, 150), -1);
    EXPECT_EQ(item.HitTest(296, 150), 0) << "outside the square, on the band";
    // Handles come first even where the body is.
    EXPECT_EQ(item.HitTest(101, 101), 1);
    EXPECT_EQ(item.HitTest(200, 200), 6);
    const RECT square = item.GetHandleRect(2);
    EXPECT_EQ(square.left, 197);
    EXPECT_EQ(square.top, 97);
    EXPECT_EQ(square.right - square.left, 7);
    EXPECT_EQ(square.bottom - square.top, 7);
}

TYPED_TEST(FrameTest, HandleOneOfARectangleDrawnBackwardsMovesPointOne) {
    TypeParam item(nullptr);
    ItemTest::Span(item, {300, 200}, {100, 100}); // bottom-right to top-left
    item.SetSelected(true);
    ASSERT_EQ(item.HitTest(100, 100), 1);
    item.MoveHandle(150, 120, 150, 120, 1);
    // Point 1 was the bottom-right corner: the rectangle flips.
    EXPECT_EQ(item.GetPoint1().x, 150);
    EXPECT_EQ(item.GetPoint1().y, 120);
    EXPECT_EQ(item.GetPoint2().x, 100);
    EXPECT_EQ(item.GetPoint2().y, 100);
    const RECT r = item.GetImageRect();
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.right, 150);
    EXPECT_EQ(item.GetHandleCursor(1), ::LoadCursorW(nullptr, IDC_SIZENWSE));
    EXPECT_EQ(item.GetHandleCursor(9), nullptr);
}

TEST_F(ItemTest, EveryRectangleHandleMovesItsCoordinates) {
    struct Case {
        int handle;
        RECT expected; // from point 1 (100, 100), point 2 (300, 200), moved to (10, 20)
    };
    const Case cases[] = {
        {1, {10, 20, 300, 200}},  {2, {100, 20, 300, 200}}, {3, {100, 20, 10, 200}},
        {4, {100, 100, 10, 200}}, {5, {100, 100, 10, 20}},  {6, {100, 100, 300, 20}},
        {7, {10, 100, 300, 20}},  {8, {10, 100, 300, 200}},
    };
    for (const Case& c : cases) {
        CHighlightItem item(nullptr);
        Span(item, {100, 100}, {300, 200});
        item.MoveHandle(10, 20, 11, 21, c.handle);
        EXPECT_EQ(item.GetPoint1().x, c.expected.left) << "handle " << c.handle;
        EXPECT_EQ(item.GetPoint1().y, c.expected.top) << "handle " << c.handle;
        EXPECT_EQ(item.GetPoint2().x, c.expected.right) << "handle " << c.handle;
        EXPECT_EQ(item.GetPoint2().y, c.expected.bottom) << "handle " << c.handle;
    }
}

TEST_F(ItemTest, AClosedPenLoopIsHitInsideAndAStraightStrokeHardlyAnywhere) {
    CPenItem loop(nullptr);
    loop.OnLButtonDown({100, 100}, {100, 100});
    loop.OnMouseMove({200, 100}, {200, 100});
    loop.OnMouseMove({200, 200}, {200, 200});
    loop.OnMouseMove({100, 200}, {100, 200});
    loop.OnLButtonUp({100, 110}, {100, 110});
    EXPECT_EQ(loop.HitTest(150, 150), 0);
    EXPECT_EQ(loop.HitTest(250, 150), -1);

    loop.Offset(300, 0, 300, 0);
    EXPECT_EQ(loop.HitTest(150, 150), -1) << "the cache follows the move";
    EXPECT_EQ(loop.HitTest(450, 150), 0);
    EXPECT_EQ(loop.GetPoints().front().x, 400);

    CPenItem line(nullptr);
    line.OnLButtonDown({0, 50}, {0, 50});
    line.OnMouseMove({100, 50}, {100, 50});
    line.OnLButtonUp({200, 50}, {200, 50});
    EXPECT_EQ(line.HitTest(100, 52), -1);
}

TEST_F(ItemTest, PenHandlesAreTheFirstAndLastDraggedPointsAndCannotBeDragged) {
    CPenItem pen(nullptr);
    pen.OnLButtonDown({10, 10}, {10, 10});
    pen.OnMouseMove({50, 60}, {50, 60});
    pen.OnLButtonUp({70, 80}, {70, 80});
    pen.SetSelected(true);
    EXPECT_EQ(pen.HitTest(10, 10), 1);
    EXPECT_EQ(pen.HitTest(50, 60), 2) << "point 2 is where the mouse last moved";
    EXPECT_EQ(pen.GetHandleCursor(1), nullptr);
    pen.MoveHandle(0, 0, 0, 0, 1);
    EXPECT_EQ(pen.GetPoint1().x, 10);
}

struct TransformCase {
    float zoomX, zoomY;
    int offsetX, offsetY;
};

void PrintTo(const TransformCase& c, std::ostream* out) {
    *out << "zoom " << c.zoomX << " x " << c.zoomY << ", offset " << c.offsetX << ", " << c.offsetY;
}

class TransformTest : public ItemTest, public testing::WithParamInterface<TransformCase> {};

TEST_P(TransformTest, ImageAndViewPointsRoundTrip) {
    const TransformCase& c = GetParam();
    const CViewTransform transform(c.zoomX, c.zoomY, c.offsetX, c.offsetY);
    for (POINT image : {POINT{0, 0}, POINT{1, 1}, POINT{137, 59}, POINT{1919, 1079}}) {
        const POINT view = transform.ToView(image);
        EXPECT_NEAR(view.x, image.x * c.zoomX - c.offsetX, 0.5);
        EXPECT_NEAR(view.y, image.y * c.zoomY - c.offsetY, 0.5);
        const POINT back = transform.ToImage(view);
        // Exact where the view is finer than the image, within a view
        // pixel's worth otherwise.
        EXPECT_NEAR(back.x, image.x, c.zoomX >= 1 ? 0 : 0.5 / c.zoomX + 0.5);
        EXPECT_NEAR(back.y, image.y, c.zoomY >= 1 ? 0 : 0.5 / c.zoomY + 0.5);
    }
    for (POINT view : {POINT{0, 0}, POINT{-5, 3}, POINT{640, 480}}) {
        const POINT image = transform.ToImage(view);
        const POINT back = transform.ToView(image);
        EXPECT_NEAR(back.x, view.x, c.zoomX <= 1 ? 0 : 0.5 * c.zoomX + 0.5);
        EXPECT_NEAR(back.y, view.y, c.zoomY <= 1 ? 0 : 0.5 * c.zoomY + 0.5);
    }
}

std::string ZoomName(const testing::TestParamInfo<TransformCase>& param) {
    const char* names[] = {"Half", "HalfScrolled", "Uneven", "UnevenScrolled"};
    return names[param.index];
}

INSTANTIATE_TEST_SUITE_P(Zooms, TransformTest,
                         testing::Values(TransformCase{0.5f, 0.5f, 0, 0},
                                         TransformCase{0.5f, 0.5f, 250, -40},
                                         TransformCase{1.37f, 0.81f, 0, 0},
                                         TransformCase{1.37f, 0.81f, 250, -40}),
                         ZoomName);

} // namespace
