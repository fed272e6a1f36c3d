#include "canvas/canvas_panel.h"

#include <algorithm>

#include "canvas/canvas_item_factory.h"
#include "canvas/drawing_static.h"
#include "resource.h"

namespace {

constexpr LONG kJpegQuality = 90;
// EncoderQuality, spelled out: the platform headers only declare it.
constexpr GUID kEncoderQuality = {
    0x1d5be4b5, 0xfa4a, 0x452d, {0x9c, 0xdd, 0x5d, 0xb3, 0x51, 0x05, 0xe7, 0xeb}};

RECT Intersection(const RECT& a, const RECT& b) {
    RECT result{};
    if (!::IntersectRect(&result, &a, &b))
        return RECT{};
    return result;
}

int Width(const RECT& r) {
    return r.right - r.left;
}
int Height(const RECT& r) {
    return r.bottom - r.top;
}

} // namespace

CCanvasPanel::ComApartment::ComApartment() noexcept
    : m_initialised(SUCCEEDED(::CoInitialize(nullptr))) {}

CCanvasPanel::ComApartment::~ComApartment() {
    if (m_initialised)
        ::CoUninitialize();
}

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
    m_pictureImage.reset();
    // GDI+ stops, then COM, as the members go.
}

bool CCanvasPanel::StartGraphics() {
    if (!m_graphics.Start())
        return false;
    if (m_picture && !m_pictureImage)
        m_pictureImage = gfx::Bitmap::FromHbitmap(m_picture.get());
    return true;
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
    m_pictureImage.reset();
    m_picture = std::move(picture);
    m_pictureSize = SIZE{};
    BITMAP info{};
    if (m_picture && ::GetObjectW(m_picture.get(), sizeof(info), &info) != 0) {
        m_pictureSize = SIZE{info.bmWidth, info.bmHeight};
        m_pictureImage = gfx::Bitmap::FromHbitmap(m_picture.get());
    }
    SetSelectedItem(nullptr);
    m_activeCrop = nullptr;
    m_items.clear();
    m_redo.clear();
    if (HWND surface = GetSurfaceWindow())
        ::InvalidateRect(surface, nullptr, TRUE);
}

void CCanvasPanel::SetZoom(float zoomX, float zoomY) {
    SetTransform(CViewTransform(zoomX, zoomY, 0, 0));
}

void CCanvasPanel::OnScrollHorz(Sender*, int position) {
    SetTransform(
        CViewTransform(m_transform.ZoomX(), m_transform.ZoomY(), position, m_transform.OffsetY()));
}

void CCanvasPanel::OnScrollVert(Sender*, int position) {
    SetTransform(
        CViewTransform(m_transform.ZoomX(), m_transform.ZoomY(), m_transform.OffsetX(), position));
}

void CCanvasPanel::SetTransform(const CViewTransform& transform) {
    m_transform = transform;
    for (auto& item : m_items)
        item->UpdateViewCoords(m_transform);
    for (auto& item : m_redo)
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
    m_redo.clear();
}

void CCanvasPanel::SetSelectedItem(CCanvasItem* item) noexcept {
    if (m_selected)
        m_selected->SetSelected(false);
    m_selected = item;
    if (m_selected)
        m_selected->SetSelected(true);
}

