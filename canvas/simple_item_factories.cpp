#include "canvas/simple_item_factories.h"

#include "canvas/arrow_item.h"
#include "canvas/crop_item.h"
#include "canvas/highlight_item.h"
#include "canvas/pen_item.h"
#include "canvas/text_item.h"
#include "framework/application.h"
#include "resource.h"

namespace {

template <typename Item> std::unique_ptr<CCanvasItem> Make(CCanvasPanel* panel) {
    return std::make_unique<Item>(panel);
}

} // namespace

void CSimpleItemFactory::UpdateCursor(int, int, int, int) {
    HCURSOR cursor = m_cursor ? ::LoadCursorW(fw::ResourceInstance(), m_cursor) : nullptr;
    ::SetCursor(cursor ? cursor : ::LoadCursorW(nullptr, IDC_CROSS));
}

std::unique_ptr<CCanvasItem> CSimpleItemFactory::CreateItem(CCanvasPanel* panel) {
    return m_make(panel);
}

CPenItemFactory::CPenItemFactory(CCanvasPanel* panel) noexcept
    : CSimpleItemFactory(panel, &Make<CPenItem>, MAKEINTRESOURCEW(IDCUR_PEN)) {}

CHighlightItemFactory::CHighlightItemFactory(CCanvasPanel* panel) noexcept
    : CSimpleItemFactory(panel, &Make<CHighlightItem>, nullptr) {}

CTextItemFactory::CTextItemFactory(CCanvasPanel* panel) noexcept
    : CSimpleItemFactory(panel, &Make<CTextItem>, nullptr) {}

CArrowItemFactory::CArrowItemFactory(CCanvasPanel* panel) noexcept
    : CSimpleItemFactory(panel, &Make<CArrowItem>, nullptr) {}

CCropItemFactory::CCropItemFactory(CCanvasPanel* panel) noexcept
    : CSimpleItemFactory(panel, &Make<CCropItem>, nullptr) {}
