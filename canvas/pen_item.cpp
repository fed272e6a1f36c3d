#include "canvas/pen_item.h"

#include <algorithm>

#include "canvas/canvas_panel.h"
#include "common/argb.h"

namespace {

// How far a 3-pixel stroke with anti-aliasing reaches from its points.
constexpr int kPenReach = 4;

} // namespace

CPenItem::CPenItem(CCanvasPanel* owner) noexcept : CCanvasItem(owner, 2, false) {}

POINT CPenItem::GetHandlePoint(int handle) const {
    if (handle == 1)
        return m_point1;
    if (handle == 2)
        return m_point2;
    return POINT{0, 0};
}

bool CPenItem::HitTestBody(int x, int y) {
    if (!m_hitRegion) {
        m_hitPath = gfx::Path::Create();
        for (std::size_t i = 1; i < m_points.size(); ++i)
            m_hitPath.AddLine(m_points[i - 1].x, m_points[i - 1].y, m_points[i].x, m_points[i].y);
        m_hitPath.CloseFigure();
        m_hitRegion = gfx::Region::FromPath(m_hitPath);
    }
    return m_hitRegion.Contains(x, y);
}

void CPenItem::Offset(int dx, int dy, int viewDx, int viewDy) {
    ClearCache();
    for (POINT& point : m_points) {
        point.x += dx;
        point.y += dy;
    }
    OffsetPoints(dx, dy, viewDx, viewDy);
}

gfx::Pen CPenItem::MakePen() const {
    gfx::Pen pen(OpaqueArgb(m_color), 1.0f);
    pen.SetAlignment(Gdiplus::PenAlignmentInset);
    pen.SetWidth(3.0f);
    pen.SetDashStyle(Gdiplus::DashStyleSolid);
    return pen;
}

void CPenItem::Draw(gfx::Graphics& graphics) {
    // One line through every point rather than a call per segment: far
    // fewer calls, and round joins where the segments meet instead of
    // notches. A point repeated by the mouse adds no segment.
    std::vector<POINT> line;
    line.reserve(m_points.size());
    for (const POINT& p : m_points) {
        if (line.empty() || line.back().x != p.x || line.back().y != p.y)
            line.push_back(p);
    }
    if (line.size() < 2)
        return;
    gfx::Pen pen = MakePen();
    pen.SetLineJoin(Gdiplus::LineJoinRound);
    graphics.DrawLines(pen, line.data(), static_cast<int>(line.size()));
}

RECT CPenItem::GetDrawBounds() const {
    if (m_points.empty())
        return RECT{};
    RECT bounds{m_points[0].x, m_points[0].y, m_points[0].x + 1, m_points[0].y + 1};
    for (const POINT& p : m_points) {
        bounds.left = std::min(bounds.left, p.x);
        bounds.top = std::min(bounds.top, p.y);
        bounds.right = std::max(bounds.right, p.x + 1);
        bounds.bottom = std::max(bounds.bottom, p.y + 1);
    }
    ::InflateRect(&bounds, kPenReach, kPenReach);
    return bounds;
}

void CPenItem::AppendAppearance(std::vector<std::int64_t>& appearance) const {
    CCanvasItem::AppendAppearance(appearance);
    appearance.push_back(static_cast<std::int64_t>(m_points.size()));
    for (const POINT& p : m_points)
        appearance.insert(appearance.end(), {p.x, p.y});
}

RECT CPenItem::GetViewBounds() const {
    if (!m_owner || m_points.empty())
        return GetViewRect();
    const RECT image = GetDrawBounds();
    const CViewTransform& transform = m_owner->GetTransform();
    const POINT a = transform.ToView(POINT{image.left, image.top});
    const POINT b = transform.ToView(POINT{image.right, image.bottom});
    return RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

void CPenItem::DrawFeedback(gfx::Graphics& graphics) {
    graphics.DrawLine(MakePen(), m_previousView.x, m_previousView.y, m_currentView.x,
                      m_currentView.y);
}

void CPenItem::AddPoint(POINT view, POINT image) {
    ClearCache();
    m_points.push_back(image);
    m_previousView = m_currentView;
    m_currentView = view;
}

void CPenItem::OnLButtonDown(POINT view, POINT image) {
    // A click that committed nothing leaves its point behind; a new stroke
    // starts afresh instead of joining it.
    m_points.clear();
    CCanvasItem::OnLButtonDown(view, image);
    AddPoint(view, image);
}

void CPenItem::OnMouseMove(POINT view, POINT image) {
    if (!m_tracking)
        return;
    AddPoint(view, image);
    CCanvasItem::OnMouseMove(view, image);
}

void CPenItem::OnLButtonUp(POINT view, POINT image) {
    if (!m_tracking)
        return;
    AddPoint(view, image);
    CCanvasItem::OnLButtonUp(view, image);
}

bool CPenItem::HasExtent() const {
    return std::any_of(m_points.begin(), m_points.end(),
                       [this](POINT p) { return p.x != m_point1.x || p.y != m_point1.y; });
}

void CPenItem::ClearCache() noexcept {
    m_hitRegion.reset();
    m_hitPath.reset();
}
