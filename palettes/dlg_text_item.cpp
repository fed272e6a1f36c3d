#include "palettes/dlg_text_item.h"

#include "controls/window_text.h"
#include "resource.h"

CDlgTextItem::CDlgTextItem() noexcept : fw::Dialog(IDD_TEXT_ITEM) {}

void CDlgTextItem::SetFont(HFONT font) {
    m_font = font;
    if (m_edit.Hwnd() && m_font)
        ::SendMessageW(m_edit.Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(m_font), TRUE);
}

void CDlgTextItem::DoDataExchange() {
    Bind(m_edit, IDC_TEXT_EDIT);
}

BOOL CDlgTextItem::OnInitDialog() {
    fw::Dialog::OnInitDialog();
    if (HWND edit = m_edit.Hwnd()) {
        const LONG_PTR exStyle = ::GetWindowLongPtrW(edit, GWL_EXSTYLE);
        ::SetWindowLongPtrW(edit, GWL_EXSTYLE,
                            exStyle & ~static_cast<LONG_PTR>(WS_EX_NOPARENTNOTIFY));
    }
    SetFont(m_font);
    FitEdit();
    return TRUE;
}

void CDlgTextItem::TakeEditText() {
    if (m_edit.Hwnd())
        m_text = WindowText(m_edit.Hwnd());
}

void CDlgTextItem::EndTyping() {
    TakeEditText();
    HWND popup = Hwnd();
    if (!popup)
        return;
    // The edit losing the focus ends typing as usual.
    ReleaseFocus();
    ::ShowWindow(popup, SW_HIDE);
}

void CDlgTextItem::ReleaseFocus() {
    // A hidden window may keep the focus (Wine leaves it in a hidden child):
    // keys typed next would change the text unseen.
    // https://learn.microsoft.com/en-us/windows/win32/api/winuser/nf-winuser-setfocus
    HWND popup = Hwnd();
    HWND focus = ::GetFocus();
    if (popup && focus && (focus == popup || ::IsChild(popup, focus)))
        ::SetFocus(::GetParent(popup));
}

bool CDlgTextItem::OnCommand(WORD id, WORD notifyCode, HWND control) {
    if (id == IDC_TEXT_EDIT) {
        // The commit: whatever took the keyboard focus, typing is over.
        if (notifyCode == EN_KILLFOCUS) {
            TakeEditText();
            ::ShowWindow(Hwnd(), SW_HIDE);
        }
        // Hidden, the edit takes no keys: a dialog that closes gives the
        // focus back to where it was when it opened, which may be here.
        if (notifyCode == EN_SETFOCUS && !m_typing)
            ReleaseFocus();
        return true; // no other notification of the edit matters
    }
    return fw::Dialog::OnCommand(id, notifyCode, control);
}

void CDlgTextItem::OnSize() {
    FitEdit();
    if (Hwnd())
        Fire(&CDlgTextItemEvents::OnTextResized);
}

void CDlgTextItem::FitEdit() {
    if (HWND edit = m_edit.Hwnd()) {
        RECT client{};
        ::GetClientRect(Hwnd(), &client);
        m_edit.Cover(client.right, client.bottom);
        ::SendMessageW(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    }
}

void CDlgTextItem::OnShowWindow(bool shown) {
    if (shown) {
        m_typing = true;
        if (m_edit.Hwnd())
            ::SetFocus(m_edit.Hwnd());
        return;
    }
    // Listeners may draw the text now: typing is over although the window
    // is still on screen for a moment.
    m_typing = false;
    Fire(&CDlgTextItemEvents::OnTextHidden);
}

bool CDlgTextItem::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_SIZE:
        OnSize();
        return false;
    case WM_SHOWWINDOW:
        // Hiding an already hidden popup sends nothing: one report per hide.
        OnShowWindow(wParam != FALSE);
        return false;
    case WM_CTLCOLOREDIT:
        // The edit's usual background and brush, in the text's colour.
        result = ::DefWindowProcW(Hwnd(), message, wParam, lParam);
        ::SetTextColor(reinterpret_cast<HDC>(wParam), m_textColor);
        return true;
    default:
        return fw::Dialog::HandleMessage(message, wParam, lParam, result);
    }
}

bool CDlgTextItem::CEntryEdit::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                             LRESULT& result) {
    // Escape ends typing and keeps the text, as a user expects.
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
        m_popup.EndTyping();
        result = 0;
        return true;
    }
    return CAutoSizeEdit::HandleMessage(message, wParam, lParam, result);
}
