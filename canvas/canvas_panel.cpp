#include "canvas/canvas_panel.h"

#include <algorithm>

#include "canvas/canvas_item_factory.h"
#include "canvas/crop_item.h"
#include "canvas/drawing_static.h"
#include "canvas/rect_math.h"
#include "common/scroll_axis.h"
#include "framework/application.h"
#include "resource.h"

CCanvasPanel::CCanvasPanel(CDrawingStatic& surface, ICanvasHost& host)
    : m_surface(surface), m_host(host) {}

CCanvasPanel::~CCanvasPanel() {
    m_surface.RemoveListener(this);
    if (m_scrollSource)
        m_scrollSource->RemoveListener(this);
    m_selected = nullptr;
    m_activeCrop = nullptr;
    m_items.clear();
    m_redo.clear();
    m_deleted.clear();
    // GDI+ stops, then COM, as the members go.
}

bool CCanvasPanel::StartGraphics() {
    return m_graphics.Start();
}

void CCanvasPanel::Connect(CNotifier<CLumvexDlgEvents>* scrollSource) {
    m_surface.AddListener(this);
    if (m_scrollSource && m_scrollSource != scrollSource)
        m_scrollSource->RemoveListener(this);
    m_scrollSource = scrollSource;
    if (m_scrollSource)
        m_scrollSource->AddListener(this);
}

// ---- Document operations

void CCanvasPanel::SetBitmap(fw::GdiBitmap picture) {
    // Typing ends first: a popup that went with its item would leave the
    // keyboard nowhere.
    EndEditAll();
    // The old capture goes first: two at once would double the memory held.
    m_picture = CPixelBuffer();
    m_picture = CPixelBuffer(std::move(picture));
    m_renderer.DropScaledPicture();
    SetSelectedItem(nullptr);
    m_activeCrop = nullptr;
    // A new document: nothing of the old one, not even what a tool holds.
    if (CCanvasItemFactory* factory = m_host.GetCurrentFactory())
        factory->SetPendingItem(nullptr);
    m_undoSteps.clear();
    m_redoSteps.clear();
    m_items.clear();
    m_redo.clear();
    m_deleted.clear();
    // Zoom and offsets stay, the offsets within the new picture.
    SetTransform(CViewTransform(m_transform.ZoomX(), m_transform.ZoomY(),
                                ClampedOffset(m_transform.OffsetX(), true),
                                ClampedOffset(m_transform.OffsetY(), false)));
    m_renderer.PrepareScaledPicture();
}

void CCanvasPanel::SetZoom(float zoomX, float zoomY) {
    SetTransform(CViewTransform(zoomX, zoomY, 0, 0));
    m_renderer.PrepareScaledPicture();
}

void CCanvasPanel::OnScrollHorz(Sender*, int position) {
    SetTransform(CViewTransform(m_transform.ZoomX(), m_transform.ZoomY(),
                                ClampedOffset(position, true), m_transform.OffsetY()));
}

void CCanvasPanel::OnScrollVert(Sender*, int position) {
    SetTransform(CViewTransform(m_transform.ZoomX(), m_transform.ZoomY(), m_transform.OffsetX(),
                                ClampedOffset(position, false)));
}

int CCanvasPanel::ClampedOffset(int wanted, bool horizontal) const {
    // The picture never leaves the view: at most as far as its far edge
    // reaching the surface's.
    RECT client{};
    if (HWND surface = GetSurfaceWindow())
        ::GetClientRect(surface, &client);
    const SIZE view = GetPictureViewSize();
    const ScrollAxis axis{horizontal ? view.cx : view.cy, horizontal ? client.right : client.bottom,
                          wanted};
    return axis.Clamp(wanted);
}

void CCanvasPanel::DropScaledPicture() noexcept {
    m_renderer.DropScaledPicture();
}

void CCanvasPanel::SetTransform(const CViewTransform& transform) {
    m_transform = transform;
    for (auto& item : m_items)
        item->UpdateViewCoords(m_transform);
    for (auto& item : m_redo)
        item->UpdateViewCoords(m_transform);
    for (auto& item : m_deleted)
        item->UpdateViewCoords(m_transform);
    if (HWND surface = GetSurfaceWindow())
        ::InvalidateRect(surface, nullptr, TRUE);
}

void CCanvasPanel::AddItem(CCanvasItem* item) {
    if (!item || item->IsPointerItem())
        return;
    CCanvasItemFactory* factory = m_host.GetCurrentFactory();
    if (!factory || factory->GetPendingItem() != item)
        return;
    AddItem(factory->ReleasePendingItem());
}

void CCanvasPanel::AddItem(std::unique_ptr<CCanvasItem> item) {
    if (!item || item->IsPointerItem())
        return;
    CCanvasItem* added = item.get();
    m_items.push_back(std::move(item));
    SetSelectedItem(added);
    if (added->IsCropItem())
        m_activeCrop = added;
    m_undoSteps.push_back(Step{Step::Kind::Added, added, m_items.size() - 1, false});
    m_redoSteps.clear();
    m_redo.clear();
}

