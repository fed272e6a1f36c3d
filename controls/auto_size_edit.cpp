#include "controls/auto_size_edit.h"

#include "framework/handles.h"

#include <algorithm>

namespace {

// Room below what the parent shows: more lines than any paste brings.
constexpr int kReserve = 8192;
constexpr UINT kSizeOnly = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;

// Messages after which the text may take more lines than before.
bool MayChangeText(UINT message) {
    switch (message) {
    case WM_CHAR:    // typing, Enter, Ctrl+V, Ctrl+Z
    case WM_KEYDOWN: // Delete joins words, Shift+Insert pastes
    case WM_IME_CHAR:
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
    case EM_REPLACESEL:
    case WM_SETTEXT:
        return true;
    default:
        return false;
    }
}

int LineHeight(HWND edit) {
    fw::WindowDc dc(edit);
    if (!dc)
        return 0;
    auto font = reinterpret_cast<HFONT>(::SendMessageW(edit, WM_GETFONT, 0, 0));
    fw::SelectionGuard select(dc.get(), font ? font : ::GetStockObject(SYSTEM_FONT));
    TEXTMETRICW metrics{};
    return ::GetTextMetricsW(dc.get(), &metrics) ? metrics.tmHeight : 0;
}

} // namespace

void CAutoSizeEdit::Cover(int width, int height) {
    if (HWND edit = Hwnd())
        ::SetWindowPos(edit, nullptr, 0, 0, width, height + kReserve,
                       SWP_NOZORDER | SWP_NOACTIVATE);
}

void CAutoSizeEdit::GrowToText() {
    HWND edit = Hwnd();
    HWND parent = edit ? ::GetParent(edit) : nullptr;
    if (!parent)
        return;
    // The edit's own count: it may re-wrap earlier lines as a key goes in,
    // which no measuring of the text beside it foresees.
    const auto lines = static_cast<int>(::SendMessageW(edit, EM_GETLINECOUNT, 0, 0));
    RECT shown{};
    ::GetClientRect(parent, &shown);
    RECT client{};
    ::GetClientRect(edit, &client);
    const int height = shown.bottom;
    const int needed = lines * LineHeight(edit);
    if (needed <= height)
        return;
    const int grown = std::max(needed, height + height / 3);
    ::SetWindowPos(parent, nullptr, 0, 0, client.right, grown, kSizeOnly);
    Cover(client.right, grown);
}

bool CAutoSizeEdit::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (!MayChangeText(message))
        return false;
    result = DefaultProc(message, wParam, lParam);
    GrowToText();
    return true;
}
