#include "canvas/canvas_panel.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "canvas/canvas_item_factory.h"
#include "canvas/crop_item.h"
#include "canvas/drawing_static.h"
#include "common/scroll_axis.h"
#include "framework/application.h"
#include "resource.h"

namespace {

constexpr LONG kJpegQuality = 90;
// EncoderQuality, spelled out: the platform headers only declare it.
// https://learn.microsoft.com/en-us/dotnet/api/system.drawing.imaging.encoder.-ctor
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

// Paints go through the buffer in bands of tiles of this size, each tile
// drawing only the items that meet it.
constexpr LONG kTileSize = 256;
// The output is drawn in larger tiles: it draws every item afresh, and under
// GDI+ a line or a fill costs in proportion to the rectangle around it,
// again for every tile it crosses.
constexpr LONG kOutputTileSize = 2048;
LONG AlignDown(LONG value, LONG step) {
    const LONG aligned = value / step * step;
    return aligned > value ? aligned - step : aligned;
}

bool IsActualSize(const CViewTransform& transform) {
    return transform.ZoomX() == 1.0f && transform.ZoomY() == 1.0f;
}

bool MeetsRect(const RECT& a, const RECT& b) {
    RECT common{};
    return ::IntersectRect(&common, &a, &b) != FALSE;
}

// The device pixels an image rectangle may touch, with one more on each side
// for anti-aliasing and rounding.
RECT DeviceArea(const RECT& image, const CViewTransform& mapping) {
    const float offsetX = static_cast<float>(mapping.OffsetX());
    const float offsetY = static_cast<float>(mapping.OffsetY());
    auto floorOf = [](float v) { return static_cast<LONG>(std::floor(v)); };
    auto ceilOf = [](float v) { return static_cast<LONG>(std::ceil(v)); };
    return RECT{floorOf(static_cast<float>(image.left) * mapping.ZoomX() - offsetX) - 1,
                floorOf(static_cast<float>(image.top) * mapping.ZoomY() - offsetY) - 1,
                ceilOf(static_cast<float>(image.right) * mapping.ZoomX() - offsetX) + 1,
                ceilOf(static_cast<float>(image.bottom) * mapping.ZoomY() - offsetY) + 1};
}

// Draws on a GDI+ bitmap over one part of the buffer only (device
// coordinates, the buffer's (0, 0) at origin), through the mapping from
// image coordinates.
void DrawOnPart(const CPixelBuffer& buffer, POINT origin, const RECT& part,
                const CViewTransform& mapping, const std::function<void(gfx::Graphics&)>& draw) {
    if (::IsRectEmpty(&part))
        return;
    const gfx::Bitmap pixels = buffer.Over(RECT{part.left - origin.x, part.top - origin.y,
                                                part.right - origin.x, part.bottom - origin.y});
    if (!pixels)
        return;
    gfx::Graphics graphics = gfx::Graphics::FromImage(pixels);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    const float zoomX = mapping.ZoomX();
    const float zoomY = mapping.ZoomY();
    const float offsetX = static_cast<float>(mapping.OffsetX());
    const float offsetY = static_cast<float>(mapping.OffsetY());
    gfx::Matrix toPart = gfx::Matrix::Identity();
    toPart.Translate(-offsetX - static_cast<float>(part.left),
                     -offsetY - static_cast<float>(part.top));
    toPart.Scale(zoomX, zoomY);
    graphics.SetTransform(toPart);
    graphics.SetClip((static_cast<float>(part.left) + offsetX) / zoomX,
                     (static_cast<float>(part.top) + offsetY) / zoomY,
                     static_cast<float>(Width(part)) / zoomX,
                     static_cast<float>(Height(part)) / zoomY);
    draw(graphics);
}

// The image pixels a device rectangle shows, with one more on each side for
// the rounding at fractional zoom.
RECT ImageArea(const RECT& device, const CViewTransform& mapping) {
    const float offsetX = static_cast<float>(mapping.OffsetX());
    const float offsetY = static_cast<float>(mapping.OffsetY());
    auto floorOf = [](float v) { return static_cast<LONG>(std::floor(v)); };
    auto ceilOf = [](float v) { return static_cast<LONG>(std::ceil(v)); };
    return RECT{floorOf((static_cast<float>(device.left) + offsetX) / mapping.ZoomX()) - 1,
                floorOf((static_cast<float>(device.top) + offsetY) / mapping.ZoomY()) - 1,
                ceilOf((static_cast<float>(device.right) + offsetX) / mapping.ZoomX()) + 1,
                ceilOf((static_cast<float>(device.bottom) + offsetY) / mapping.ZoomY()) + 1};
}

} // namespace

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
    m_pictureSize = SIZE{m_picture.Width(), m_picture.Height()};
    m_scaled.Drop();
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
    PrepareScaledPicture();
}

