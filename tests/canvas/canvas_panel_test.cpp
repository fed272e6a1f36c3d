// The panel driven through the drawing surface's window messages: gestures,
// commits, undo, redo, delete and the context menu.
#include <gtest/gtest.h>

#include "canvas/crop_item.h"
#include "canvas/pen_item.h"
#include "canvas/pointer_item_factory.h"
#include "canvas/simple_item_factories.h"
#include "canvas_harness.h"
#include "resource.h"

using namespace canvas_test;

namespace {

class CanvasPanelTest : public testing::Test {
protected:
    void SetUp() override { canvas.Panel().SetBitmap(MakePicture(800, 600, RGB(90, 120, 150))); }

    CCanvasPanel& panel() { return canvas.Panel(); }
    std::size_t ItemCount() { return panel().GetItems().size(); }
    CCanvasItem* Item(std::size_t i) { return panel().GetItems().at(i).get(); }

    CanvasHarness canvas;
};

TEST_F(CanvasPanelTest, ClickWithoutMotionCommitsNothingAndReusesThePendingItem) {
    auto& tool = canvas.SelectTool<CArrowItemFactory>();
    canvas.Press(50, 60);
    canvas.Release(50, 60);
    EXPECT_EQ(ItemCount(), 0u);
    CCanvasItem* pending = tool.GetPendingItem();
    ASSERT_NE(pending, nullptr);
    EXPECT_FALSE(pending->IsTracking());

    canvas.Drag(100, 100, 200, 150);
    ASSERT_EQ(ItemCount(), 1u);
    EXPECT_EQ(Item(0), pending) << "the next press reuses the pending item";
    EXPECT_EQ(tool.GetPendingItem(), nullptr);
    EXPECT_EQ(panel().GetSelectedItem(), pending);
    EXPECT_TRUE(pending->IsSelected());
}

TEST_F(CanvasPanelTest, DragCommitsWithImagePointsAndTheCurrentColour) {
    panel().SetZoom(2.0f, 2.0f);
    canvas.SelectTool<CHighlightItemFactory>();
    canvas.SetColor(RGB(0, 200, 0));
    canvas.Drag(40, 30, 240, 130);
    ASSERT_EQ(ItemCount(), 1u);
    const RECT r = Item(0)->GetImageRect();
    EXPECT_EQ(r.left, 20);
    EXPECT_EQ(r.top, 15);
    EXPECT_EQ(r.right, 120);
    EXPECT_EQ(r.bottom, 65);
    EXPECT_EQ(Item(0)->GetColor(), RGB(0, 200, 0));
    EXPECT_EQ(Item(0)->GetViewPoint2().x, 240);
}

TEST_F(CanvasPanelTest, CaptureKeepsTheDragGoingOutsideTheSurface) {
    canvas.SelectTool<CCropItemFactory>();
    canvas.Press(100, 100);
    EXPECT_EQ(::GetCapture(), canvas.Surface());
    canvas.Move(-30, -20);
    canvas.Release(-30, -20);
    EXPECT_EQ(::GetCapture(), nullptr);
    ASSERT_EQ(ItemCount(), 1u);
    EXPECT_EQ(Item(0)->GetPoint2().x, -30);
    EXPECT_EQ(Item(0)->GetPoint2().y, -20);
}

TEST_F(CanvasPanelTest, APenStrokeCommitsAllItsPointsAndAClickStartsAfresh) {
    auto& tool = canvas.SelectTool<CPenItemFactory>();
    canvas.Press(10, 10);
    canvas.Release(10, 10);
    ASSERT_NE(tool.GetPendingItem(), nullptr);
    canvas.Drag(100, 100, 140, 120, 4);
    ASSERT_EQ(ItemCount(), 1u);
    const auto& points = static_cast<CPenItem*>(Item(0))->GetPoints();
    ASSERT_EQ(points.size(), 6u) << "press, four moves, release; not the earlier click";
    EXPECT_EQ(points.front().x, 100);
    EXPECT_EQ(points.back().x, 140);
}

TEST_F(CanvasPanelTest, APenLoopBackToItsStartIsStillCommitted) {
    canvas.SelectTool<CPenItemFactory>();
    canvas.Press(100, 100);
    canvas.Move(150, 100);
    canvas.Move(150, 150);
    canvas.Move(100, 100);
    canvas.Release(100, 100);
    EXPECT_EQ(ItemCount(), 1u);
}

TEST_F(CanvasPanelTest, UndoRedoMoveItemsBetweenTheListsAndACommitEmptiesRedo) {
    canvas.SelectTool<CArrowItemFactory>();
    canvas.Drag(10, 10, 100, 100);
    canvas.Drag(20, 200, 120, 220);
    CCanvasItem* second = Item(1);

    panel().Undo();
    EXPECT_EQ(ItemCount(), 1u);
    ASSERT_EQ(canvas.Driver().RedoItems().size(), 1u);
    EXPECT_EQ(panel().GetSelectedItem(), nullptr) << "the undone item was selected";
    EXPECT_FALSE(second->IsSelected());

    panel().Redo();
    EXPECT_EQ(ItemCount(), 2u);
    EXPECT_EQ(Item(1), second);
    EXPECT_EQ(panel().GetSelectedItem(), nullptr) << "redo leaves the selection";

    panel().Undo();
    canvas.Drag(300, 300, 350, 380);
    EXPECT_TRUE(canvas.Driver().RedoItems().empty());
    panel().Redo();
    EXPECT_EQ(ItemCount(), 2u) << "nothing comes back after a new commit";
}

TEST_F(CanvasPanelTest, UndoAndRedoWithNothingToMoveDoNotRepaint) {
    canvas.Pump();
    const int before = canvas.Paints().paints;
    panel().Undo();
    panel().Redo();
    canvas.Pump();
    EXPECT_EQ(canvas.Paints().paints, before);

    canvas.SelectTool<CArrowItemFactory>();
    canvas.Drag(10, 10, 100, 100);
    const int afterDrag = canvas.Paints().paints;
    panel().Undo();
    EXPECT_EQ(canvas.Paints().paints, afterDrag + 1) << "undo repaints at once";
}

TEST_F(CanvasPanelTest, TheNewerCropIsActiveAndUndoingItReactivatesTheOlder) {
    canvas.SelectTool<CCropItemFactory>();
    canvas.Drag(10, 10, 200, 200);
    CCanvasItem* older = Item(0);
    canvas.Drag(50, 50, 300, 250);
    CCanvasItem* newer = Item(1);
    EXPECT_TRUE(newer->IsCropItem());
    EXPECT_EQ(panel().GetActiveCrop(), newer);

    panel().Undo();
    EXPECT_EQ(panel().GetActiveCrop(), older);
    panel().Undo();
    EXPECT_EQ(panel().GetActiveCrop(), nullptr);
    panel().Redo();
    EXPECT_EQ(panel().GetActiveCrop(), older);
    panel().Redo();
    EXPECT_EQ(panel().GetActiveCrop(), newer);
}

TEST_F(CanvasPanelTest, DeleteSelectsTheFirstAndUndoAndRedoTakeTheDeletionBackAndAgain) {
    panel().DeleteSelectedItem(); // nothing selected: nothing happens
    canvas.SelectTool<CArrowItemFactory>();
    canvas.Drag(10, 10, 100, 100);
    canvas.Drag(20, 200, 120, 220);
    canvas.Drag(300, 20, 380, 60);
    CCanvasItem* first = Item(0);
    CCanvasItem* second = Item(1);
    CCanvasItem* third = Item(2);
    panel().Undo(); // the third waits in the redo list

    panel().DeleteSelectedItem(); // nothing selected after the undo
    EXPECT_EQ(ItemCount(), 2u);

    panel().SetSelectedItem(second);
    const int before = canvas.Paints().paints;
    panel().DeleteSelectedItem();
    ASSERT_EQ(ItemCount(), 1u);
    EXPECT_EQ(panel().GetSelectedItem(), first);
    EXPECT_TRUE(first->IsSelected());
    EXPECT_EQ(canvas.Driver().RedoItems().size(), 1u) << "delete leaves the redo list alone";
    EXPECT_GT(canvas.Paints().paints, before);

    // Undo brings the deleted item back at its place, selected; redo
    // deletes it again, and the next redo brings the third back.
    panel().Undo();
    ASSERT_EQ(ItemCount(), 2u);
    EXPECT_EQ(Item(1), second);
    EXPECT_EQ(panel().GetSelectedItem(), second);
    panel().Redo();
    ASSERT_EQ(ItemCount(), 1u);
    EXPECT_EQ(Item(0), first);
    panel().Redo();
    ASSERT_EQ(ItemCount(), 2u);
    EXPECT_EQ(Item(1), third);
    // Back through all of it, newest step first.
    panel().Undo();
    panel().Undo();
    ASSERT_EQ(ItemCount(), 2u);
    EXPECT_EQ(Item(1), second);
    panel().Undo();
    panel().Undo();
    EXPECT_EQ(ItemCount(), 0u);
}

TEST_F(CanvasPanelTest, DeletingSelectsNoOlderCropAndDeletingTheActiveCropLeavesNone) {
    canvas.SelectTool<CCropItemFactory>();
    canvas.Drag(10, 10, 200, 200);
    canvas.Drag(300, 300, 500, 450);
    CCanvasItem* active = Item(1);
    canvas.SelectTool<CHighlightItemFactory>();
    canvas.Drag(50, 250, 250, 300);

    // An older crop is not shown: the selection after a deletion passes
    // over it, as the pointer and the right click do.
    panel().DeleteSelectedItem();
    EXPECT_EQ(panel().GetSelectedItem(), active);
    panel().DeleteSelectedItem();
    EXPECT_EQ(panel().GetActiveCrop(), nullptr);
    EXPECT_EQ(ItemCount(), 1u);
    EXPECT_EQ(panel().GetSelectedItem(), nullptr);
    panel().Undo();
    EXPECT_EQ(panel().GetActiveCrop(), active) << "undone, it is the output again";
    EXPECT_EQ(panel().GetSelectedItem(), active);
}

TEST_F(CanvasPanelTest, RightClickSelectsTheEarlierOfOverlappingItemsAndOpensTheMenuThere) {
    canvas.SelectTool<CHighlightItemFactory>();
    canvas.Drag(100, 100, 300, 300);
    canvas.Drag(105, 105, 250, 250);
    CCanvasItem* earlier = Item(0);
    panel().SetSelectedItem(nullptr);

    const ShownMenu menu = canvas.RightClick(108, 150);
    EXPECT_EQ(panel().GetSelectedItem(), earlier);
    POINT click{108, 150};
    ::ClientToScreen(canvas.Surface(), &click);
    EXPECT_EQ(menu.window.left, click.x) << "the menu's corner is at the click";
    EXPECT_EQ(menu.window.top, click.y);
    EXPECT_TRUE(canvas.Commands().empty()) << "Escape chooses nothing";

    // Each item picked from the menu (moved to with the arrow keys, chosen
    // with Enter) sends its command to the owner, once.
    std::vector<WORD> offered;
    std::size_t downs = 0;
    for (const UINT command : menu.commands) {
        if (command == 0)
            continue; // a separator: the arrow keys pass over it
        offered.push_back(static_cast<WORD>(command));
        std::vector<WPARAM> keys(++downs, VK_DOWN);
        keys.push_back(VK_RETURN);
        canvas.RightClick(400, 400, keys);
    }
    EXPECT_GE(offered.size(), 2u);
    EXPECT_EQ(canvas.Commands(), offered);
}

TEST_F(CanvasPanelTest, RightClickOnEmptyPictureKeepsTheSelectionAndRoutesCommandsToTheOwner) {
    canvas.SelectTool<CArrowItemFactory>();
    canvas.Drag(10, 10, 100, 100);
    CCanvasItem* selected = Item(0);
    canvas.RightClick(400, 400, {'D'});
    EXPECT_EQ(panel().GetSelectedItem(), selected);
    ASSERT_EQ(canvas.Commands().size(), 1u);
    EXPECT_EQ(canvas.Commands()[0], ID_CTX_DELETE_ITEM);
}

TEST_F(CanvasPanelTest, SetBitmapStartsANewDocumentWithoutPendingItemsButKeepsZoom) {
    panel().SetZoom(0.5f, 0.5f);
    canvas.SelectTool<CCropItemFactory>();
    canvas.Drag(10, 10, 100, 100);
    panel().Undo();
    canvas.Drag(10, 10, 60, 80);
    panel().DeleteSelectedItem();
    // A click leaves the tool's item pending: it goes with the document.
    auto& tool = canvas.SelectTool<CArrowItemFactory>();
    canvas.Press(50, 60);
    canvas.Release(50, 60);
    ASSERT_NE(tool.GetPendingItem(), nullptr);
    panel().SetBitmap(MakePicture(300, 200, RGB(0, 0, 0)));
    EXPECT_EQ(tool.GetPendingItem(), nullptr);
    panel().Undo();
    EXPECT_EQ(ItemCount(), 0u) << "no deletion of the old document to undo";
    EXPECT_TRUE(canvas.Driver().RedoItems().empty());
    EXPECT_EQ(panel().GetSelectedItem(), nullptr);
    EXPECT_EQ(panel().GetActiveCrop(), nullptr);
    EXPECT_FLOAT_EQ(panel().GetTransform().ZoomX(), 0.5f);
}

TEST_F(CanvasPanelTest, ZoomAndScrollRecomputeTheViewPointsOfBothLists) {
    canvas.SelectTool<CArrowItemFactory>();
    canvas.Drag(10, 20, 110, 220);
    canvas.Drag(30, 30, 50, 50);
    panel().Undo();
    CCanvasItem* undone = canvas.Driver().RedoItems().at(0).get();

    CLumvexDlgEvents& scroll = panel();
    scroll.OnScrollHorz(nullptr, 7);
    scroll.OnScrollVert(nullptr, 9);
    EXPECT_EQ(Item(0)->GetViewPoint1().x, 3);
    EXPECT_EQ(Item(0)->GetViewPoint1().y, 11);
    EXPECT_EQ(undone->GetViewPoint2().x, 43);

    panel().SetZoom(2.0f, 0.5f);
    EXPECT_EQ(panel().GetTransform().OffsetX(), 0) << "zoom puts the offsets back";
    EXPECT_EQ(Item(0)->GetViewPoint2().x, 220);
    EXPECT_EQ(Item(0)->GetViewPoint2().y, 110);
}

TEST_F(CanvasPanelTest, WithoutAToolOrWithAToolThatMakesNothingGesturesDoNothing) {
    canvas.ClearTool();
    canvas.Drag(10, 10, 100, 100);
    canvas.SelectTool<CPointerItemFactory>();
    canvas.Drag(10, 10, 100, 100);
    EXPECT_EQ(ItemCount(), 0u);
}

TEST_F(CanvasPanelTest, ADragRepaintsOnlyAroundTheMovingItem) {
    canvas.SelectTool<CArrowItemFactory>();
    canvas.Press(100, 100);
    canvas.Move(150, 130);
    canvas.Pump();
    const int before = canvas.Paints().paints;
    canvas.Move(160, 140);
    EXPECT_EQ(canvas.Paints().paints, before + 1) << "painted at once";
    const RECT update = canvas.Paints().lastUpdate;
    EXPECT_LE(update.left, 94);
    EXPECT_LE(update.top, 94);
    EXPECT_GE(update.right, 166);
    EXPECT_GE(update.bottom, 146);
    EXPECT_LT(update.right - update.left, 100) << "not the whole surface";
    canvas.Release(160, 140);
}

TEST_F(CanvasPanelTest, ALostCaptureEndsTheGestureAsAReleaseAtTheLastPoint) {
    canvas.SelectTool<CPenItemFactory>();
    canvas.Press(100, 100);
    canvas.Move(150, 120);
    canvas.RightClick(150, 120); // the context menu takes the mouse
    ASSERT_EQ(ItemCount(), 1u);
    const auto& points = static_cast<CPenItem*>(Item(0))->GetPoints();
    canvas.Move(300, 300);
    EXPECT_EQ(points.size(), 3u) << "press, move, release; nothing after";

    canvas.SelectTool<CArrowItemFactory>();
    canvas.Press(200, 200);
    canvas.Move(260, 240);
    ::SendMessageW(canvas.Surface(), WM_CANCELMODE, 0, 0); // Alt+Tab, a message box
    EXPECT_EQ(::GetCapture(), nullptr);
    canvas.Move(400, 400);
    ASSERT_EQ(ItemCount(), 2u);
    EXPECT_EQ(Item(1)->GetPoint2().x, 260);
}

TEST_F(CanvasPanelTest, TheSurfaceSetsTheToolsCursorAndDrawsOnADoubleClicksPress) {
    canvas.SelectTool<CPenItemFactory>();
    EXPECT_EQ(canvas.CursorAt(300, 300),
              ::LoadCursorW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDCUR_PEN)));
    canvas.ClearTool();
    EXPECT_EQ(canvas.CursorAt(300, 300), ::LoadCursorW(nullptr, IDC_ARROW));

    canvas.SelectTool<CArrowItemFactory>();
    canvas.Drag(10, 10, 100, 100);
    canvas.PressAgain(200, 200); // a second arrow started quickly
    canvas.Move(300, 250);
    canvas.Release(300, 250);
    ASSERT_EQ(ItemCount(), 2u);
    EXPECT_EQ(Item(1)->GetPoint1().x, 200);
}

TEST_F(CanvasPanelTest, RightClickPassesOverAnOlderCrop) {
    canvas.SelectTool<CCropItemFactory>();
    canvas.Drag(10, 10, 300, 300);
    canvas.Drag(400, 300, 600, 450);
    canvas.SelectTool<CHighlightItemFactory>();
    canvas.Drag(5, 100, 200, 200);
    panel().SetSelectedItem(nullptr);
    canvas.RightClick(12, 250); // only the older crop's border
    EXPECT_EQ(panel().GetSelectedItem(), nullptr);
    canvas.RightClick(12, 150); // the older crop's border over the highlight's
    EXPECT_EQ(panel().GetSelectedItem(), Item(2));
}

} // namespace
