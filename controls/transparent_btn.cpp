#include "controls/transparent_btn.h"

#include "controls/window_text.h"
#include "framework/handles.h"

#include <uxtheme.h>
#include <vssym32.h>

#include <string>

namespace {

bool IsRadio(LONG style) {
    const LONG type = style & BS_TYPEMASK;
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

bool IsThreeState(LONG style) {
    const LONG type = style & BS_TYPEMASK;
    return type == BS_3STATE || type == BS_AUTO3STATE;
}

// The theme state of a radio button or check box glyph: the check state picks
// a row of four (normal, hot, pressed, disabled).
int ThemeState(LONG style, LRESULT state, bool enabled) {
    int row = 0;
    if ((state & BST_INDETERMINATE) && !IsRadio(style))
        row = 2;
    else if (state & BST_CHECKED)
        row = 1;
    int column = 0;
    if (!enabled)
        column = 3;
    else if (state & BST_PUSHED)
        column = 2;
    else if (state & BST_HOT)
        column = 1;
    return row * 4 + column + 1; // RBS_UNCHECKEDNORMAL and CBS_UNCHECKEDNORMAL are 1
}

} // namespace

bool CTransparentBtn::OnReflect(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    // Push buttons ask with WM_CTLCOLORBTN, radio buttons and check boxes
    // with WM_CTLCOLORSTATIC. The stock button still fills with this brush
    // when its caption changes; a null brush keeps that from flashing.
    if (message != WM_CTLCOLORBTN && message != WM_CTLCOLORSTATIC)
        return false;
    ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
    result = reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
    return true;
}

bool CTransparentBtn::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_ERASEBKGND:
        result = TRUE;
        return true;
    case WM_PAINT: {
        fw::PaintDc paint(Hwnd());
        Paint(paint.get());
        result = 0;
        return true;
    }
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wParam));
        result = 0;
        return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_SETFONT:
    case WM_UPDATEUISTATE:
        // The stock button draws these changes straight onto the screen in
        // its own layout; a full repaint puts ours back.
        result = DefaultProc(message, wParam, lParam);
        ::InvalidateRect(Hwnd(), nullptr, FALSE);
        return true;
    default:
        return false;
    }
}

void CTransparentBtn::Paint(HDC dc) {
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    if (::IsRectEmpty(&client))
        return;
    const int width = client.right;
    const int height = client.bottom;
    fw::MemoryDc memory(::CreateCompatibleDC(dc));
    fw::GdiBitmap bitmap(::CreateCompatibleBitmap(dc, width, height));
    if (!memory || !bitmap)
        return;
    fw::SelectionGuard selection(memory.get(), bitmap.get());

    PaintBackdrop(memory.get(), client);

    const LONG style = ::GetWindowLongW(Hwnd(), GWL_STYLE);
    const LRESULT state = ::SendMessageW(Hwnd(), BM_GETSTATE, 0, 0);
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(Hwnd(), WM_GETFONT, 0, 0));
    fw::SelectionGuard fontSelection(memory.get(),
                                     font ? font : ::GetCurrentObject(memory.get(), OBJ_FONT));

    SIZE glyph{};
    HTHEME theme = ::GetWindowTheme(Hwnd());
    const int part = IsRadio(style) ? BP_RADIOBUTTON : BP_CHECKBOX;
    if (!theme ||
        FAILED(::GetThemePartSize(theme, memory.get(), part, ThemeState(style, state, true),
                                  nullptr, TS_DRAW, &glyph))) {
        const int side = ::MulDiv(13, ::GetDeviceCaps(memory.get(), LOGPIXELSY), 96);
        glyph = SIZE{side, side};
    }
    const int gap = glyph.cx / 3;
    RECT box{0, (height - glyph.cy) / 2, glyph.cx, (height - glyph.cy) / 2 + glyph.cy};
    RECT caption{glyph.cx + gap, 0, width, height};
    if (style & BS_LEFTTEXT) {
        ::OffsetRect(&box, width - glyph.cx, 0);
        caption = RECT{0, 0, width - glyph.cx - gap, height};
    }
    PaintGlyph(memory.get(), box, state);
    PaintCaption(memory.get(), caption, state);

    ::BitBlt(dc, 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
}

