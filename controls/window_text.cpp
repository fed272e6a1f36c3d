#include "controls/window_text.h"

std::wstring WindowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

void SetPictureName(HWND picture, const wchar_t* name) {
    if (picture)
        ::DefWindowProcW(picture, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name));
}