void CCanvasPanel::SetSelectedItem(CCanvasItem* item) noexcept {
    if (m_selected)
        m_selected->SetSelected(false);
    m_selected = item;
    if (m_selected)
        m_selected->SetSelected(true);
}

namespace {

// Takes an item out of a list; null when it is not there.
std::unique_ptr<CCanvasItem> TakeOut(CCanvasPanel::ItemList& list, const CCanvasItem* item,
                                     size_t* index = nullptr) {
    const auto it = std::find_if(list.begin(), list.end(),
                                 [item](const auto& entry) { return entry.get() == item; });
    if (it == list.end())
        return nullptr;
    if (index)
        *index = static_cast<size_t>(it - list.begin());
    std::unique_ptr<CCanvasItem> taken = std::move(*it);
    list.erase(it);
    return taken;
}

} // namespace

void CCanvasPanel::Undo() {
    EndEditAll();
    if (m_undoSteps.empty())
        return;
    const Step step = m_undoSteps.back();
    m_undoSteps.pop_back();
    if (step.kind == Step::Kind::Added) {
        std::unique_ptr<CCanvasItem> item = TakeOut(m_items, step.item);
        if (!item)
            return;
        if (item.get() == m_selected)
            SetSelectedItem(nullptr);
        if (item.get() == m_activeCrop) {
            // The newest crop left becomes the output again.
            m_activeCrop = nullptr;
            for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) {
                if ((*it)->IsCropItem()) {
                    m_activeCrop = it->get();
                    break;
                }
            }
        }
        m_redo.push_back(std::move(item));
    } else {
        // A deletion undone: the item comes back where it was drawn, as it
        // was when deleted.
        std::unique_ptr<CCanvasItem> item = TakeOut(m_deleted, step.item);
        if (!item)
            return;
        m_items.insert(m_items.begin() +
                           static_cast<std::ptrdiff_t>(std::min(step.index, m_items.size())),
                       std::move(item));
        if (step.wasActiveCrop)
            m_activeCrop = step.item;
        SetSelectedItem(step.item);
    }
    m_redoSteps.push_back(step);
    RepaintSurface(true);
}

void CCanvasPanel::Redo() {
    EndEditAll();
    if (m_redoSteps.empty())
        return;
    const Step step = m_redoSteps.back();
    m_redoSteps.pop_back();
    if (step.kind == Step::Kind::Deleted) {
        Delete(step.item);
        RepaintSurface(true);
        return;
    }
    std::unique_ptr<CCanvasItem> item = TakeOut(m_redo, step.item);
    if (!item)
        return;
    if (item->IsCropItem())
        m_activeCrop = item.get();
    m_items.push_back(std::move(item));
    m_undoSteps.push_back(Step{Step::Kind::Added, step.item, m_items.size() - 1, false});
    RepaintSurface(true);
}

void CCanvasPanel::DeleteSelectedItem() {
    // A box being typed into keeps what was typed, for undo to bring back.
    EndEditAll();
    if (!m_selected)
        return;
    Delete(m_selected);
    RepaintSurface(true);
}

void CCanvasPanel::Delete(CCanvasItem* doomed) {
    const bool wasActiveCrop = doomed == m_activeCrop;
    size_t index = 0;
    std::unique_ptr<CCanvasItem> item = TakeOut(m_items, doomed, &index);
    if (!item)
        return;
    const bool wasSelected = doomed == m_selected;
    if (wasSelected)
        SetSelectedItem(nullptr);
    if (wasActiveCrop)
        m_activeCrop = nullptr;
    m_deleted.push_back(std::move(item));
    m_undoSteps.push_back(Step{Step::Kind::Deleted, doomed, index, wasActiveCrop});
    if (!wasSelected)
        return;
    // The first item left is selected, but never an older crop: it is not
    // shown, and its handles would frame nothing.
    for (const auto& candidate : m_items) {
        if (!candidate->IsCropItem() || candidate.get() == m_activeCrop) {
            SetSelectedItem(candidate.get());
            break;
        }
    }
}

// ---- Coordinates and the surface

POINT CCanvasPanel::ViewToImage(POINT view) const {
    return m_transform.ToImage(view);
}

HWND CCanvasPanel::GetSurfaceWindow() const {
    return m_surface.Hwnd();
}

void CCanvasPanel::RepaintSurface(bool erase) {
    if (HWND surface = GetSurfaceWindow()) {
        ::InvalidateRect(surface, nullptr, erase ? TRUE : FALSE);
        ::UpdateWindow(surface);
    }
}

void CCanvasPanel::EndEditAll() {
    for (auto& item : m_items)
        item->EndEdit();
}

// ---- Painting

void CCanvasPanel::OnPaint(CDrawingStatic*, HDC dc, const RECT& update) {
    PaintContent(dc, update);
}

void CCanvasPanel::PaintContent(HDC dc, const RECT& update) {
    m_renderer.Paint(dc, update, CollectDrawn(true));
}

