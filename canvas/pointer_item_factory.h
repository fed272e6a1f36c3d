// The pointer tool: selects, moves and resizes items. Its item kind is not here yet, so it
// makes no items and a press with it does nothing.
#pragma once

#include "canvas/canvas_item_factory.h"

class CPointerItemFactory : public CCanvasItemFactory {
public:
    using CCanvasItemFactory::CCanvasItemFactory;

    void UpdateCursor(int viewX, int viewY, int imageX, int imageY) override;
    std::unique_ptr<CCanvasItem> CreateItem(CCanvasPanel* panel) override;
};