void CCanvasPanel::SetZoom(float zoomX, float zoomY) {
    SetTransform(CViewTransform(zoomX, zoomY, 0, 0));
    PrepareScaledPicture();
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

void CCanvasPanel::PrepareScaledPicture() {
    if (!m_picture || IsActualSize(m_transform)) {
        m_scaled.Drop();
        return;
    }
    m_scaled.Prepare(m_picture, GetPictureViewSize());
}

void CCanvasPanel::DropScaledPicture() noexcept {
    m_scaled.Drop();
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

RECT CCanvasPanel::PictureViewRect() const {
    const LONG right = std::lround(static_cast<float>(m_pictureSize.cx) * m_transform.ZoomX());
    const LONG bottom = std::lround(static_cast<float>(m_pictureSize.cy) * m_transform.ZoomY());
    return RECT{-m_transform.OffsetX(), -m_transform.OffsetY(), right - m_transform.OffsetX(),
                bottom - m_transform.OffsetY()};
}

SIZE CCanvasPanel::GetPictureViewSize() const {
    const RECT view = PictureViewRect();
    return SIZE{Width(view), Height(view)};
}

void CCanvasPanel::BlitPicture(HDC target, POINT origin, const RECT& area) const {
    if (IsActualSize(m_transform)) {
        const CBitmapDc source(m_picture.Handle());
        if (source)
            ::BitBlt(target, area.left - origin.x, area.top - origin.y, Width(area), Height(area),
                     source.get(), area.left + m_transform.OffsetX(),
                     area.top + m_transform.OffsetY(), SRCCOPY);
        return;
    }
    // Zoomed: a copy out of the picture stretched once for this zoom.
    if (m_scaled) {
        const CBitmapDc source(m_scaled.Handle());
        if (source)
            ::BitBlt(target, area.left - origin.x, area.top - origin.y, Width(area), Height(area),
                     source.get(), area.left + m_transform.OffsetX(),
                     area.top + m_transform.OffsetY(), SRCCOPY);
        return;
    }
    // Without memory for that copy: stretched pixel for pixel, which comes
    // out the same whatever part is painted.
    const CBitmapDc source(m_picture.Handle());
    if (!source)
        return;
    const RECT view = PictureViewRect();
    const int saved = ::SaveDC(target);
    ::IntersectClipRect(target, area.left - origin.x, area.top - origin.y, area.right - origin.x,
                        area.bottom - origin.y);
    ::SetStretchBltMode(target, COLORONCOLOR);
    ::StretchBlt(target, view.left - origin.x, view.top - origin.y, Width(view), Height(view),
                 source.get(), 0, 0, m_pictureSize.cx, m_pictureSize.cy, SRCCOPY);
    ::RestoreDC(target, saved);
}

void CCanvasPanel::PaintContent(HDC dc, const RECT& update) {
    if (!m_picture)
        return;
    // Only the picture is ever shown: nothing is drawn outside it.
    const RECT area = Intersection(update, PictureViewRect());
    if (::IsRectEmpty(&area))
        return;
    // Made again after the window hid; a zoom change made it already.
    PrepareScaledPicture();
    const DrawList drawn = CollectDrawn(true);
    if (!drawn.Meets(ImageArea(area, m_transform))) {
        BlitPicture(dc, POINT{0, 0}, area);
        return;
    }
    std::vector<const CCanvasItem*> shown;
    shown.reserve(drawn.items.size());
    for (const auto& entry : drawn.items)
        shown.push_back(entry.first);
    m_rasters.KeepOnly(shown);
    // Items are drawn over the picture in a buffer, band by band of tiles,
    // each band going to the screen in one copy: the buffer needs to be no
    // taller than a band. The buffer is kept from paint to paint: new
    // memory costs more to touch than to draw.
    for (LONG top = AlignDown(area.top, kTileSize); top < area.bottom; top += kTileSize) {
        const RECT band = Intersection(RECT{area.left, top, area.right, top + kTileSize}, area);
        if (!::IsRectEmpty(&band))
            PaintBand(dc, band, drawn);
    }
}

void CCanvasPanel::PaintBand(HDC dc, const RECT& band, const DrawList& drawn) {
    if (m_backBuffer.Width() < Width(band) || m_backBuffer.Height() < Height(band)) {
        const int width = std::max(m_backBuffer.Width(), Width(band));
        const int height = std::max(m_backBuffer.Height(), Height(band));
        m_backBuffer = CPixelBuffer();
        m_backBuffer = CPixelBuffer(width, height);
    }
    if (!m_backBuffer)
        return;
    const POINT origin{band.left, band.top};
    const CBitmapDc bufferDc(m_backBuffer.Handle());
    BlitPicture(bufferDc.get(), origin, band);
    ::GdiFlush(); // GDI+ reads the pixels the blit wrote
    DrawTiles(m_backBuffer, origin, band, m_transform, drawn.items, kTileSize, &m_rasters);
    if (drawn.shade) {
        ShadeOutside(bufferDc.get(), origin, band, drawn.shade->GetImageRect());
        ::GdiFlush();
    }
    if (drawn.handles)
        DrawHandlesOver(m_backBuffer, origin, band, *drawn.handles);
    ::BitBlt(dc, band.left, band.top, Width(band), Height(band), bufferDc.get(),
             band.left - origin.x, band.top - origin.y, SRCCOPY);
}

void CCanvasPanel::ShadeOutside(HDC target, POINT origin, const RECT& area,
                                const RECT& crop) const {
    // GDI blends a whole rectangle in one call where GDI+ on a bitmap would
    // blend pixel by pixel: the shade covers most of the surface.
    const RECT inside{
        std::lround(static_cast<float>(crop.left) * m_transform.ZoomX()) - m_transform.OffsetX(),
        std::lround(static_cast<float>(crop.top) * m_transform.ZoomY()) - m_transform.OffsetY(),
        std::lround(static_cast<float>(crop.right) * m_transform.ZoomX()) - m_transform.OffsetX(),
        std::lround(static_cast<float>(crop.bottom) * m_transform.ZoomY()) - m_transform.OffsetY()};
    const RECT keep = Intersection(inside, area);
    RECT parts[4] = {RECT{area.left, area.top, area.right, area.bottom}, {}, {}, {}};
    int count = 1;
    if (!::IsRectEmpty(&keep)) {
        parts[0] = RECT{area.left, area.top, area.right, keep.top};
        parts[1] = RECT{area.left, keep.bottom, area.right, area.bottom};
        parts[2] = RECT{area.left, keep.top, keep.left, keep.bottom};
        parts[3] = RECT{keep.right, keep.top, area.right, keep.bottom};
        count = 4;
    }
    const CPixelBuffer colour(1, 1);
    const CBitmapDc source(colour.Handle());
    if (!source)
        return;
    ::SetPixelV(source.get(), 0, 0,
                RGB((kCropShade >> 16) & 0xFF, (kCropShade >> 8) & 0xFF, kCropShade & 0xFF));
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(kCropShade >> 24), 0};
    for (int i = 0; i < count; ++i) {
        const RECT& r = parts[i];
        if (::IsRectEmpty(&r))
            continue;
        ::GdiAlphaBlend(target, r.left - origin.x, r.top - origin.y, Width(r), Height(r),
                        source.get(), 0, 0, 1, 1, blend);
    }
}

CCanvasPanel::DrawList CCanvasPanel::CollectDrawn(bool forScreen) const {
    DrawList drawn;
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

bool CCanvasPanel::DrawList::Meets(const RECT& image) const {
    if (shade || (handles && MeetsRect(handleBounds, image)))
        return true;
    return std::any_of(items.begin(), items.end(),
                       [&](const auto& entry) { return MeetsRect(entry.second, image); });
}

void CCanvasPanel::DrawTiles(CPixelBuffer& buffer, POINT origin, const RECT& area,
                             const CViewTransform& mapping, const DrawnItems& items, LONG tileSize,
                             CItemRasters* rasters) const {
    for (LONG top = AlignDown(area.top, tileSize); top < area.bottom; top += tileSize) {
        for (LONG left = AlignDown(area.left, tileSize); left < area.right; left += tileSize) {
            const RECT tile = Intersection(RECT{left, top, left + tileSize, top + tileSize}, area);
            const RECT image = ImageArea(tile, mapping);
            if (std::none_of(items.begin(), items.end(),
                             [&](const auto& entry) { return MeetsRect(entry.second, image); }))
                continue;
            // The graphics' device pixels start at the tile's corner.
            const POINT corner{tile.left - origin.x, tile.top - origin.y};
            const RECT inBuffer{corner.x, corner.y, corner.x + Width(tile),
                                corner.y + Height(tile)};
            DrawOnPart(buffer, origin, tile, mapping, [&](gfx::Graphics& graphics) {
                for (const auto& [item, bounds] : items) {
                    if (!MeetsRect(bounds, image))
                        continue;
                    // An item being dragged out, moved or resized changes
                    // from paint to paint: its pixels are not worth keeping.
                    const bool settled = !item->IsTracking() && !item->IsSelected();
                    RECT place{};
                    const CItemRasters::Pixels* kept =
                        rasters ? rasters->Find(graphics, *item, bounds, settled, place) : nullptr;
                    if (!kept) {
                        item->Draw(graphics);
                        continue;
                    }
                    buffer.BlendFrom(kept->argb.data(), SIZE{kept->width, kept->height},
                                     POINT{place.left + corner.x, place.top + corner.y}, inBuffer);
                }
            });
        }
    }
}

void CCanvasPanel::DrawHandlesOver(const CPixelBuffer& buffer, POINT origin, const RECT& area,
                                   CCanvasItem& item) const {
    // One by one: a crop's handles lie far apart.
    for (int n = 1; n <= item.GetHandleCount(); ++n) {
        const RECT part = Intersection(DeviceArea(item.GetHandleRect(n), m_transform), area);
        DrawOnPart(buffer, origin, part, m_transform,
                   [&](gfx::Graphics& graphics) { item.DrawHandle(graphics, n); });
    }
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

// ---- Output

CPixelBuffer CCanvasPanel::Flatten() const {
    if (!m_picture)
        return {};
    const RECT picture{0, 0, m_pictureSize.cx, m_pictureSize.cy};
    // Not limited to the picture: a crop reaching past it comes out black
    // there.
    const RECT output = m_activeCrop ? m_activeCrop->GetImageRect() : picture;
    if (Width(output) <= 0 || Height(output) <= 0)
        return {};
    CPixelBuffer flat(Width(output), Height(output));
    if (!flat)
        return {};
    const RECT shown = Intersection(output, picture);
    if (::IsRectEmpty(&shown))
        return flat;
    // The output's pixels are the device: image point p lands at p - output's
    // corner. Items end at the picture's edge, as if drawn on the picture.
    const CViewTransform mapping(1.0f, 1.0f, output.left, output.top);
    const RECT area{shown.left - output.left, shown.top - output.top, shown.right - output.left,
                    shown.bottom - output.top};
    {
        const CBitmapDc target(flat.Handle());
        const CBitmapDc source(m_picture.Handle());
        ::BitBlt(target.get(), area.left, area.top, Width(area), Height(area), source.get(),
                 shown.left, shown.top, SRCCOPY);
    }
    ::GdiFlush(); // GDI+ reads the pixels the blit wrote
    DrawTiles(flat, POINT{0, 0}, area, mapping, CollectDrawn(false).items, kOutputTileSize,
              nullptr);
    return flat;
}

bool CCanvasPanel::SaveJpeg(IStream* stream, const wchar_t* path) {
    // What is being typed belongs in the picture.
    EndEditAll();
    const CPixelBuffer flat = Flatten();
    if (!flat)
        return false;
    const gfx::Bitmap image = flat.Over(RECT{0, 0, flat.Width(), flat.Height()});
    if (!image)
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
        stream ? image.Save(stream, encoder, &parameters) : image.Save(path, encoder, &parameters);
    return status == Gdiplus::Ok;
}

bool CCanvasPanel::SaveJpegToStream(IStream* stream) {
    return stream && SaveJpeg(stream, nullptr);
}

bool CCanvasPanel::SaveJpegToFile(const wchar_t* path) {
    return path && *path && SaveJpeg(nullptr, path);
}

fw::GdiBitmap CCanvasPanel::GetFlattenedBitmap() {
    EndEditAll();
    const CPixelBuffer flat = Flatten();
    if (!flat)
        return {};
    // A device-dependent copy, as the clipboard wants it.
    return fw::GdiBitmap(static_cast<HBITMAP>(::CopyImage(flat.Handle(), IMAGE_BITMAP, 0, 0, 0)));
}
