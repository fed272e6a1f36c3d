// The pointer tool's item: it selects, moves and resizes the items already in
// the picture, and opens a text item's editor on a double click. It draws
// nothing and is never committed: it stays the pointer tool's pending item.
#pragma once

#include "canvas/canvas_item.h"

class CPointerItem : public CCanvasItem {
public:
    explicit CPointerItem(CCanvasPanel* owner) noexcept;

    // A press on a handle of the selected item drags that handle; otherwise
    // the first item (bottom-most) whose body is under the press is selected
    // and moved. An older crop there takes the press and selects nothing.
    void OnLButtonDown(POINT view, POINT image) override;
    void OnMouseMove(POINT view, POINT image) override;
    // Selects the item under the point and begins its editing.
    void OnLButtonDblClk(POINT view, POINT image) override;
    void Draw(gfx::Graphics& graphics) override;
    void DrawFeedback(gfx::Graphics& graphics) override;
    void DrawHandles(gfx::Graphics& graphics) override;
    int HitTest(int x, int y) override;
    bool IsPointerItem() const override { return true; }

private:
    enum class Mode { None, Move, Resize };

    // The first item in drawing order whose body lies under the point.
    CCanvasItem* BodyAt(POINT image) const;
    // Selects the item and repaints the surface when the selection changes.
    void Select(CCanvasItem* item);
    // Repaints around what the item covers before and after `change`.
    template <typename Change> void RepaintAround(CCanvasItem& item, Change change);

    Mode m_mode = Mode::None;
    CCanvasItem* m_target = nullptr;
    int m_handle = 0;
    POINT m_lastImage{};
    POINT m_lastView{};
};
