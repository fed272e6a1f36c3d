// An item that is the rectangle of its two points, with a handle on each
// corner and in the middle of each side: the crop, the highlight and the
// text box.
#pragma once

#include "canvas/canvas_item.h"

class CRectItem : public CCanvasItem {
public:
    explicit CRectItem(CCanvasPanel* owner) noexcept;

    // The eight handles, clockwise from the top-left corner.
    POINT GetHandlePoint(int handle) const override;
    HCURSOR GetHandleCursor(int handle) const override;
    // The 10-pixel band inside the border: within the image rectangle but
    // not more than 10 pixels inside it; a rectangle 20 pixels wide or less
    // is all border.
    bool HitTestBody(int x, int y) override;
    void Offset(int dx, int dy, int viewDx, int viewDy) override;
    // Handles sit on the normalised rectangle, but the raw points move: a
    // rectangle drawn from bottom-right to top-left flips when dragged.
    void MoveHandle(int x, int y, int viewX, int viewY, int handle) override;
    // A rectangle shows itself while dragged out: Draw paints it.
    void DrawFeedback(gfx::Graphics& graphics) override;

protected:
    // A rectangle being dragged out: filled, outlined light steel blue.
    void DrawTrackingBox(gfx::Graphics& graphics, gfx::Argb fill) const;
    // The image rectangle filled, then outlined.
    void DrawBox(gfx::Graphics& graphics, gfx::Argb fill, const gfx::Pen& outline) const;
};
