#include "canvas/highlight_item.h"

#include "common/argb.h"

CHighlightItem::CHighlightItem(CCanvasPanel* owner) noexcept : CCanvasItem(owner, 8, true) {}

POINT CHighlightItem::GetHandlePoint(int handle) const {
    return GetRectHandlePoint(handle);
}

HCURSOR CHighlightItem::GetHandleCursor(int handle) const {
    return GetRectHandleCursor(handle);
}

bool CHighlightItem::HitTestBody(int x, int y) {
    return HitTestFrame(x, y);
}

void CHighlightItem::Offset(int dx, int dy, int viewDx, int viewDy) {
    OffsetPoints(dx, dy, viewDx, viewDy);
}

void CHighlightItem::MoveHandle(int x, int y, int viewX, int viewY, int handle) {
    MoveRectHandle(x, y, viewX, viewY, handle);
}

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

void CHighlightItem::DrawFeedback(gfx::Graphics&) {}