void CCanvasPanel::Undo() {
    if (m_items.empty())
        return;
    std::unique_ptr<CCanvasItem> item = std::move(m_items.back());
    m_items.pop_back();
    if (item.get() == m_selected)
        SetSelectedItem(nullptr);
    if (item->IsCropItem()) {
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
    RepaintSurface(true);
}

void CCanvasPanel::Redo() {
    if (m_redo.empty())
        return;
    std::unique_ptr<CCanvasItem> item = std::move(m_redo.back());
    m_redo.pop_back();
    if (item->IsCropItem())
        m_activeCrop = item.get();
    m_items.push_back(std::move(item));
    RepaintSurface(true);
}

void CCanvasPanel::DeleteSelectedItem() {
    if (!m_selected)
        return;
    CCanvasItem* doomed = m_selected;
    SetSelectedItem(nullptr);
    if (doomed == m_activeCrop)
        m_activeCrop = nullptr;
    std::erase_if(m_items, [doomed](const auto& item) { return item.get() == doomed; });
    if (!m_items.empty())
        SetSelectedItem(m_items.front().get());
    RepaintSurface(true);
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
    if (!m_pictureImage)
        return;
    const gfx::Matrix view = m_transform.ViewMatrix();
    gfx::Matrix toImage = view.Clone();
    toImage.Invert();
    POINT corners[2] = {{update.left, update.top}, {update.right, update.bottom}};
    toImage.TransformPoints(corners, 2);
    RECT area{std::min(corners[0].x, corners[1].x), std::min(corners[0].y, corners[1].y),
              std::max(corners[0].x, corners[1].x), std::max(corners[0].y, corners[1].y)};
    // One more image pixel on each side covers the rounding of the corners
    // at fractional zoom; the device context clips what lies beyond.
    ::InflateRect(&area, 1, 1);
    // Only the picture is ever shown: nothing is drawn outside it.
    area = Intersection(area, RECT{0, 0, m_pictureSize.cx, m_pictureSize.cy});
    if (::IsRectEmpty(&area))
        return;

    // The offscreen bitmap covers only the area: GDI+ drawing costs grow
    // with the size of the bitmap drawn on.
    gfx::Bitmap offscreen = gfx::Bitmap::Create(Width(area), Height(area));
    if (!offscreen)
        return;
    {
        gfx::Graphics graphics = gfx::Graphics::FromImage(offscreen);
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        gfx::Matrix shift = gfx::Matrix::Identity();
        shift.Translate(static_cast<float>(-area.left), static_cast<float>(-area.top));
        graphics.SetTransform(shift);
        graphics.SetClip(area.left, area.top, Width(area), Height(area));
        graphics.DrawImage(m_pictureImage, area.left, area.top, area.left, area.top, Width(area),
                           Height(area));
        DrawItems(graphics, area, true);
    }
    gfx::Graphics screen = gfx::Graphics::FromHdc(dc);
    screen.SetTransform(view);
    screen.DrawImage(offscreen, area.left, area.top, 0, 0, Width(area), Height(area));
}

void CCanvasPanel::DrawItems(gfx::Graphics& graphics, const RECT& area, bool forScreen) const {
    // Items wholly outside the area would draw nothing there; every GDI+
    // call costs, so they are not asked to.
    auto draw = [&](CCanvasItem& item) {
        const RECT bounds = item.GetDrawBounds();
        RECT visible{};
        if (::IntersectRect(&visible, &bounds, &area))
            item.Draw(graphics);
    };
    for (const auto& item : m_items) {
        if (!item->IsCropItem())
            draw(*item);
    }
    if (!forScreen)
        return;
    // Only while it is dragged out: a click that committed nothing leaves an
    // item without a size, and a crop without a size would darken all.
    if (CCanvasItemFactory* factory = m_host.GetCurrentFactory()) {
        CCanvasItem* pending = factory->GetPendingItem();
        if (pending && pending->IsTracking())
            draw(*pending);
    }
    if (m_activeCrop)
        draw(*m_activeCrop);
    if (m_selected)
        m_selected->DrawHandles(graphics);
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
    fw::Menu menu(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_CONTEXT_MENU)));
    HMENU popup = menu ? ::GetSubMenu(menu.get(), 0) : nullptr;
    if (!popup)
        return;
    POINT screen = point;
    ::ClientToScreen(GetSurfaceWindow(), &screen);
    if (owner)
        ::SetForegroundWindow(owner);
    ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, screen.x, screen.y, 0,
                     owner, nullptr);
}

// ---- Output

gfx::Bitmap CCanvasPanel::Flatten() const {
    if (!m_pictureImage)
        return {};
    const RECT picture{0, 0, m_pictureSize.cx, m_pictureSize.cy};
    // Not limited to the picture: a crop reaching past it comes out black
    // there.
    const RECT output = m_activeCrop ? m_activeCrop->GetImageRect() : picture;
    if (Width(output) <= 0 || Height(output) <= 0)
        return {};
    gfx::Bitmap flat = gfx::Bitmap::Create(Width(output), Height(output));
    if (!flat)
        return {};
    const RECT shown = Intersection(output, picture);
    if (!::IsRectEmpty(&shown)) {
        gfx::Graphics graphics = gfx::Graphics::FromImage(flat);
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        gfx::Matrix shift = gfx::Matrix::Identity();
        shift.Translate(static_cast<float>(-output.left), static_cast<float>(-output.top));
        graphics.SetTransform(shift);
        // Items end at the picture's edge, as if drawn on the picture itself.
        graphics.SetClip(shown.left, shown.top, Width(shown), Height(shown));
        graphics.DrawImage(m_pictureImage, shown.left, shown.top, shown.left, shown.top,
                           Width(shown), Height(shown));
        DrawItems(graphics, shown, false);
    }
    return flat;
}

bool CCanvasPanel::SaveJpeg(IStream* stream, const wchar_t* path) {
    const gfx::Bitmap flat = Flatten();
    if (!flat)
        return false;
    CLSID encoder{};
    if (!gfx::FindEncoder(L"image/jpeg", encoder))
        return false;
    LONG quality = kJpegQuality;
    Gdiplus::EncoderParameters parameters{};
    parameters.Count = 1;
    parameters.Parameter[0].Guid = kEncoderQuality;
    parameters.Parameter[0].NumberOfValues = 1;
    parameters.Parameter[0].Type = Gdiplus::EncoderParameterValueTypeLong;
    parameters.Parameter[0].Value = &quality;
    const gfx::Status status =
        stream ? flat.Save(stream, encoder, &parameters) : flat.Save(path, encoder, &parameters);
    return status == Gdiplus::Ok;
}

bool CCanvasPanel::SaveJpegToStream(IStream* stream) {
    return stream && SaveJpeg(stream, nullptr);
}

bool CCanvasPanel::SaveJpegToFile(const wchar_t* path) {
    return path && *path && SaveJpeg(nullptr, path);
}

fw::GdiBitmap CCanvasPanel::GetFlattenedBitmap() {
    const gfx::Bitmap flat = Flatten();
    if (!flat)
        return {};
    const fw::GdiBitmap section = flat.ToHbitmap(0xFF000000);
    if (!section)
        return {};
    // A device-dependent copy, as the clipboard wants it.
    return fw::GdiBitmap(static_cast<HBITMAP>(::CopyImage(section.get(), IMAGE_BITMAP, 0, 0, 0)));
}