void CTransparentBtn::PaintBackdrop(HDC dc, const RECT& client) const {
    // The parent's own background first, as the stock button would draw it.
    RECT area = client; // not const in every SDK's declaration
    ::DrawThemeParentBackground(Hwnd(), dc, &area);

    // Then every visible sibling that paints before this button (the ones
    // above it in the z-order, like a picture listed first in a dialog
    // template) and overlaps it, each at its place relative to this button.
    HWND parent = ::GetParent(Hwnd());
    if (!parent)
        return;
    RECT own = client;
    ::MapWindowPoints(Hwnd(), parent, reinterpret_cast<POINT*>(&own), 2);
    for (HWND sibling = ::GetWindow(parent, GW_CHILD); sibling && sibling != Hwnd();
         sibling = ::GetWindow(sibling, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(sibling))
            continue;
        RECT place{};
        ::GetWindowRect(sibling, &place);
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
        RECT overlap{};
        if (!::IntersectRect(&overlap, &place, &own))
            continue;
        const int saved = ::SaveDC(dc);
        ::SetViewportOrgEx(dc, place.left - own.left, place.top - own.top, nullptr);
        ::IntersectClipRect(dc, 0, 0, place.right - place.left, place.bottom - place.top);
        ::SendMessageW(sibling, WM_PRINT, reinterpret_cast<WPARAM>(dc),
                       PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
        ::RestoreDC(dc, saved);
    }
}

void CTransparentBtn::PaintGlyph(HDC dc, const RECT& box, LRESULT state) const {
    const LONG style = ::GetWindowLongW(Hwnd(), GWL_STYLE);
    const bool enabled = ::IsWindowEnabled(Hwnd()) != FALSE;
    if (HTHEME theme = ::GetWindowTheme(Hwnd())) {
        const int part = IsRadio(style) ? BP_RADIOBUTTON : BP_CHECKBOX;
        ::DrawThemeBackground(theme, dc, part, ThemeState(style, state, enabled), &box, nullptr);
        return;
    }
    UINT flags = IsRadio(style) ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK;
    if (IsThreeState(style) && (state & BST_INDETERMINATE))
        flags = DFCS_BUTTON3STATE | DFCS_CHECKED;
    else if (state & BST_CHECKED)
        flags |= DFCS_CHECKED;
    if (state & BST_PUSHED)
        flags |= DFCS_PUSHED;
    if (!enabled)
        flags |= DFCS_INACTIVE;
    RECT glyph = box;
    ::DrawFrameControl(dc, &glyph, DFC_BUTTON, flags);
}

void CTransparentBtn::PaintCaption(HDC dc, const RECT& area, LRESULT state) {
    if (::IsRectEmpty(&area))
        return;
    const std::wstring text = WindowText(Hwnd());
    if (text.empty())
        return;

    const LONG style = ::GetWindowLongW(Hwnd(), GWL_STYLE);
    const LRESULT ui = ::SendMessageW(Hwnd(), WM_QUERYUISTATE, 0, 0);
    UINT flags = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
    if ((style & BS_CENTER) == BS_CENTER)
        flags |= DT_CENTER;
    else if ((style & BS_CENTER) == BS_RIGHT)
        flags |= DT_RIGHT;
    if (ui & UISF_HIDEACCEL)
        flags |= DT_HIDEPREFIX;

    // The owner may choose the text colour, as with any button; the
    // background is never filled.
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    if (HWND parent = ::GetParent(Hwnd()))
        ::SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                       reinterpret_cast<LPARAM>(Hwnd()));
    if (!::IsWindowEnabled(Hwnd()))
        ::SetTextColor(dc, ::GetSysColor(COLOR_GRAYTEXT));
    ::SetBkMode(dc, TRANSPARENT);

    // Centred vertically by hand, which also works for wrapped captions.
    RECT bounds = area;
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &bounds, flags | DT_CALCRECT);
    const int height = bounds.bottom - bounds.top;
    RECT line = area;
    line.top = area.top + (area.bottom - area.top - height) / 2;
    line.bottom = line.top + height;
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &line, flags);

    if ((state & BST_FOCUS) && !(ui & UISF_HIDEFOCUS)) {
        const int textWidth = bounds.right - bounds.left;
        RECT focus = line;
        if (flags & DT_CENTER)
            focus.left = area.left + (area.right - area.left - textWidth) / 2;
        else if (flags & DT_RIGHT)
            focus.left = area.right - textWidth;
        focus.right = focus.left + textWidth;
        ::InflateRect(&focus, 1, 0);
        ::IntersectRect(&focus, &focus, &area);
        ::DrawFocusRect(dc, &focus);
    }
}
