#include "canvas/text_item_factory.h"

#include "canvas/text_item.h"

void CTextItemFactory::UpdateCursor(int, int, int, int) {
    ::SetCursor(::LoadCursorW(nullptr, IDC_CROSS));
}

std::unique_ptr<CCanvasItem> CTextItemFactory::CreateItem(CCanvasPanel* panel) {
    return std::make_unique<CTextItem>(panel);
}
