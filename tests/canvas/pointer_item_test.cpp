// The pointer tool driven through the drawing surface.
#include <gtest/gtest.h>

#include <memory>

#include "canvas/highlight_item.h"
#include "canvas/pointer_item_factory.h"
#include "canvas/simple_item_factories.h"
#include "canvas_harness.h"

using namespace canvas_test;

namespace {

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
    CCanvasItem* Selected() { return panel().GetSelectedItem(); }
    template <typename Tool> CCanvasItem* Draw(POINT from, POINT to) {
        canvas.SelectTool<Tool>();
        canvas.Drag(from.x, from.y, to.x, to.y);
        return panel().GetItems().back().get();
    }
    // A closed square stroke, clockwise from its top-left corner.
    CCanvasItem* DrawLoop(POINT corner, int size) {
        canvas.SelectTool<CPenItemFactory>();
        canvas.Press(corner.x, corner.y);
        canvas.Move(corner.x + size, corner.y);
        canvas.Move(corner.x + size, corner.y + size);
        canvas.Move(corner.x, corner.y + size);
        canvas.Release(corner.x, corner.y + 10);
        return panel().GetItems().back().get();
    }
    void Pointer() { canvas.SelectTool<CPointerItemFactory>(); }

    CanvasHarness canvas;
};

bool operator==(const RECT& a, const RECT& b) {
    return ::EqualRect(&a, &b) != FALSE;
}

TEST_F(PointerTest, APressSelectsTheBottomMostItemUnderItAndADragMovesIt) {
    CCanvasItem* frame = Draw<CHighlightItemFactory>({100, 100}, {300, 200});
    CCanvasItem* arrow = Draw<CArrowItemFactory>({100, 150}, {300, 150}); // across the frame
    CCanvasItem* loop = DrawLoop({400, 300}, 100);
    CCanvasItem* crop = Draw<CCropItemFactory>({600, 50}, {780, 250});
    Pointer();
    const struct {
        POINT press;
        CCanvasItem* item;
    } cases[] = {{{105, 150}, frame}, {{200, 150}, arrow}, {{450, 350}, loop}, {{605, 100}, crop}};
    for (const auto& c : cases) {
        const POINT was = c.item->GetPoint1();
        canvas.Drag(c.press.x, c.press.y, c.press.x + 10, c.press.y + 5);
        EXPECT_EQ(Selected(), c.item) << c.press.x;
        EXPECT_EQ(c.item->GetPoint1().x, was.x + 10) << c.press.x;
        EXPECT_EQ(c.item->GetViewPoint1().y, was.y + 5) << c.press.x;
    }
    canvas.Drag(50, 500, 90, 550); // empty picture
    EXPECT_EQ(Selected(), crop);
    EXPECT_EQ(crop->GetPoint1().x, 610);
    EXPECT_EQ(panel().GetItems().size(), 4u);
}

TEST_F(PointerTest, HandlesOfTheSelectedItemWinOverAnyOtherItemAndResizeIt) {
    CCanvasItem* arrow = Draw<CArrowItemFactory>({50, 50}, {150, 150});       // through a corner
    CCanvasItem* frame = Draw<CHighlightItemFactory>({100, 100}, {300, 200}); // selected
    Pointer();
    for (int handle = 1; handle <= 8; ++handle) {
        const POINT at = frame->GetHandlePoint(handle);
        canvas.Drag(at.x, at.y, at.x + 4, at.y + 3, 2);
    }
    EXPECT_TRUE(frame->GetImageRect() == (RECT{112, 109, 312, 209}));
    EXPECT_EQ(arrow->GetPoint1().x, 50);

    panel().SetSelectedItem(arrow);
    canvas.Drag(150, 150, 200, 160); // the head
    EXPECT_EQ(arrow->GetPoint2().x, 200);
    EXPECT_EQ(arrow->GetPoint1().x, 50);
    // A handle whose item is no longer selected (undo, Delete) is let go.
    canvas.Press(200, 160);
    panel().Undo();
    panel().Undo();
    canvas.Move(220, 300);
    canvas.Release(220, 300);
    EXPECT_EQ(arrow->GetPoint2().x, 200);
}

