#include "canvas/arrow_item.h"

#include <algorithm>

#include "common/argb.h"

CArrowItem::CArrowItem(CCanvasPanel* owner) noexcept : CCanvasItem(owner, 2, true) {}

POINT CArrowItem::GetHandlePoint(int handle) const {
    if (handle == 1)
        return m_point1;
    if (handle == 2)
        return m_point2;
    return POINT{0, 0};
}

HCURSOR CArrowItem::GetHandleCursor(int handle) const {
    return handle == 1 || handle == 2 ? ::LoadCursorW(nullptr, IDC_SIZEWE) : nullptr;
}

bool CArrowItem::HitTestBody(int x, int y) {
    if (!m_hitRegion) {
        m_hitPath = gfx::Path::Create();
        m_hitPath.AddLine(m_point1.x, m_point1.y, m_point2.x, m_point2.y);
        m_hitPen = gfx::Pen(0xFF000000, 7.0f);
        m_hitPath.Widen(m_hitPen, 0.25f);
        m_hitRegion = gfx::Region::FromPath(m_hitPath);
    }
    return m_hitRegion.Contains(x, y);
}

void CArrowItem::Offset(int dx, int dy, int viewDx, int viewDy) {
    ClearCache();
    OffsetPoints(dx, dy, viewDx, viewDy);
}

void CArrowItem::MoveHandle(int x, int y, int viewX, int viewY, int handle) {
    ClearCache();
    if (handle == 1) {
        m_point1 = POINT{x, y};
        m_viewPoint1 = POINT{viewX, viewY};
    } else if (handle == 2) {
        m_point2 = POINT{x, y};
        m_viewPoint2 = POINT{viewX, viewY};
    }
}

void CArrowItem::Draw(gfx::Graphics& graphics) {
    const gfx::ArrowCap head(4.0f, 4.0f, true);
    gfx::Pen pen(m_tracking ? kTrackingOutline : OpaqueArgb(m_color), 1.0f);
    pen.SetAlignment(Gdiplus::PenAlignmentInset);
    // The head is sized in pen widths, and a pen thinner than about 1.4
    // device pixels is drawn without its caps (so under Wine): zoomed out,
    // the pen keeps that width so that the head still shows.
    // https://learn.microsoft.com/en-us/dotnet/api/system.drawing.drawing2d.adjustablearrowcap.height
    constexpr float kWidth = 1.75f;
    constexpr float kThinnestWithHead = 1.5f;
    const float scale = graphics.GetScale();
    pen.SetWidth(scale > 0.0f ? std::max(kWidth, kThinnestWithHead / scale) : kWidth);
    pen.SetDashStyle(Gdiplus::DashStyleSolid);
    pen.SetCustomEndCap(head);
    graphics.DrawLine(pen, m_point1.x, m_point1.y, m_point2.x, m_point2.y);
}

void CArrowItem::DrawFeedback(gfx::Graphics&) {}

void CArrowItem::ClearCache() noexcept {
    m_hitRegion.reset();
    m_hitPath.reset();
    m_hitPen.reset();
}
