#include "canvas/pen_item_factory.h"

#include "canvas/pen_item.h"
#include "framework/application.h"
#include "resource.h"

void CPenItemFactory::UpdateCursor(int, int, int, int) {
    HCURSOR cursor = ::LoadCursorW(fw::ResourceInstance(), MAKEINTRESOURCEW(IDCUR_PEN));
    ::SetCursor(cursor ? cursor : ::LoadCursorW(nullptr, IDC_CROSS));
}

std::unique_ptr<CCanvasItem> CPenItemFactory::CreateItem(CCanvasPanel* panel) {
    return std::make_unique<CPenItem>(panel);
}
