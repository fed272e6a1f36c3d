#include "canvas/pointer_item.h"

#include "canvas/canvas_panel.h"

namespace {

// Around what an item covers: its pen, arrowhead and handles.
constexpr int kRepaintMargin = 6;

long long Area(const RECT& r) {
    return static_cast<long long>(r.right - r.left) * (r.bottom - r.top);
}

} // namespace

CPointerItem::CPointerItem(CCanvasPanel* owner) noexcept : CCanvasItem(owner, 0, false) {}

CCanvasItem* CPointerItem::BodyAt(POINT image) const {
    if (!m_owner)
        return nullptr;
    for (const auto& item : m_owner->GetItems()) {
        if (item->HitTest(image.x, image.y) == 0)
            return item.get();
    }
    return nullptr;
}

void CPointerItem::Select(CCanvasItem* item) {
    if (!m_owner || m_owner->GetSelectedItem() == item)
        return;
    m_owner->SetSelectedItem(item);
    RepaintSurface(nullptr, true);
}

void CPointerItem::OnLButtonDown(POINT view, POINT image) {
    m_mode = Mode::None;
    m_target = nullptr;
    m_handle = 0;
    if (m_owner) {
        CCanvasItem* selected = m_owner->GetSelectedItem();
        const int hit = selected ? selected->HitTest(image.x, image.y) : -1;
        if (hit > 0) {
            m_mode = Mode::Resize;
            m_target = selected;
            m_handle = hit;
        } else if (CCanvasItem* item = BodyAt(image)) {
            // An older crop is not shown, but its border still takes the
            // press: what lies under it is not selected either.
            if (!item->IsCropItem() || item == m_owner->GetActiveCrop()) {
                m_mode = Mode::Move;
                Select(item);
            }
        }
    }
    m_lastImage = image;
    m_lastView = view;
    CCanvasItem::OnLButtonDown(view, image);
}

template <typename Change> void CPointerItem::RepaintAround(CCanvasItem& item, Change change) {
    RECT before = item.GetViewBounds();
    ::InflateRect(&before, kRepaintMargin, kRepaintMargin);
    change();
    RECT after = item.GetViewBounds();
    ::InflateRect(&after, kRepaintMargin, kRepaintMargin);
    // One paint for both when they overlap (a move of a few pixels): the
    // paint then covers little more than the two; two paints when apart.
    RECT around{};
    ::UnionRect(&around, &before, &after);
    if (Area(around) <= Area(before) + Area(after)) {
        if (HWND surface = SurfaceWindow())
            ::InvalidateRect(surface, &before, FALSE);
        RepaintSurface(&after, false);
    } else {
        RepaintSurface(&before, false);
        RepaintSurface(&after, false);
    }
}

void CPointerItem::OnMouseMove(POINT view, POINT image) {
    if (!m_tracking)
        return;
    const int dx = image.x - m_lastImage.x;
    const int dy = image.y - m_lastImage.y;
    const int viewDx = view.x - m_lastView.x;
    const int viewDy = view.y - m_lastView.y;
    m_lastImage = image;
    m_lastView = view;

    CCanvasItem* selected = m_owner ? m_owner->GetSelectedItem() : nullptr;
    // The target must still be the selected item: Delete, undo or a new
    // capture during the drag may have taken it away (or destroyed it).
    if (m_mode == Mode::Resize && m_target && m_target == selected) {
        RepaintAround(*m_target,
                      [&] { m_target->MoveHandle(image.x, image.y, view.x, view.y, m_handle); });
    } else if (m_mode == Mode::Move && selected && (dx || dy || viewDx || viewDy)) {
        RepaintAround(*selected, [&] { selected->Offset(dx, dy, viewDx, viewDy); });
    }
    // Point 2 follows the mouse; there is no feedback to draw.
    m_point2 = image;
    m_viewPoint2 = view;
}

void CPointerItem::OnLButtonDblClk(POINT, POINT image) {
    CCanvasItem* item = BodyAt(image);
    if (!item)
        return;
    if (!item->IsCropItem()) {
        Select(item);
        item->BeginEdit();
    } else if (item == m_owner->GetActiveCrop()) {
        Select(item);
    }
}

void CPointerItem::Draw(gfx::Graphics&) {}

void CPointerItem::DrawFeedback(gfx::Graphics&) {}

void CPointerItem::DrawHandles(gfx::Graphics&) {}

int CPointerItem::HitTest(int, int) {
    return -1;
}
