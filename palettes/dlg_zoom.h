// The zoom panel: "Fit to Window" and "Actual Size" as two large buttons on a
// card. It only reports clicks; its listener changes the zoom.
#pragma once

#include "common/notifier.h"
#include "controls/button_rgn.h"
#include "framework/dialog.h"
#include "palettes/dlg_zoom_events.h"

class CDlgZoom : public fw::Dialog, public CNotifier<CDlgZoomEvents> {
public:
    CDlgZoom() noexcept;

protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    bool OnCommand(WORD id, WORD notifyCode, HWND control) override;

private:
    // The pictures say which mode was asked for last.
    void ShowMode(bool fitted);

    CButtonRgn m_fit;
    CButtonRgn m_actual;
};
