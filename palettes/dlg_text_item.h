// The borderless popup a text annotation is typed into: one multi-line edit
// that fills it and grows it downwards as the text wraps. Its owner (a text
// item) lays it over its box, shows it, and takes the text back when it is
// hidden. Typing ends when the keyboard focus leaves the edit, on Escape, or
// when the owner ends it; Enter inserts a line break. Hidden, the popup never
// keeps the keyboard.
#pragma once

#include "common/notifier.h"
#include "controls/auto_size_edit.h"
#include "controls/window_text.h"
#include "framework/dialog.h"
#include "palettes/dlg_text_item_events.h"

#include <windows.h>

#include <string>
#include <vector>

class CDlgTextItem : public fw::Dialog, public CNotifier<CDlgTextItemEvents> {
public:
    CDlgTextItem() noexcept;

    // The font the edit shows the text in. The owner keeps it alive as long
    // as the window; null leaves the dialog's font.
    void SetFont(HFONT font);
    void SetTextColor(COLORREF color) noexcept { m_textColor = color; }
    COLORREF GetTextColor() const noexcept { return m_textColor; }
    // The text committed when typing last ended.
    const std::wstring& GetText() const noexcept { return m_text; }
    // From being shown until being hidden.
    bool IsTyping() const noexcept { return m_typing; }
    // Commits what the edit holds and hides the popup; the keyboard goes to
    // the window the popup lies on.
    void EndTyping();
    // The text as the edit wraps it at its width, shown or hidden.
    std::vector<EditLine> Lines() const { return EditLines(m_edit.Hwnd()); }

protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    bool OnCommand(WORD id, WORD notifyCode, HWND control) override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void TakeEditText();
    void OnSize();
    // The edit over the whole client area, without margins.
    void FitEdit();
    void OnShowWindow(bool shown);
    // Gives the keyboard to the window the popup lies on.
    void ReleaseFocus();

    // The edit; Escape in it ends typing.
    class CEntryEdit : public CAutoSizeEdit {
    public:
        explicit CEntryEdit(CDlgTextItem& popup) noexcept : m_popup(popup) {}

    protected:
        bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    private:
        CDlgTextItem& m_popup;
    };

    HFONT m_font = nullptr;
    COLORREF m_textColor = RGB(255, 0, 0);
    std::wstring m_text;
    bool m_typing = false;
    CEntryEdit m_edit{*this};
};
