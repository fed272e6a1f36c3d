#include "canvas/highlight_item_factory.h"

#include "canvas/highlight_item.h"

void CHighlightItemFactory::UpdateCursor(int, int, int, int) {
    ::SetCursor(::LoadCursorW(nullptr, IDC_CROSS));
}

std::unique_ptr<CCanvasItem> CHighlightItemFactory::CreateItem(CCanvasPanel* panel) {
    return std::make_unique<CHighlightItem>(panel);
}
