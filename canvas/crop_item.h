// The part of the picture the output keeps. On screen the picture around it
// is darkened; the flattened output is cut to it.
#pragma once

#include "canvas/rect_item.h"

// What darkens the picture outside the crop: dark grey, mostly opaque.
constexpr gfx::Argb kCropShade = 0xDC404040;

class CCropItem : public CRectItem {
public:
    explicit CCropItem(CCanvasPanel* owner) noexcept;

    void Draw(gfx::Graphics& graphics) override;
    // The darkening covers whatever is painted.
    RECT GetDrawBounds() const override;
    bool IsCropItem() const override { return true; }
};
