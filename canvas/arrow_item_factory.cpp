#include "canvas/arrow_item_factory.h"

#include "canvas/arrow_item.h"

void CArrowItemFactory::UpdateCursor(int, int, int, int) {
    ::SetCursor(::LoadCursorW(nullptr, IDC_CROSS));
}

std::unique_ptr<CCanvasItem> CArrowItemFactory::CreateItem(CCanvasPanel* panel) {
    return std::make_unique<CArrowItem>(panel);
}
