// A coloured rectangular frame drawn into the picture.
#pragma once

#include "canvas/canvas_item.h"

class CHighlightItem : public CCanvasItem {
public:
    explicit CHighlightItem(CCanvasPanel* owner) noexcept;

    POINT GetHandlePoint(int handle) const override;
    HCURSOR GetHandleCursor(int handle) const override;
    // The 10-pixel band inside the border.
    bool HitTestBody(int x, int y) override;
    void Offset(int dx, int dy, int viewDx, int viewDy) override;
    void MoveHandle(int x, int y, int viewX, int viewY, int handle) override;
    void Draw(gfx::Graphics& graphics) override;
    void DrawFeedback(gfx::Graphics& graphics) override;
};
