// The part of the picture the output keeps. On screen the picture around it
// is darkened; the flattened output is cut to it.
#pragma once

#include "canvas/canvas_item.h"

// What darkens the picture outside the crop: dark grey, mostly opaque.
constexpr gfx::Argb kCropShade = 0xDC404040;

class CCropItem : public CCanvasItem {
public:
    explicit CCropItem(CCanvasPanel* owner) noexcept;

    POINT GetHandlePoint(int handle) const override;
    HCURSOR GetHandleCursor(int handle) const override;
    // The 10-pixel band inside the border.
    bool HitTestBody(int x, int y) override;
    void Offset(int dx, int dy, int viewDx, int viewDy) override;
    void MoveHandle(int x, int y, int viewX, int viewY, int handle) override;
    void Draw(gfx::Graphics& graphics) override;
    void DrawFeedback(gfx::Graphics& graphics) override;
    // The darkening covers whatever is painted.
    RECT GetDrawBounds() const override;
    bool IsCropItem() const override { return true; }
};
