// A tool: makes the items of one kind for the canvas panel and owns the item
// being dragged out until the panel takes it.
#pragma once

#include <memory>

#include "canvas/canvas_item.h"

class CCanvasPanel;

class CCanvasItemFactory {
public:
    explicit CCanvasItemFactory(CCanvasPanel* panel) noexcept : m_panel(panel) {}
    virtual ~CCanvasItemFactory() = default;
    CCanvasItemFactory(const CCanvasItemFactory&) = delete;
    CCanvasItemFactory& operator=(const CCanvasItemFactory&) = delete;

    // Called at every mouse move over the surface to set the cursor.
    virtual void UpdateCursor(int viewX, int viewY, int imageX, int imageY);
    // A new item of the tool's kind for the panel: colour red, points zero,
    // flags clear. Null when the tool makes no items.
    virtual std::unique_ptr<CCanvasItem> CreateItem(CCanvasPanel* panel) = 0;

    CCanvasPanel* GetPanel() const noexcept { return m_panel; }
    CCanvasItem* GetPendingItem() const noexcept { return m_pending.get(); }
    void SetPendingItem(std::unique_ptr<CCanvasItem> item) noexcept { m_pending = std::move(item); }
    // The panel takes the item when it is committed.
    std::unique_ptr<CCanvasItem> ReleasePendingItem() noexcept { return std::move(m_pending); }

private:
    CCanvasPanel* m_panel;
    std::unique_ptr<CCanvasItem> m_pending;
};
