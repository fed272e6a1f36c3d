// Items as the screen last showed them: each drawn once at the view's scale
// into pixels of its own, then blended from those while it looks the same.
//
// Under the platform's GDI+ a line, a frame or a fill costs in proportion to
// the rectangle around it, whatever it covers, while GDI blends a bitmap at
// a fraction of that per pixel. A paint of the whole surface (a release, an
// undo, a scroll) then blends every unchanged item instead of rasterising it
// again. Whether an item looks the same is decided by its appearance (see
// CCanvasItem::AppendAppearance) and the scale; a scroll moves the view by
// whole pixels and keeps every item's pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include <windows.h>

#include "canvas/gdiplus_objects.h"

class CCanvasItem;

class CItemRasters {
public:
    // Pixels with premultiplied alpha, row after row.
    struct Pixels {
        int width = 0;
        int height = 0;
        std::vector<std::uint32_t> argb;
    };

    // The item's pixels as it would draw on the
    // graphics, with the rectangle of the graphics' device pixels they
    // cover; bounds (world coordinates) hold all the item draws. Drawn
    // first when missing or out of date, if mayKeep allows it. Null when
    // there are none: the caller draws the item itself.
    const Pixels* Find(gfx::Graphics& graphics, CCanvasItem& item, const RECT& bounds, bool mayKeep,
                       RECT& place);
    // Drops the pixels of every item not in the list.
    void KeepOnly(const std::vector<const CCanvasItem*>& items);

private:
    struct Entry {
        std::vector<std::int64_t> appearance;
        Pixels pixels;
    };
    using Entries = std::unordered_map<const CCanvasItem*, Entry>;

    void Forget(Entries::iterator entry) noexcept;

    Entries m_entries;
    std::size_t m_bytes = 0;
};
