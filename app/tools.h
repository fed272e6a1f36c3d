// The main window's six tools: one row each, indexed by Tool, with its
// button, its context-menu entry, its pictures, its place in the layout and
// the factory that makes its items.
#pragma once

#include "app/main_layout.h"
#include "canvas/pointer_item_factory.h"
#include "canvas/simple_item_factories.h"

#include "resource.h"

#include <windows.h>

#include <cstddef>
#include <memory>

enum class Tool { Pointer, Pen, Highlight, Text, Arrow, Crop };

inline constexpr std::size_t kToolCount = 6;

constexpr std::size_t IndexOf(Tool tool) noexcept {
    return static_cast<std::size_t>(tool);
}

struct ToolRow {
    Tool tool;
    int button;
    WORD menuCommand;
    // The button's picture, and the one while the tool is chosen.
    UINT picture;
    UINT selectedPicture;
    Rect MainLayout::*slot;
    std::unique_ptr<CCanvasItemFactory> (*makeFactory)(CCanvasPanel* canvas);
};

template <class Factory> std::unique_ptr<CCanvasItemFactory> NewFactory(CCanvasPanel* canvas) {
    return std::make_unique<Factory>(canvas);
}

inline constexpr ToolRow kTools[kToolCount] = {
    {Tool::Pointer, IDC_TOOL_POINTER, ID_CTX_TOOL_POINTER, IDB_TOOL_POINTER, IDB_TOOL_POINTER_SEL,
     &MainLayout::pointer, &NewFactory<CPointerItemFactory>},
    {Tool::Pen, IDC_TOOL_PEN, ID_CTX_TOOL_PEN, IDB_TOOL_PEN, IDB_TOOL_PEN_SEL, &MainLayout::pen,
     &NewFactory<CPenItemFactory>},
    {Tool::Highlight, IDC_TOOL_HIGHLIGHT, ID_CTX_TOOL_HIGHLIGHT, IDB_TOOL_HIGHLIGHT,
     IDB_TOOL_HIGHLIGHT_SEL, &MainLayout::highlight, &NewFactory<CHighlightItemFactory>},
    {Tool::Text, IDC_TOOL_TEXT, ID_CTX_TOOL_TEXT, IDB_TOOL_TEXT, IDB_TOOL_TEXT_SEL,
     &MainLayout::text, &NewFactory<CTextItemFactory>},
    {Tool::Arrow, IDC_TOOL_ARROW, ID_CTX_TOOL_ARROW, IDB_TOOL_ARROW, IDB_TOOL_ARROW_SEL,
     &MainLayout::arrow, &NewFactory<CArrowItemFactory>},
    {Tool::Crop, IDC_TOOL_CROP, ID_CTX_TOOL_CROP, IDB_TOOL_CROP, IDB_TOOL_CROP_SEL,
     &MainLayout::crop, &NewFactory<CCropItemFactory>},
};

constexpr bool ToolsInToolOrder() {
    for (std::size_t i = 0; i < kToolCount; ++i) {
        if (IndexOf(kTools[i].tool) != i)
            return false;
    }
    return true;
}
static_assert(ToolsInToolOrder(), "kTools is indexed by Tool");

constexpr const ToolRow& RowOf(Tool tool) noexcept {
    return kTools[IndexOf(tool)];
}

// The tool whose button or context-menu entry sends command id; null for
// any other command.
constexpr const ToolRow* ToolOfCommand(int id) noexcept {
    for (const ToolRow& row : kTools) {
        if (row.button == id || row.menuCommand == id)
            return &row;
    }
    return nullptr;
}
