#include "canvas/crop_item.h"

#include <climits>

CCropItem::CCropItem(CCanvasPanel* owner) noexcept : CRectItem(owner) {}

void CCropItem::Draw(gfx::Graphics& graphics) {
    const RECT r = GetImageRect();
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (m_tracking) {
        DrawTrackingBox(graphics, 0xDCFFFFFF);
        return;
    }
    // Darken what is being painted, except the crop itself.
    gfx::Region outside = graphics.GetClip();
    outside.Exclude(gfx::Region::FromRect(r.left, r.top, width, height));
    graphics.FillRegion(gfx::SolidBrush(kCropShade), outside);
}

RECT CCropItem::GetDrawBounds() const {
    if (m_tracking)
        return CCanvasItem::GetDrawBounds();
    return RECT{LONG_MIN / 2, LONG_MIN / 2, LONG_MAX / 2, LONG_MAX / 2};
}
