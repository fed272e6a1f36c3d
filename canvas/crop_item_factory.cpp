#include "canvas/crop_item_factory.h"

#include "canvas/crop_item.h"

void CCropItemFactory::UpdateCursor(int, int, int, int) {
    ::SetCursor(::LoadCursorW(nullptr, IDC_CROSS));
}

std::unique_ptr<CCanvasItem> CCropItemFactory::CreateItem(CCanvasPanel* panel) {
    return std::make_unique<CCropItem>(panel);
}
