// The text tool: makes text boxes.
#pragma once

#include "canvas/canvas_item_factory.h"

class CTextItemFactory : public CCanvasItemFactory {
public:
    using CCanvasItemFactory::CCanvasItemFactory;

    void UpdateCursor(int viewX, int viewY, int imageX, int imageY) override;
    std::unique_ptr<CCanvasItem> CreateItem(CCanvasPanel* panel) override;
};
