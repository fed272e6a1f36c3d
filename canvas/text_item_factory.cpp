#include "canvas/text_item_factory.h"

void CTextItemFactory::UpdateCursor(int, int, int, int) {
    ::SetCursor(::LoadCursorW(nullptr, IDC_CROSS));
}

std::unique_ptr<CCanvasItem> CTextItemFactory::CreateItem(CCanvasPanel*) {
    return nullptr;
}
