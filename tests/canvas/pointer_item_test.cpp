// The pointer tool driven through the drawing surface: selecting, moving and
// resizing items, older crops, double clicks, the hover cursor and what a
// move repaints.
#include <gtest/gtest.h>

#include <memory>

#include "canvas/arrow_item_factory.h"
#include "canvas/crop_item_factory.h"
#include "canvas/highlight_item.h"
#include "canvas/highlight_item_factory.h"
#include "canvas/pen_item_factory.h"
#include "canvas/pointer_item_factory.h"
#include "canvas_harness.h"

using namespace canvas_test;

namespace {

// A frame that counts the calls to open its editor.
class EditableFrame : public CHighlightItem {
public:
    using CHighlightItem::CHighlightItem;
    void BeginEdit() override { ++edits; }
    int edits = 0;
};

class PointerTest : public testing::Test {
protected:
    void SetUp() override { canvas.Panel().SetBitmap(MakePicture(800, 600, RGB(90, 120, 150))); }

    CCanvasPanel& panel() { return canvas.Panel(); }
    CCanvasItem* Item(std::size_t i) { return panel().GetItems().at(i).get(); }
    template <typename Tool> CCanvasItem* Draw(POINT from, POINT to) {
        canvas.SelectTool<Tool>();
        canvas.Drag(from.x, from.y, to.x, to.y);
        return panel().GetItems().back().get();
    }
    // A closed square stroke from its top-left corner, clockwise.
    CCanvasItem* DrawLoop(POINT corner, int size) {
        canvas.SelectTool<CPenItemFactory>();
        canvas.Press(corner.x, corner.y);
        canvas.Move(corner.x + size, corner.y);
        canvas.Move(corner.x + size, corner.y + size);
        canvas.Move(corner.x, corner.y + size);
        canvas.Release(corner.x, corner.y + 10);
        return panel().GetItems().back().get();
    }
    static RECT Rect(LONG l, LONG t, LONG r, LONG b) { return RECT{l, t, r, b}; }

