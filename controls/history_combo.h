// A drop-down combo box holding a most-recent-first history of at most ten
// entries. Typing completes the text from the first entry that begins with
// it; only the characters of addresses and numbers can be typed.
#pragma once

#include "framework/archive.h"
#include "framework/control.h"

#include <windows.h>

#include <string>
#include <string_view>

class CHistoryCombo : public fw::Control {
public:
    static constexpr int kMaxHistory = 10;

    CHistoryCombo();

    // Creates the combo box; the sort style is dropped so that the history
    // keeps its order.
    bool Create(DWORD style, const RECT& rect, HWND parent, int controlId);

    // Puts the text (without leading and trailing blanks) first, removes an
    // older entry equal to it ignoring case, drops entries beyond the
    // maximum and selects the text. Answers its index (0), or CB_ERR when
    // there is no window.
    int AddToHistory(std::wstring_view text);

    // Stores (after adding the current text to the history) or loads the
    // entries and the current text. False when loading ran out of data.
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
    std::wstring EntryText(int index) const;

    bool m_autoComplete = true;
    // Cleared by Delete and Backspace, so that deleting never completes.
    bool m_completeOnUpdate = true;
    int m_maxHistory = kMaxHistory;
    bool m_allowSort = false;
    EditField m_edit{*this};
};
