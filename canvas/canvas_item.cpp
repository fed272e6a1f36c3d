#include "canvas/canvas_item.h"

#include <algorithm>
#include <typeinfo>

#include "canvas/canvas_panel.h"
#include "canvas/view_transform.h"
#include "framework/handles.h"

namespace {

// Invalidated around an item's rectangle, so that pen widths, arrowheads and
// handles are repainted too.
constexpr int kRepaintMargin = 6;
// How far drawing may reach past the rectangle: half a pen, an arrowhead,
// anti-aliasing.
constexpr int kDrawMargin = 8;

RECT Normalised(POINT a, POINT b) {
    return RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

RECT Inflated(RECT rect, int by) {
    ::InflateRect(&rect, by, by);
    return rect;
}

bool SamePoint(POINT a, POINT b) {
    return a.x == b.x && a.y == b.y;
}

} // namespace

CCanvasItem::CCanvasItem(CCanvasPanel* owner, int handleCount, bool repaintOnDrag) noexcept
    : m_handleCount(handleCount), m_owner(owner), m_repaintOnDrag(repaintOnDrag) {}

int CCanvasItem::GetHandleCount() const {
    return m_handleCount;
}

POINT CCanvasItem::GetHandlePoint(int) const {
    return POINT{0, 0};
}

RECT CCanvasItem::GetHandleRect(int handle) const {
    const POINT p = GetHandlePoint(handle);
    return RECT{p.x - 3, p.y - 3, p.x + 4, p.y + 4};
}

HCURSOR CCanvasItem::GetHandleCursor(int) const {
    return nullptr;
}

void CCanvasItem::DrawHandles(gfx::Graphics& graphics) {
    for (int n = 1; n <= GetHandleCount(); ++n)
        DrawHandle(graphics, n);
}

void CCanvasItem::DrawHandle(gfx::Graphics& graphics, int handle) {
    if (!m_selected)
        return;
    const RECT r = GetHandleRect(handle);
    graphics.FillRectangle(gfx::SolidBrush(0xFF000000), r.left, r.top, r.right - r.left,
                           r.bottom - r.top);
}

int CCanvasItem::HitTest(int x, int y) {
    if (m_selected) {
        const POINT point{x, y};
        for (int n = 1; n <= GetHandleCount(); ++n) {
            const RECT r = GetHandleRect(n);
            if (::PtInRect(&r, point))
                return n;
        }
    }
    return HitTestBody(x, y) ? 0 : -1;
}

bool CCanvasItem::HitTestBody(int, int) {
    return false;
}

void CCanvasItem::Offset(int, int, int, int) {}

void CCanvasItem::MoveHandle(int, int, int, int, int) {}

void CCanvasItem::BeginEdit() {}

void CCanvasItem::EndEdit() {}

void CCanvasItem::OnLButtonDown(POINT view, POINT image) {
    m_tracking = true;
    m_point1 = m_point2 = image;
    m_viewPoint1 = m_viewPoint2 = view;
}

void CCanvasItem::OnMouseMove(POINT view, POINT image) {
    if (!m_tracking)
        return;
    const RECT before = Inflated(GetViewRect(), kRepaintMargin);
    m_point2 = image;
    m_viewPoint2 = view;
    const RECT after = Inflated(GetViewRect(), kRepaintMargin);

    if (HWND surface = SurfaceWindow()) {
        fw::WindowDc dc(surface);
        // Keep feedback inside the surface while the captured mouse is
        // outside it.
        RECT client{};
        ::GetClientRect(surface, &client);
        ::IntersectClipRect(dc.get(), client.left, client.top, client.right, client.bottom);
        gfx::Graphics screen = gfx::Graphics::FromHdc(dc.get());
        DrawFeedback(screen);
    }
    if (m_repaintOnDrag) {
        RECT changed{};
        ::UnionRect(&changed, &before, &after);
        RepaintSurface(&changed, false);
    }
}

void CCanvasItem::OnLButtonUp(POINT, POINT) {
    if (!m_tracking)
        return;
    m_tracking = false;
    if (!HasExtent())
        return; // a click: stays pending, reused by the next press
    if (m_owner)
        m_owner->AddItem(this);
    RepaintSurface(nullptr, true);
}

void CCanvasItem::OnLButtonDblClk(POINT view, POINT image) {
    // For a drawing tool the second press of a double click is a press.
    OnLButtonDown(view, image);
}

RECT CCanvasItem::GetDrawBounds() const {
    return Inflated(GetImageRect(), kDrawMargin);
}

RECT CCanvasItem::GetViewBounds() const {
    return GetViewRect();
}

RECT CCanvasItem::GetImageRect() const {
    return Normalised(m_point1, m_point2);
}

RECT CCanvasItem::GetViewRect() const {
    return Normalised(m_viewPoint1, m_viewPoint2);
}

void CCanvasItem::UpdateViewCoords(const CViewTransform& transform) {
    POINT points[2] = {m_point1, m_point2};
    transform.ViewMatrix().TransformPoints(points, 2);
    m_viewPoint1 = points[0];
    m_viewPoint2 = points[1];
}

void CCanvasItem::OffsetPoints(int dx, int dy, int viewDx, int viewDy) noexcept {
    m_point1.x += dx;
    m_point1.y += dy;
    m_point2.x += dx;
    m_point2.y += dy;
    m_viewPoint1.x += viewDx;
    m_viewPoint1.y += viewDy;
    m_viewPoint2.x += viewDx;
    m_viewPoint2.y += viewDy;
}

void CCanvasItem::AppendAppearance(std::vector<std::int64_t>& appearance) const {
    const RECT bounds = GetDrawBounds();
    appearance.insert(appearance.end(),
                      {static_cast<std::int64_t>(typeid(*this).hash_code()), m_point1.x, m_point1.y,
                       m_point2.x, m_point2.y, bounds.left, bounds.top, bounds.right, bounds.bottom,
                       static_cast<std::int64_t>(m_color), m_tracking ? 1 : 0});
}

bool CCanvasItem::HasExtent() const {
    return !SamePoint(m_point1, m_point2);
}

HWND CCanvasItem::SurfaceWindow() const {
    return m_owner ? m_owner->GetSurfaceWindow() : nullptr;
}

void CCanvasItem::RepaintSurface(const RECT* rect, bool erase) const {
    if (HWND surface = SurfaceWindow()) {
        ::InvalidateRect(surface, rect, erase ? TRUE : FALSE);
        ::UpdateWindow(surface);
    }
}