TEST_F(PointerTest, OlderCropsTakeNothingAndADoubleClickOpensTheEditor) {
    auto owned = std::make_unique<EditableFrame>(&panel());
    EditableFrame* editable = owned.get();
    owned->MoveHandle(300, 300, 300, 300, 1);
    owned->MoveHandle(400, 400, 400, 400, 5);
    canvas.Driver().AddItem(std::move(owned));
    CCanvasItem* older = Draw<CCropItemFactory>({10, 10}, {200, 250});
    CCanvasItem* newer = Draw<CCropItemFactory>({500, 50}, {700, 250});
    CCanvasItem* arrow = Draw<CArrowItemFactory>({15, 100}, {15, 290}); // along the older band
    Pointer();
    panel().SetSelectedItem(nullptr);

    canvas.Drag(15, 150, 40, 150);
    canvas.DoubleClick(15, 150);
    EXPECT_EQ(Selected(), nullptr) << "the older crop hides the arrow";
    EXPECT_EQ(arrow->GetPoint1().x, 15);
    EXPECT_EQ(older->GetPoint1().x, 10);

    canvas.DoubleClick(15, 270);
    EXPECT_EQ(Selected(), arrow) << "other items are only selected";
    canvas.Press(305, 350);
    canvas.Release(305, 350);
    EXPECT_EQ(editable->edits, 0);
    canvas.PressAgain(305, 350);
    canvas.Release(305, 350);
    EXPECT_EQ(editable->edits, 1);
    EXPECT_EQ(Selected(), editable);
    canvas.DoubleClick(505, 100);
    EXPECT_EQ(Selected(), newer);
}

TEST_F(PointerTest, TheCursorShowsWhatAPressWouldTakeHoldOf) {
    CCanvasItem* frame = Draw<CHighlightItemFactory>({100, 100}, {300, 200});
    CCanvasItem* pen = Draw<CPenItemFactory>({400, 100}, {500, 150});
    Draw<CCropItemFactory>({10, 300}, {300, 500});
    Draw<CCropItemFactory>({400, 300}, {600, 500});
    Pointer();
    const HCURSOR arrow = ::LoadCursorW(nullptr, IDC_ARROW);
    const HCURSOR fourWay = ::LoadCursorW(nullptr, IDC_SIZEALL);
    EXPECT_EQ(canvas.CursorAt(105, 150), fourWay);
    EXPECT_EQ(canvas.CursorAt(200, 150), arrow) << "empty inside of a frame";
    EXPECT_EQ(canvas.CursorAt(15, 400), arrow) << "an older crop";
    EXPECT_EQ(canvas.CursorAt(405, 400), fourWay) << "the active crop";
    panel().SetSelectedItem(frame);
    EXPECT_EQ(canvas.CursorAt(100, 200), ::LoadCursorW(nullptr, IDC_SIZENESW)) << "handle 7";
    panel().SetSelectedItem(pen);
    EXPECT_EQ(canvas.CursorAt(400, 100), arrow) << "a pen's handle has no cursor of its own";
    canvas.Move(105, 150);
    EXPECT_EQ(::GetCursor(), fourWay) << "a move sets it too";
}

TEST_F(PointerTest, AMoveRepaintsOnlyWhereTheItemWasAndIs) {
    CCanvasItem* frame = Draw<CHighlightItemFactory>({100, 100}, {300, 200});
    DrawLoop({400, 300}, 100);
    Pointer();
    auto& updates = canvas.Paints().updates;
    RECT client{};
    ::GetClientRect(canvas.Surface(), &client);

    canvas.Press(105, 150);
    updates.clear();
    canvas.Move(115, 155); // a few pixels: one paint around both places
    canvas.Move(415, 355); // a jump: one paint for each place
    canvas.Release(415, 355);
    const std::vector<RECT> expected = {
        {94, 94, 316, 211}, {104, 99, 316, 211}, {404, 299, 616, 411}, client};
    EXPECT_EQ(updates.size(), expected.size());
    for (std::size_t i = 0; i < std::min(updates.size(), expected.size()); ++i)
        EXPECT_TRUE(updates[i] == expected[i]) << i;
    EXPECT_TRUE(frame->GetImageRect() == (RECT{410, 305, 610, 405}));

    // A stroke reaches beyond its first and last points.
    canvas.Press(450, 350);
    updates.clear();
    canvas.Move(460, 355);
    ASSERT_EQ(updates.size(), 1u);
    EXPECT_TRUE(updates[0] == (RECT{390, 290, 521, 416}));
    canvas.Release(460, 355);
}

} // namespace
