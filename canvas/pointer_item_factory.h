// The pointer tool: selects, moves and resizes items, and shows what a press
// would take hold of through the cursor.
#pragma once

#include "canvas/canvas_item_factory.h"

class CPointerItemFactory : public CCanvasItemFactory {
public:
    using CCanvasItemFactory::CCanvasItemFactory;

    // Four-way arrows over an item's body, the handle's own cursor over a
    // handle of the selected item (the arrow where the handle has none), the
    // arrow elsewhere. Older crops are passed over.
    void UpdateCursor(int viewX, int viewY, int imageX, int imageY) override;
    std::unique_ptr<CCanvasItem> CreateItem(CCanvasPanel* panel) override;
};
