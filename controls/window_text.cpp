#include "controls/window_text.h"

#include <algorithm>

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

std::vector<EditLine> EditLines(HWND edit) {
    std::vector<EditLine> lines;
    if (!edit)
        return lines;
    const std::wstring text = WindowText(edit);
    const auto count = static_cast<int>(::SendMessageW(edit, EM_GETLINECOUNT, 0, 0));
    auto xOf = [edit](size_t index) {
        // A signed client coordinate in the low word.
        return static_cast<int>(static_cast<short>(
            LOWORD(::SendMessageW(edit, EM_POSFROMCHAR, static_cast<WPARAM>(index), 0))));
    };
    for (int i = 0; i < count; ++i) {
        const LRESULT start = ::SendMessageW(edit, EM_LINEINDEX, static_cast<WPARAM>(i), 0);
        if (start < 0 || static_cast<size_t>(start) > text.size())
            break;
        const auto first = static_cast<size_t>(start);
        const auto length =
            std::min(static_cast<size_t>(::SendMessageW(edit, EM_LINELENGTH, first, 0)),
                     text.size() - first);
        EditLine line;
        line.text = text.substr(first, length);
        const int left = xOf(first);
        for (size_t k = 0; k < length; ++k)
            line.starts.push_back(xOf(first + k) - left);
        lines.push_back(std::move(line));
    }
    return lines;
}
