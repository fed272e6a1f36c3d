// What tests and the bench reach in the canvas panel beyond its public
// interface: items committed without a gesture, the redo list, and the
// painting routine drawn into any device context.
#pragma once

#include <memory>
#include <utility>

#include <windows.h>

#include "canvas/canvas_panel.h"

class CCanvasPanelTestDriver {
public:
    explicit CCanvasPanelTestDriver(CCanvasPanel& panel) noexcept : m_panel(panel) {}

    // Commits an item made by hand, as a finished gesture would.
    void AddItem(std::unique_ptr<CCanvasItem> item) { m_panel.AddItem(std::move(item)); }
    // Items taken off the picture by undo, which redo brings back.
    const CCanvasPanel::ItemList& RedoItems() const noexcept { return m_panel.m_redo; }
    // Draws the update rectangle (view coordinates) of the surface into dc,
    // as a paint of the surface would.
    void PaintContent(HDC dc, const RECT& update) { m_panel.PaintContent(dc, update); }

private:
    CCanvasPanel& m_panel;
};