    CanvasHarness canvas;
};

bool operator==(const RECT& a, const RECT& b) {
    return ::EqualRect(&a, &b) != FALSE;
}

TEST_F(PointerTest, APressSelectsTheBottomMostItemUnderItAndADragMovesIt) {
    CCanvasItem* frame = Draw<CHighlightItemFactory>({100, 100}, {300, 200});
    CCanvasItem* arrow = Draw<CArrowItemFactory>({100, 150}, {300, 150}); // across the frame
    CCanvasItem* pen = Draw<CPenItemFactory>({400, 100}, {500, 100});
    CCanvasItem* loop = DrawLoop({400, 300}, 100);
    CCanvasItem* crop = Draw<CCropItemFactory>({600, 50}, {780, 250});
    canvas.SelectTool<CPointerItemFactory>();

    // Where the frame and the arrow overlap, the frame (drawn below) wins.
    canvas.Drag(105, 150, 125, 160);
    EXPECT_EQ(panel().GetSelectedItem(), frame);
    EXPECT_TRUE(frame->IsSelected());
    EXPECT_FALSE(crop->IsSelected());
    EXPECT_TRUE(frame->GetImageRect() == Rect(120, 110, 320, 210));
    EXPECT_EQ(arrow->GetPoint1().x, 100) << "only the selected item moves";

    canvas.Drag(200, 150, 210, 170); // the middle of the arrow: the frame's inside is not its body
    EXPECT_EQ(panel().GetSelectedItem(), arrow);
    EXPECT_EQ(arrow->GetPoint1().x, 110);
    EXPECT_EQ(arrow->GetPoint2().y, 170);
    EXPECT_EQ(arrow->GetViewPoint2().y, 170);

    canvas.Drag(450, 350, 460, 340); // inside the closed stroke
    EXPECT_EQ(panel().GetSelectedItem(), loop);
    EXPECT_EQ(loop->GetPoint1().x, 410);
    EXPECT_EQ(pen->GetPoint1().x, 400);

    canvas.Drag(605, 100, 585, 110); // the active crop's band
    EXPECT_EQ(panel().GetSelectedItem(), crop);
    EXPECT_TRUE(panel().GetActiveCrop()->GetImageRect() == Rect(580, 60, 760, 260));

    canvas.Drag(50, 500, 90, 550); // empty picture: the selection stays, nothing moves
    EXPECT_EQ(panel().GetSelectedItem(), crop);
    EXPECT_TRUE(crop->GetImageRect() == Rect(580, 60, 760, 260));
    EXPECT_EQ(panel().GetItems().size(), 5u) << "the pointer adds nothing";
}

TEST_F(PointerTest, HandlesOfTheSelectedItemResizeItAndWinOverAnItemOnTop) {
    CCanvasItem* frame = Draw<CHighlightItemFactory>({100, 100}, {300, 200});
    CCanvasItem* arrow = Draw<CArrowItemFactory>({250, 150}, {350, 250}); // over the corner
    canvas.SelectTool<CPointerItemFactory>();
    canvas.Drag(105, 150, 105, 151, 1);
    canvas.Drag(105, 151, 105, 150, 1);
    ASSERT_EQ(panel().GetSelectedItem(), frame);

    // Every handle in turn, each dragged by (4, 3).
    for (int handle = 1; handle <= 8; ++handle) {
        const POINT at = frame->GetHandlePoint(handle);
        canvas.Drag(at.x, at.y, at.x + 4, at.y + 3, 2);
        EXPECT_EQ(panel().GetSelectedItem(), frame) << "handle " << handle;
    }
    EXPECT_TRUE(frame->GetImageRect() == Rect(112, 109, 312, 209));
    EXPECT_EQ(arrow->GetPoint1().x, 250) << "the arrow on top was not taken";

    canvas.Drag(330, 230, 331, 230, 1); // the arrow's body, beside the frame
    ASSERT_EQ(panel().GetSelectedItem(), arrow);
    canvas.Drag(350, 250, 400, 260); // its head
    EXPECT_EQ(arrow->GetPoint2().x, 400);
    EXPECT_EQ(arrow->GetPoint2().y, 260);
    EXPECT_EQ(arrow->GetPoint1().x, 251) << "the tail stays";

    // A handle whose item stops being selected during the drag (undo,
    // Delete) is let go.
    canvas.Press(400, 260);
    panel().Undo();
    canvas.Move(420, 300);
    canvas.Release(420, 300);
    EXPECT_EQ(arrow->GetPoint2().x, 400);
}

TEST_F(PointerTest, AnOlderCropCannotBeSelectedAndHidesWhatIsUnderItsBand) {
    CCanvasItem* older = Draw<CCropItemFactory>({10, 10}, {300, 300});
    CCanvasItem* newer = Draw<CCropItemFactory>({400, 300}, {600, 450});
    CCanvasItem* arrow = Draw<CArrowItemFactory>({15, 100}, {15, 250}); // in the older band
    canvas.SelectTool<CPointerItemFactory>();
    panel().SetSelectedItem(nullptr);

    canvas.Drag(15, 150, 40, 150);
    EXPECT_EQ(panel().GetSelectedItem(), nullptr);
    EXPECT_EQ(arrow->GetPoint1().x, 15);
    EXPECT_EQ(older->GetPoint1().x, 10);
    canvas.DoubleClick(15, 150);
    EXPECT_EQ(panel().GetSelectedItem(), nullptr);

    canvas.Drag(405, 350, 415, 350);
    EXPECT_EQ(panel().GetSelectedItem(), newer);
    EXPECT_EQ(newer->GetPoint1().x, 410);
}

TEST_F(PointerTest, ADoubleClickSelectsAndOpensTheEditorOfItsItem) {
    auto owned = std::make_unique<EditableFrame>(&panel());
    EditableFrame* editable = owned.get();
    editable->OnLButtonDown({300, 300}, {300, 300});
    editable->OnMouseMove({400, 400}, {400, 400});
    editable->OnLButtonUp({400, 400}, {400, 400});
    panel().AddItem(std::move(owned));
    CCanvasItem* arrow = Draw<CArrowItemFactory>({100, 100}, {200, 100});
    CCanvasItem* crop = Draw<CCropItemFactory>({500, 100}, {700, 300});
    canvas.SelectTool<CPointerItemFactory>();

    panel().SetSelectedItem(nullptr);
    canvas.DoubleClick(150, 100);
    EXPECT_EQ(panel().GetSelectedItem(), arrow) << "other items are only selected";
    EXPECT_EQ(arrow->GetPoint1().x, 100);

    panel().SetSelectedItem(nullptr);
    canvas.Press(305, 350);
    canvas.Release(305, 350);
    EXPECT_EQ(editable->edits, 0) << "a click alone does not open the editor";
    canvas.PressAgain(305, 350);
    canvas.Release(305, 350);
    EXPECT_EQ(editable->edits, 1);
    EXPECT_EQ(panel().GetSelectedItem(), editable);

    canvas.DoubleClick(505, 200);
    EXPECT_EQ(panel().GetSelectedItem(), crop);
    EXPECT_EQ(panel().GetItems().size(), 3u);
}

TEST_F(PointerTest, TheCursorShowsWhatAPressWouldTakeHoldOf) {
    CCanvasItem* frame = Draw<CHighlightItemFactory>({100, 100}, {300, 200});
    Draw<CPenItemFactory>({400, 100}, {500, 150});
    Draw<CCropItemFactory>({10, 300}, {300, 500});
    Draw<CCropItemFactory>({400, 300}, {600, 500});
    canvas.SelectTool<CPointerItemFactory>();
    const HCURSOR arrow = ::LoadCursorW(nullptr, IDC_ARROW);
    const HCURSOR fourWay = ::LoadCursorW(nullptr, IDC_SIZEALL);

    EXPECT_EQ(canvas.CursorAt(105, 150), fourWay) << "a body";
    EXPECT_EQ(canvas.CursorAt(200, 150), arrow) << "the inside of a frame";
    EXPECT_EQ(canvas.CursorAt(300, 150), arrow) << "a handle of an item not selected";
    panel().SetSelectedItem(frame);
    EXPECT_EQ(canvas.CursorAt(300, 150), ::LoadCursorW(nullptr, IDC_SIZEWE)) << "handle 4";
    EXPECT_EQ(canvas.CursorAt(100, 200), ::LoadCursorW(nullptr, IDC_SIZENESW)) << "handle 7";
    EXPECT_EQ(canvas.CursorAt(15, 400), arrow) << "an older crop";
    EXPECT_EQ(canvas.CursorAt(405, 400), fourWay) << "the active crop";

    panel().SetSelectedItem(Item(1));
    EXPECT_EQ(canvas.CursorAt(400, 100), arrow) << "a pen's handle has no cursor of its own";

    // A move sets the cursor too.
    canvas.Move(105, 150);
    EXPECT_EQ(::GetCursor(), fourWay);
    canvas.Move(50, 50);
    EXPECT_EQ(::GetCursor(), arrow);
}

TEST_F(PointerTest, AMoveRepaintsOnlyTheOldAndNewRectangles) {
    CCanvasItem* frame = Draw<CHighlightItemFactory>({100, 100}, {300, 200});
    canvas.SelectTool<CPointerItemFactory>();
    canvas.Press(105, 150);
    auto viewRect = [&] {
        RECT r = frame->GetViewRect();
        ::InflateRect(&r, 6, 6);
        return r;
    };
    auto& updates = canvas.Paints().updates;

    // A few pixels: one paint at once, around both rectangles.
    RECT before = viewRect();
    updates.clear();
    canvas.Move(115, 155);
    RECT both{};
    const RECT after = viewRect();
    ::UnionRect(&both, &before, &after);
    ASSERT_EQ(updates.size(), 1u);
    EXPECT_TRUE(updates[0] == both);

    // A jump: the two rectangles, each painted at once, not what lies between.
    before = viewRect();
    updates.clear();
    canvas.Move(415, 355);
    ASSERT_EQ(updates.size(), 2u);
    EXPECT_TRUE(updates[0] == before);
    EXPECT_TRUE(updates[1] == viewRect());

    canvas.Release(415, 355);
    RECT client{};
    ::GetClientRect(canvas.Surface(), &client);
    ASSERT_EQ(updates.size(), 3u);
    EXPECT_TRUE(updates[2] == client) << "the whole surface once at release";

    // A stroke reaches beyond its first and last points: all of it is
    // repainted, and nothing more.
    DrawLoop({400, 300}, 100);
    canvas.SelectTool<CPointerItemFactory>();
    canvas.Press(450, 350);
    updates.clear();
    canvas.Move(460, 355);
    ASSERT_EQ(updates.size(), 1u);
    RECT stroke{};
    EXPECT_TRUE(::IntersectRect(&stroke, &updates[0], &client));
    EXPECT_TRUE(stroke == Rect(390, 290, 521, 416)) << "both places of the stroke and its pen";
    canvas.Release(460, 355);
}

} // namespace
