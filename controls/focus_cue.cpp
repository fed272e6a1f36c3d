#include "controls/focus_cue.h"

#include "framework/dpi.h"
#include "framework/handles.h"

bool ShowsFocusCue(HWND window) {
    if (!window || ::GetFocus() != window)
        return false;
    const auto state = static_cast<UINT>(::SendMessageW(window, WM_QUERYUISTATE, 0, 0));
    return (state & UISF_HIDEFOCUS) == 0;
}

bool HandleClickKeys(UINT message, WPARAM wParam, LPARAM lParam, bool withSpace,
                     const std::function<LRESULT()>& ownCode, const std::function<void()>& click,
                     LRESULT& result) {
    switch (message) {
    case WM_GETDLGCODE: {
        result = ownCode();
        const MSG* key = reinterpret_cast<const MSG*>(lParam);
        if (key && (key->message == WM_KEYDOWN || key->message == WM_CHAR) &&
            (key->wParam == VK_RETURN || key->wParam == L'\r'))
            result |= DLGC_WANTMESSAGE;
        return true;
    }
    case WM_KEYDOWN:
        if (wParam != VK_RETURN && !(withSpace && wParam == VK_SPACE))
            return false;
        // Bit 30: the key was down already.
        if ((lParam & (LPARAM{1} << 30)) == 0)
            click();
        result = 0;
        return true;
    case WM_CHAR:
        if (wParam != L'\r' && !(withSpace && wParam == L' '))
            return false;
        result = 0;
        return true;
    default:
        return false;
    }
}

int FocusCueWidth(UINT dpi) noexcept {
    // One pixel at 100 %, two from 150 %.
    return fw::Scale(1, dpi);
}

void DrawFocusCue(HDC dc, const RECT& rect, int insetAt96) {
    const UINT dpi = static_cast<UINT>(::GetDeviceCaps(dc, LOGPIXELSY));
    const int inset = fw::Scale(insetAt96, dpi);
    const int width = FocusCueWidth(dpi);
    RECT ring = rect;
    ::InflateRect(&ring, -inset, -inset);
    const int w = ring.right - ring.left;
    const int h = ring.bottom - ring.top;
    if (w <= 2 * width || h <= 2 * width)
        return;
    // DrawFocusRect's dots, as wide as we need them: every other pixel of a
    // checkerboard, inverted. (DrawFocusRect itself takes its width from a
    // system setting.)
    static const WORD kCheckerboard[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    fw::GdiBitmap pattern(::CreateBitmap(8, 8, 1, 1, kCheckerboard));
    fw::GdiBrush dots(::CreatePatternBrush(pattern.get()));
    if (!dots)
        return;
    const COLORREF oldText = ::SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF oldBack = ::SetBkColor(dc, RGB(255, 255, 255));
    fw::SelectionGuard brush(dc, dots.get());
    ::PatBlt(dc, ring.left, ring.top, w, width, PATINVERT);
    ::PatBlt(dc, ring.left, ring.bottom - width, w, width, PATINVERT);
    ::PatBlt(dc, ring.left, ring.top + width, width, h - 2 * width, PATINVERT);
    ::PatBlt(dc, ring.right - width, ring.top + width, width, h - 2 * width, PATINVERT);
    ::SetBkColor(dc, oldBack);
    ::SetTextColor(dc, oldText);
}
