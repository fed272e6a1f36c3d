// A drop-down combo box showing a most-recent-first history of at most ten
// entries (the rules are CHistoryList's). Typing completes the text from the
// first entry that begins with it; only the characters of addresses and
// numbers can be typed.
#pragma once

#include "controls/history_list.h"
#include "framework/archive.h"
#include "framework/control.h"

#include <windows.h>

#include <string>
#include <string_view>

class CHistoryCombo : public fw::Control {
public:
    static constexpr int kMaxHistory = static_cast<int>(CHistoryList::kMaxEntries);

    CHistoryCombo();

    // Creates the combo box; the sort style is dropped so that the history
    // keeps its order.
    bool Create(DWORD style, const RECT& rect, HWND parent, int controlId);

    // Adds the text to the history (CHistoryList::Add) and selects it.
    // Answers its index (0), or CB_ERR when there is no window or the text
    // is blank.
    int AddToHistory(std::wstring_view text);

    // Stores (after adding the current text to the history) or loads the
    // entries and the current text. False when loading ran out of data; the
    // history is then as it was.
    bool Serialize(fw::Archive& archive);

    // Whether a typed character may reach the edit.
    static bool IsAllowedChar(wchar_t character) noexcept;

    bool OnReflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    void OnAttached() override;

private:
    // The combo's edit field: keys are seen there before the edit acts.
    class EditField : public fw::Control {
    public:
        explicit EditField(CHistoryCombo& owner) noexcept : m_owner(owner) {}

    protected:
        bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    private:
        CHistoryCombo& m_owner;
    };

    void CompletePrefix();
    // The list box shows the history's entries.
    void ShowHistory();

    CHistoryList m_history;
    bool m_autoComplete = true;
    // Cleared by Delete and Backspace, so that deleting never completes.
    bool m_completeOnUpdate = true;
    bool m_allowSort = false;
    EditField m_edit{*this};
};
