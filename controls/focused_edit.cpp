#include "controls/focused_edit.h"

void CFocusedEdit::SetOwnedFont(fw::GdiFont font) {
    // The window lets go of the old font before it is deleted.
    if (Hwnd())
        ::SendMessageW(Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    m_font = std::move(font);
}

bool CFocusedEdit::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message != WM_SIZE)
        return false;
    // A new font brings margins back; after every resize the text starts at
    // the edges again.
    result = DefaultProc(message, wParam, lParam);
    if (Hwnd())
        ::SendMessageW(Hwnd(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    return true;
}
