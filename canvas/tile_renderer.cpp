#include "canvas/tile_renderer.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "canvas/canvas_item.h"
#include "canvas/crop_item.h"
#include "canvas/rect_math.h"

namespace {

// Paints go through the buffer in bands of tiles of this size, each tile
// drawing only the items that meet it.
constexpr LONG kTileSize = 256;
LONG AlignDown(LONG value, LONG step) {
    const LONG aligned = value / step * step;
    return aligned > value ? aligned - step : aligned;
}

bool IsActualSize(const CViewTransform& transform) {
    return transform.ZoomX() == 1.0f && transform.ZoomY() == 1.0f;
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
                     static_cast<float>(RectWidth(part)) / zoomX,
                     static_cast<float>(RectHeight(part)) / zoomY);
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

void CTileRenderer::PrepareScaledPicture() {
    if (!m_picture || IsActualSize(m_transform)) {
        m_scaled.Drop();
        return;
    }
    const RECT view = PictureViewRect();
    m_scaled.Prepare(m_picture, SIZE{RectWidth(view), RectHeight(view)});
}

void CTileRenderer::DropScaledPicture() noexcept {
    m_scaled.Drop();
}

RECT CTileRenderer::PictureViewRect() const {
    const LONG right = std::lround(static_cast<float>(m_picture.Width()) * m_transform.ZoomX());
    const LONG bottom = std::lround(static_cast<float>(m_picture.Height()) * m_transform.ZoomY());
    return RECT{-m_transform.OffsetX(), -m_transform.OffsetY(), right - m_transform.OffsetX(),
                bottom - m_transform.OffsetY()};
}

void CTileRenderer::BlitPicture(HDC target, POINT origin, const RECT& area) const {
    // At actual size a copy out of the picture; zoomed, out of the picture
    // stretched once for this zoom.
    const bool actualSize = IsActualSize(m_transform);
    if (actualSize || m_scaled) {
        const CBitmapDc source(actualSize ? m_picture.Handle() : m_scaled.Handle());
        if (source)
            ::BitBlt(target, area.left - origin.x, area.top - origin.y, RectWidth(area),
                     RectHeight(area), source.get(), area.left + m_transform.OffsetX(),
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
    ::StretchBlt(target, view.left - origin.x, view.top - origin.y, RectWidth(view),
                 RectHeight(view), source.get(), 0, 0, m_picture.Width(), m_picture.Height(),
                 SRCCOPY);
    ::RestoreDC(target, saved);
}

void CTileRenderer::Paint(HDC dc, const RECT& update, const DrawList& drawn) {
    if (!m_picture)
        return;
    // Only the picture is ever shown: nothing is drawn outside it.
    const RECT area = Intersection(update, PictureViewRect());
    if (::IsRectEmpty(&area))
        return;
    // Made again after the window hid; a zoom change made it already.
    PrepareScaledPicture();
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

void CTileRenderer::PaintBand(HDC dc, const RECT& band, const DrawList& drawn) {
    if (m_backBuffer.Width() < RectWidth(band) || m_backBuffer.Height() < RectHeight(band)) {
        const int width = std::max(m_backBuffer.Width(), RectWidth(band));
        const int height = std::max(m_backBuffer.Height(), RectHeight(band));
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
    ::BitBlt(dc, band.left, band.top, RectWidth(band), RectHeight(band), bufferDc.get(),
             band.left - origin.x, band.top - origin.y, SRCCOPY);
}

void CTileRenderer::ShadeOutside(HDC target, POINT origin, const RECT& area,
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
        ::GdiAlphaBlend(target, r.left - origin.x, r.top - origin.y, RectWidth(r), RectHeight(r),
                        source.get(), 0, 0, 1, 1, blend);
    }
}

bool CTileRenderer::DrawList::Meets(const RECT& image) const {
    if (shade || (handles && MeetsRect(handleBounds, image)))
        return true;
    return std::any_of(items.begin(), items.end(),
                       [&](const auto& entry) { return MeetsRect(entry.second, image); });
}

void CTileRenderer::DrawTiles(CPixelBuffer& buffer, POINT origin, const RECT& area,
                              const CViewTransform& mapping, const DrawnItems& items, LONG tileSize,
                              CItemRasters* rasters) {
    for (LONG top = AlignDown(area.top, tileSize); top < area.bottom; top += tileSize) {
        for (LONG left = AlignDown(area.left, tileSize); left < area.right; left += tileSize) {
            const RECT tile = Intersection(RECT{left, top, left + tileSize, top + tileSize}, area);
            const RECT image = ImageArea(tile, mapping);
            if (std::none_of(items.begin(), items.end(),
                             [&](const auto& entry) { return MeetsRect(entry.second, image); }))
                continue;
            // The graphics' device pixels start at the tile's corner.
            const POINT corner{tile.left - origin.x, tile.top - origin.y};
            const RECT inBuffer{corner.x, corner.y, corner.x + RectWidth(tile),
                                corner.y + RectHeight(tile)};
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

void CTileRenderer::DrawHandlesOver(const CPixelBuffer& buffer, POINT origin, const RECT& area,
                                    CCanvasItem& item) const {
    // One by one: a crop's handles lie far apart.
    for (int n = 1; n <= item.GetHandleCount(); ++n) {
        const RECT part = Intersection(DeviceArea(item.GetHandleRect(n), m_transform), area);
        DrawOnPart(buffer, origin, part, m_transform,
                   [&](gfx::Graphics& graphics) { item.DrawHandle(graphics, n); });
    }
}
