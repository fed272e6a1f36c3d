// A straight arrow from point 1 (the press) to point 2, with a filled head at
// point 2.
#pragma once

#include "canvas/canvas_item.h"

class CArrowItem : public CCanvasItem {
public:
    explicit CArrowItem(CCanvasPanel* owner) noexcept;

    POINT GetHandlePoint(int handle) const override;
    HCURSOR GetHandleCursor(int handle) const override;
    // The band 7 pixels wide centred on the line.
    bool HitTestBody(int x, int y) override;
    void Offset(int dx, int dy, int viewDx, int viewDy) override;
    void MoveHandle(int x, int y, int viewX, int viewY, int handle) override;
    void Draw(gfx::Graphics& graphics) override;
    void DrawFeedback(gfx::Graphics& graphics) override;

private:
    void ClearCache() noexcept;

    gfx::Region m_hitRegion;
    gfx::Path m_hitPath;
    gfx::Pen m_hitPen;
};
