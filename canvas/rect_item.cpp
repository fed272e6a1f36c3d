#include "canvas/rect_item.h"

CRectItem::CRectItem(CCanvasPanel* owner) noexcept : CCanvasItem(owner, 8, true) {}

POINT CRectItem::GetHandlePoint(int handle) const {
    const RECT r = GetImageRect();
    const LONG midX = r.left + (r.right - r.left) / 2;
    const LONG midY = r.top + (r.bottom - r.top) / 2;
    switch (handle) {
    case 1:
        return POINT{r.left, r.top};
    case 2:
        return POINT{midX, r.top};
    case 3:
        return POINT{r.right, r.top};
    case 4:
        return POINT{r.right, midY};
    case 5:
        return POINT{r.right, r.bottom};
    case 6:
        return POINT{midX, r.bottom};
    case 7:
        return POINT{r.left, r.bottom};
    case 8:
        return POINT{r.left, midY};
    default:
        return POINT{0, 0};
    }
}

HCURSOR CRectItem::GetHandleCursor(int handle) const {
    switch (handle) {
    case 1:
    case 5:
        return ::LoadCursorW(nullptr, IDC_SIZENWSE);
    case 2:
    case 6:
        return ::LoadCursorW(nullptr, IDC_SIZENS);
    case 3:
    case 7:
        return ::LoadCursorW(nullptr, IDC_SIZENESW);
    case 4:
    case 8:
        return ::LoadCursorW(nullptr, IDC_SIZEWE);
    default:
        return nullptr;
    }
}

void CRectItem::MoveHandle(int x, int y, int viewX, int viewY, int handle) {
    bool x1 = false, y1 = false, x2 = false, y2 = false;
    switch (handle) {
    case 1:
        x1 = y1 = true;
        break;
    case 2:
        y1 = true;
        break;
    case 3:
        x2 = y1 = true;
        break;
    case 4:
        x2 = true;
        break;
    case 5:
        x2 = y2 = true;
        break;
    case 6:
        y2 = true;
        break;
    case 7:
        x1 = y2 = true;
        break;
    case 8:
        x1 = true;
        break;
    default:
        return;
    }
    if (x1) {
        m_point1.x = x;
        m_viewPoint1.x = viewX;
    }
    if (y1) {
        m_point1.y = y;
        m_viewPoint1.y = viewY;
    }
    if (x2) {
        m_point2.x = x;
        m_viewPoint2.x = viewX;
    }
    if (y2) {
        m_point2.y = y;
        m_viewPoint2.y = viewY;
    }
}

bool CRectItem::HitTestBody(int x, int y) {
    const POINT point{x, y};
    const RECT outer = GetImageRect();
    RECT inner = outer;
    ::InflateRect(&inner, -10, -10);
    return ::PtInRect(&outer, point) && !::PtInRect(&inner, point);
}

void CRectItem::Offset(int dx, int dy, int viewDx, int viewDy) {
    OffsetPoints(dx, dy, viewDx, viewDy);
}

void CRectItem::DrawFeedback(gfx::Graphics&) {}

void CRectItem::DrawTrackingBox(gfx::Graphics& graphics, gfx::Argb fill) const {
    gfx::Pen outline(kTrackingOutline, 1.0f);
    outline.SetAlignment(Gdiplus::PenAlignmentInset);
    outline.SetWidth(1.5f);
    outline.SetDashStyle(Gdiplus::DashStyleSolid);
    DrawBox(graphics, fill, outline);
}

void CRectItem::DrawBox(gfx::Graphics& graphics, gfx::Argb fill, const gfx::Pen& outline) const {
    const RECT r = GetImageRect();
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    graphics.FillRectangle(gfx::SolidBrush(fill), r.left, r.top, width, height);
    graphics.DrawRectangle(outline, r.left, r.top, width, height);
}
