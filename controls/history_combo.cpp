#include "controls/history_combo.h"

#include "controls/window_text.h"

#include <commctrl.h>

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

void CHistoryCombo::ShowHistory() {
    HWND combo = Hwnd();
    ::SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    // Inserting at the end never sorts, whatever the style says.
    for (const std::wstring& entry : m_history.Entries())
        ::SendMessageW(combo, CB_INSERTSTRING, static_cast<WPARAM>(-1),
                       reinterpret_cast<LPARAM>(entry.c_str()));
}

int CHistoryCombo::AddToHistory(std::wstring_view text) {
    if (!Hwnd() || !m_history.Add(text))
        return CB_ERR;
    ShowHistory();
    ::SendMessageW(Hwnd(), CB_SETCURSEL, 0, 0);
    return 0;
}

bool CHistoryCombo::Serialize(fw::Archive& archive) {
    HWND combo = Hwnd();
    if (!combo)
        return false;
    if (archive.IsStoring()) {
        if (const std::wstring current = WindowText(combo); !current.empty())
            AddToHistory(current);
        m_history.Store(archive, WindowText(combo));
        return !archive.Failed();
    }

    const std::optional<std::wstring> current = m_history.Load(archive);
    if (!current)
        return false;
    ShowHistory();
    const std::optional<size_t> match = m_history.FindExact(*current);
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(combo, GWL_STYLE));
    if (!match && (style & CBS_DROPDOWN))
        ::SetWindowTextW(combo, current->c_str());
    else
        ::SendMessageW(combo, CB_SETCURSEL, match ? static_cast<WPARAM>(*match) : WPARAM(-1), 0);
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
    if (const std::optional<size_t> entry = m_history.FindPrefix(typed)) {
        ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(*entry), 0);
    } else {
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