SIZE CCanvasPanel::GetPictureViewSize() const {
    const RECT view = m_renderer.PictureViewRect();
    return SIZE{RectWidth(view), RectHeight(view)};
}

CTileRenderer::DrawList CCanvasPanel::CollectDrawn(bool forScreen) const {
    CTileRenderer::DrawList drawn;
    auto add = [&](CCanvasItem* item) { drawn.items.emplace_back(item, item->GetDrawBounds()); };
    for (const auto& item : m_items) {
        if (!item->IsCropItem())
            add(item.get());
    }
    if (!forScreen)
        return drawn;
    // Only while it is dragged out: a click that committed nothing leaves an
    // item without a size, and a crop without a size would darken all.
    if (CCanvasItemFactory* factory = m_host.GetCurrentFactory()) {
        CCanvasItem* pending = factory->GetPendingItem();
        if (pending && pending->IsTracking())
            add(pending);
    }
    drawn.shade = m_activeCrop;
    if (m_selected && m_selected->IsSelected() && m_selected->GetHandleCount() > 0) {
        drawn.handles = m_selected;
        drawn.handleBounds = m_selected->GetHandleRect(1);
        for (int n = 2; n <= m_selected->GetHandleCount(); ++n) {
            const RECT handle = m_selected->GetHandleRect(n);
            ::UnionRect(&drawn.handleBounds, &drawn.handleBounds, &handle);
        }
    }
    return drawn;
}

// ---- Mouse

void CCanvasPanel::OnLButtonDown(UINT, POINT point) {
    EndEditAll();
    if (CCanvasItem* item = PendingItemForPress())
        item->OnLButtonDown(point, ViewToImage(point));
}

CCanvasItem* CCanvasPanel::PendingItemForPress() {
    CCanvasItemFactory* factory = m_host.GetCurrentFactory();
    if (!factory)
        return nullptr;
    if (!factory->GetPendingItem())
        factory->SetPendingItem(factory->CreateItem(this));
    CCanvasItem* item = factory->GetPendingItem();
    if (item)
        item->SetColor(m_host.GetCurrentColor());
    return item;
}

void CCanvasPanel::OnMouseMove(UINT, POINT point) {
    CCanvasItemFactory* factory = m_host.GetCurrentFactory();
    if (!factory)
        return;
    const POINT image = ViewToImage(point);
    factory->UpdateCursor(point.x, point.y, image.x, image.y);
    if (CCanvasItem* item = factory->GetPendingItem()) {
        item->SetColor(m_host.GetCurrentColor());
        item->OnMouseMove(point, image);
    }
}

void CCanvasPanel::OnLButtonUp(UINT, POINT point) {
    CCanvasItemFactory* factory = m_host.GetCurrentFactory();
    if (!factory)
        return;
    const POINT image = ViewToImage(point);
    if (CCanvasItem* item = factory->GetPendingItem()) {
        item->SetColor(m_host.GetCurrentColor());
        item->OnLButtonUp(point, image);
    }
}

void CCanvasPanel::OnLButtonDblClk(UINT, POINT point) {
    // The second press of a double click: the pointer gives it its own
    // meaning; the drawing tools take it as a press, or a second stroke
    // started quickly would be lost.
    EndEditAll();
    if (CCanvasItem* item = PendingItemForPress())
        item->OnLButtonDblClk(point, ViewToImage(point));
}

void CCanvasPanel::OnSetCursor(POINT point) {
    CCanvasItemFactory* factory = m_host.GetCurrentFactory();
    if (!factory) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        return;
    }
    const POINT image = ViewToImage(point);
    factory->UpdateCursor(point.x, point.y, image.x, image.y);
}

void CCanvasPanel::OnRButtonDown(UINT, POINT) {}

void CCanvasPanel::OnRButtonUp(UINT, POINT point) {
    EndEditAll();
    const POINT image = ViewToImage(point);
    for (auto& item : m_items) {
        // An older crop is not shown: its border must not be selectable.
        if (item->IsCropItem() && item.get() != m_activeCrop)
            continue;
        if (item->HitTest(image.x, image.y) == 0) {
            SetSelectedItem(item.get());
            RepaintSurface(true);
            break;
        }
    }

    HWND owner = m_host.GetMenuOwner();
    fw::Menu menu(::LoadMenuW(fw::ResourceInstance(), MAKEINTRESOURCEW(IDR_CONTEXT_MENU)));
    HMENU popup = menu ? ::GetSubMenu(menu.get(), 0) : nullptr;
    if (!popup)
        return;
    POINT screen = point;
    ::ClientToScreen(GetSurfaceWindow(), &screen);
    // In the foreground, so that a click elsewhere closes the menu:
    // https://learn.microsoft.com/en-us/windows/win32/api/winuser/nf-winuser-trackpopupmenu
    if (owner)
        ::SetForegroundWindow(owner);
    ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, screen.x, screen.y, 0,
                     owner, nullptr);
}
