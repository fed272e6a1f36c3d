#include "controls/auto_size_edit.h"

#include "controls/window_text.h"
#include "framework/handles.h"

#include <algorithm>
#include <string>

void CAutoSizeEdit::GrowForKey(WPARAM virtualKey) {
    HWND edit = Hwnd();
    if (!edit)
        return;
    // "Wg" stands for the character being typed, with a full ascent and
    // descent. Enter is measured with the line it opens: without ES_AUTOVSCROLL
    // the edit refuses a line break that does not fit, and would then never
    // grow for it.
    std::wstring text = WindowText(edit);
    if (virtualKey == VK_RETURN)
        text += L"\r\n";
    text += L"Wg";

    RECT client{};
    ::GetClientRect(edit, &client);
    RECT needed{0, 0, client.right, 0};
    {
        fw::WindowDc dc(edit);
        if (!dc)
            return;
        auto font = reinterpret_cast<HFONT>(::SendMessageW(edit, WM_GETFONT, 0, 0));
        fw::SelectionGuard select(dc.get(), font ? font : ::GetStockObject(SYSTEM_FONT));
        ::DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &needed,
                    DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL);
    }
    const int height = client.bottom;
    const int measured = needed.bottom - needed.top;
    if (measured <= height)
        return;
    const int grown = std::max(measured, height + height / 3);
    constexpr UINT kSizeOnly = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    if (HWND parent = ::GetParent(edit))
        ::SetWindowPos(parent, nullptr, 0, 0, client.right, grown, kSizeOnly);
    ::SetWindowPos(edit, nullptr, 0, 0, client.right, grown, kSizeOnly);
}

bool CAutoSizeEdit::HandleMessage(UINT message, WPARAM wParam, LPARAM, LRESULT&) {
    if (message == WM_KEYDOWN)
        GrowForKey(wParam);
    return false; // the edit then processes the key as usual
}
