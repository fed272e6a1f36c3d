#include "canvas/highlight_item.h"

#include "common/argb.h"

CHighlightItem::CHighlightItem(CCanvasPanel* owner) noexcept : CRectItem(owner) {}

void CHighlightItem::Draw(gfx::Graphics& graphics) {
    const RECT r = GetImageRect();
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (m_tracking) {
        DrawTrackingBox(graphics, 0x80FFFFFF);
        return;
    }
    gfx::Pen frame(OpaqueArgb(m_color), 1.0f);
    frame.SetAlignment(Gdiplus::PenAlignmentInset);
    frame.SetWidth(3.0f);
    frame.SetDashStyle(Gdiplus::DashStyleSolid);
    graphics.DrawRectangle(frame, r.left, r.top, width, height);
}
