// A coloured rectangular frame drawn into the picture.
#pragma once

#include "canvas/rect_item.h"

class CHighlightItem : public CRectItem {
public:
    explicit CHighlightItem(CCanvasPanel* owner) noexcept;

    void Draw(gfx::Graphics& graphics) override;
};
