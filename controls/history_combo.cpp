#include "controls/history_combo.h"

#include "controls/window_text.h"

#include <commctrl.h>

namespace {

std::wstring_view StripBlanks(std::wstring_view text) {
    const auto first = text.find_first_not_of(L' ');
    if (first == std::wstring_view::npos)
        return {};
    const auto last = text.find_last_not_of(L' ');
    return text.substr(first, last - first + 1);
}

} // namespace

CHistoryCombo::CHistoryCombo() = default;

bool CHistoryCombo::Create(DWORD style, const RECT& rect, HWND parent, int controlId) {
    if (!m_allowSort)
        style &= ~static_cast<DWORD>(CBS_SORT);
    return fw::Control::Create(WC_COMBOBOXW, style, 0, rect, parent, controlId);
}

void CHistoryCombo::OnAttached() {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if (::GetComboBoxInfo(Hwnd(), &info) && info.hwndItem && info.hwndItem != Hwnd())
        m_edit.Attach(info.hwndItem);
}

bool CHistoryCombo::IsAllowedChar(wchar_t c) noexcept {
    return c == L'\b' || (c >= L',' && c <= L'/') || (c >= L'0' && c <= L'9') || c == L':' ||
           c == L'?' || (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

std::wstring CHistoryCombo::EntryText(int index) const {
    const LRESULT length = ::SendMessageW(Hwnd(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR || length <= 0)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = ::SendMessageW(Hwnd(), CB_GETLBTEXT, static_cast<WPARAM>(index),
                                          reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

int CHistoryCombo::AddToHistory(std::wstring_view text) {
    HWND combo = Hwnd();
    if (!combo)
        return CB_ERR;
    const std::wstring entry(StripBlanks(text));
    const auto entryParam = reinterpret_cast<LPARAM>(entry.c_str());
    // Inserting never sorts, whatever the style says.
    ::SendMessageW(combo, CB_INSERTSTRING, 0, entryParam);
    // Searching after index 0 wraps round to it when there is no older copy.
    const LRESULT older = ::SendMessageW(combo, CB_FINDSTRINGEXACT, 0, entryParam);
    if (older != CB_ERR && older != 0)
        ::SendMessageW(combo, CB_DELETESTRING, static_cast<WPARAM>(older), 0);
    while (::SendMessageW(combo, CB_GETCOUNT, 0, 0) > m_maxHistory)
        ::SendMessageW(combo, CB_DELETESTRING, static_cast<WPARAM>(m_maxHistory), 0);
    ::SendMessageW(combo, CB_SETCURSEL, 0, 0);
    return 0;
}

bool CHistoryCombo::Serialize(fw::Archive& archive) {
    HWND combo = Hwnd();
    if (!combo)
        return false;
    if (archive.IsStoring()) {
        if (const std::wstring current = WindowText(combo); !current.empty())
            AddToHistory(current);
        const LRESULT count = ::SendMessageW(combo, CB_GETCOUNT, 0, 0);
        const int entries = count > 0 ? static_cast<int>(count) : 0;
        archive.WriteCount(static_cast<std::uint16_t>(entries));
        for (int i = 0; i < entries; ++i)
            archive.WriteString(EntryText(i));
        archive.WriteString(WindowText(combo));
        return !archive.Failed();
    }

    ::SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    std::uint16_t count = 0;
    if (!archive.ReadCount(count))
        return false;
    for (int i = 0; i < count; ++i) {
        std::wstring entry;
        if (!archive.ReadString(entry))
            return false;
        // Stored data never holds more than the history keeps; anything
        // beyond it is read past, not shown.
        if (i < m_maxHistory)
            ::SendMessageW(combo, CB_INSERTSTRING, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>(entry.c_str()));
    }
    std::wstring current;
    if (!archive.ReadString(current))
        return false;
    const LRESULT match = ::SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(current.c_str()));
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(combo, GWL_STYLE));
    if (match == CB_ERR && (style & CBS_DROPDOWN))
        ::SetWindowTextW(combo, current.c_str());
    else
        ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(match), 0);
    return true;
}

bool CHistoryCombo::OnReflect(UINT message, WPARAM wParam, LPARAM, LRESULT&) {
    if (message == WM_COMMAND && HIWORD(wParam) == CBN_EDITUPDATE && m_autoComplete &&
        m_completeOnUpdate)
        CompletePrefix();
    return false; // the parent hears of the change as well
}

void CHistoryCombo::CompletePrefix() {
    HWND combo = Hwnd();
    const std::wstring typed = WindowText(combo);
    if (typed.empty())
        return; // nothing to complete from
    const int length = static_cast<int>(typed.size());
    const LRESULT selection = ::SendMessageW(combo, CB_GETEDITSEL, 0, 0);
    const bool hasSelection = selection != CB_ERR;
    const int start = LOWORD(selection);
    const int end = HIWORD(selection);

    // Selecting the first entry that begins with the text shows all of it.
    if (::SendMessageW(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                       reinterpret_cast<LPARAM>(typed.c_str())) == CB_ERR) {
        ::SetWindowTextW(combo, typed.c_str());
        if (hasSelection)
            ::SendMessageW(combo, CB_SETEDITSEL, 0, MAKELPARAM(start, end));
    }
    // The completed rest stays selected, so that typing on replaces it.
    if (end >= length || !hasSelection)
        ::SendMessageW(combo, CB_SETEDITSEL, 0, MAKELPARAM(length, -1));
    else
        ::SendMessageW(combo, CB_SETEDITSEL, 0, MAKELPARAM(start, end));
}

bool CHistoryCombo::EditField::HandleMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    switch (message) {
    case WM_KEYDOWN:
        m_owner.m_completeOnUpdate = wParam != VK_DELETE && wParam != VK_BACK;
        return false;
    case WM_CHAR:
        if (IsAllowedChar(static_cast<wchar_t>(wParam)))
            return false;
        result = 0; // swallowed, clipboard shortcuts' control characters included
        return true;
    default:
        return false;
    }
}
