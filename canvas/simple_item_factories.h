// The drawing tools: pen, highlight, text, arrow and crop. Each makes items
// of one kind and shows one cursor over the surface.
#pragma once

#include "canvas/canvas_item_factory.h"

class CSimpleItemFactory : public CCanvasItemFactory {
public:
    void UpdateCursor(int viewX, int viewY, int imageX, int imageY) override;
    std::unique_ptr<CCanvasItem> CreateItem(CCanvasPanel* panel) override;

protected:
    using Maker = std::unique_ptr<CCanvasItem> (*)(CCanvasPanel* panel);
    // The cursor is one of the program's resources (the cross when it cannot
    // be loaded), or the cross when null.
    CSimpleItemFactory(CCanvasPanel* panel, Maker make, const wchar_t* cursor) noexcept
        : CCanvasItemFactory(panel), m_make(make), m_cursor(cursor) {}

private:
    Maker m_make;
    const wchar_t* m_cursor;
};

class CPenItemFactory : public CSimpleItemFactory {
public:
    explicit CPenItemFactory(CCanvasPanel* panel) noexcept;
};

class CHighlightItemFactory : public CSimpleItemFactory {
public:
    explicit CHighlightItemFactory(CCanvasPanel* panel) noexcept;
};

// Makes text boxes.
class CTextItemFactory : public CSimpleItemFactory {
public:
    explicit CTextItemFactory(CCanvasPanel* panel) noexcept;
};

class CArrowItemFactory : public CSimpleItemFactory {
public:
    explicit CArrowItemFactory(CCanvasPanel* panel) noexcept;
};

class CCropItemFactory : public CSimpleItemFactory {
public:
    explicit CCropItemFactory(CCanvasPanel* panel) noexcept;
};
