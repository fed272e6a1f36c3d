// Paints the picture and the items over it. Items are drawn on a buffer over
// the picture in square tiles, each on a GDI+ bitmap no larger than itself
// and only with the items that meet it: under GDI+ drawing costs in
// proportion to the bitmap drawn on. The screen also gets the picture shaded
// outside the active crop and the selection's handles, and keeps the items'
// pixels from paint to paint (CItemRasters).
//
// The picture and the transform are the panel's, which outlive the renderer.
#pragma once

#include <utility>
#include <vector>

#include <windows.h>

#include "canvas/item_rasters.h"
#include "canvas/pixel_buffer.h"
#include "canvas/scaled_picture.h"
#include "canvas/view_transform.h"

class CCanvasItem;

class CTileRenderer {
public:
    // Items in drawing order, each with the image rectangle it may touch.
    using DrawnItems = std::vector<std::pair<CCanvasItem*, RECT>>;
    // What a paint draws over the picture: the items, then the shade
    // outside the active crop, then the selected item's handles.
    struct DrawList {
        DrawnItems items;
        CCanvasItem* shade = nullptr;
        CCanvasItem* handles = nullptr;
        RECT handleBounds{};
        // Whether anything of the list may draw in the image rectangle.
        bool Meets(const RECT& image) const;
    };

    CTileRenderer(const CPixelBuffer& picture, const CViewTransform& transform) noexcept
        : m_picture(picture), m_transform(transform) {}

    // Draws the update rectangle (view coordinates) of the surface into dc:
    // the picture, and the list over it.
    void Paint(HDC dc, const RECT& update, const DrawList& drawn);
    // The picture's rectangle in view coordinates.
    RECT PictureViewRect() const;
    // At a zoom other than 1, the picture stretched for it (unless done).
    void PrepareScaledPicture();
    void DropScaledPicture() noexcept;

    // Draws the items over the area of the buffer (device coordinates, the
    // buffer's (0, 0) at origin), mapped through the transform, in square
    // tiles of the size given. With rasters, items are blended from the
    // pixels kept there.
    static void DrawTiles(CPixelBuffer& buffer, POINT origin, const RECT& area,
                          const CViewTransform& mapping, const DrawnItems& items, LONG tileSize,
                          CItemRasters* rasters);

private:
    // Copies the picture, as the view shows it, into the area (view
    // coordinates) of a device context whose (0, 0) is the view's origin.
    void BlitPicture(HDC target, POINT origin, const RECT& area) const;
    // Paints one band of tiles (view coordinates) of a paint through the
    // buffer.
    void PaintBand(HDC dc, const RECT& band, const DrawList& drawn);
    // Darkens the area (view coordinates) outside the crop (image
    // coordinates) on a device context whose (0, 0) is at origin.
    void ShadeOutside(HDC target, POINT origin, const RECT& area, const RECT& crop) const;
    void DrawHandlesOver(const CPixelBuffer& buffer, POINT origin, const RECT& area,
                         CCanvasItem& item) const;

    const CPixelBuffer& m_picture;
    const CViewTransform& m_transform;
    // The picture at the current zoom, when it is not 1.
    CScaledPicture m_scaled;
    // Where paints put the picture and the items together, kept as large as
    // the largest paint so far.
    CPixelBuffer m_backBuffer;
    // The items as the screen last showed them.
    CItemRasters m_rasters;
};
