#include "canvas/pointer_item_factory.h"

void CPointerItemFactory::UpdateCursor(int, int, int, int) {
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
}

std::unique_ptr<CCanvasItem> CPointerItemFactory::CreateItem(CCanvasPanel*) {
    return nullptr;
}
