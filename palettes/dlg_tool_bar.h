// The toolbar panel: Save, Undo, Redo and E-mail buttons with icons, and the
// two zoom buttons at its right end. It only reports clicks; its listener
// does the work.
#pragma once

#include "common/notifier.h"
#include "controls/bitmap_button.h"
#include "controls/button_rgn.h"
#include "framework/dialog.h"
#include "framework/handles.h"
#include "palettes/dlg_tool_bar_events.h"

class CDlgToolBar : public fw::Dialog, public CNotifier<CDlgToolBarEvents> {
public:
    static constexpr COLORREF kBackground = RGB(0, 51, 101);
    static constexpr COLORREF kButtonBackground = RGB(62, 112, 169);

    CDlgToolBar();

protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    bool OnCommand(WORD id, WORD notifyCode, HWND control) override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // The zoom pictures say which mode was asked for last.
    void ShowZoomMode(bool fitted);
    void PlaceZoomButtons();

    fw::GdiBrush m_background;
    BitmapButton m_save;
    BitmapButton m_undo;
    BitmapButton m_redo;
    BitmapButton m_email;
    CButtonRgn m_actual;
    CButtonRgn m_fit;
};
