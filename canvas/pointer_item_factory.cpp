#include "canvas/pointer_item_factory.h"

#include "canvas/canvas_panel.h"
#include "canvas/pointer_item.h"

void CPointerItemFactory::UpdateCursor(int, int, int imageX, int imageY) {
    HCURSOR cursor = nullptr;
    if (CCanvasPanel* panel = GetPanel()) {
        for (const auto& item : panel->GetItems()) {
            if (item->IsCropItem() && item.get() != panel->GetActiveCrop())
                continue;
            const int hit = item->HitTest(imageX, imageY);
            if (hit == 0) {
                cursor = ::LoadCursorW(nullptr, IDC_SIZEALL);
                break;
            }
            if (hit > 0) {
                // A pen's handles have no cursor: the arrow rather than none.
                cursor = item->GetHandleCursor(hit);
                break;
            }
        }
    }
    ::SetCursor(cursor ? cursor : ::LoadCursorW(nullptr, IDC_ARROW));
}

std::unique_ptr<CCanvasItem> CPointerItemFactory::CreateItem(CCanvasPanel* panel) {
    return std::make_unique<CPointerItem>(panel);
}
