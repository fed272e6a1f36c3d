#include "palettes/dlg_zoom.h"

#include "resource.h"

namespace {

constexpr int kButtonSize = 73;

} // namespace

CDlgZoom::CDlgZoom() noexcept : fw::Dialog(IDD_ZOOM) {}

void CDlgZoom::DoDataExchange() {
    Bind(m_fit, IDC_ZOOMPANEL_FIT);
    Bind(m_actual, IDC_ZOOMPANEL_ACTUAL);
}

BOOL CDlgZoom::OnInitDialog() {
    fw::Dialog::OnInitDialog();
    const UINT keep = SWP_NOZORDER | SWP_NOACTIVATE;
    ::SetWindowPos(m_actual.Hwnd(), nullptr, 15, 38, kButtonSize, kButtonSize, keep);
    ::SetWindowPos(m_fit.Hwnd(), nullptr, 92, 38, kButtonSize, kButtonSize, keep);
    // The pictures carry the labels; the texts name the buttons.
    m_actual.SetDrawsCaption(false);
    m_fit.SetDrawsCaption(false);
    ShowMode(false);
    return TRUE;
}

void CDlgZoom::ShowMode(bool fitted) {
    m_actual.SetBitmap(fitted ? IDB_ZOOMPANEL_ACTUAL : IDB_ZOOMPANEL_ACTUAL_SEL);
    m_fit.SetBitmap(fitted ? IDB_ZOOMPANEL_FIT_SEL : IDB_ZOOMPANEL_FIT);
}

bool CDlgZoom::OnCommand(WORD id, WORD notifyCode, HWND control) {
    // The panel does not track the mode: a click on the button already
    // selected shows the same pictures and reports again.
    switch (id) {
    case IDC_ZOOMPANEL_FIT:
        ShowMode(true);
        Fire(&CDlgZoomEvents::OnFitToWindow);
        return true;
    case IDC_ZOOMPANEL_ACTUAL:
        ShowMode(false);
        Fire(&CDlgZoomEvents::OnActualSize);
        return true;
    default:
        return fw::Dialog::OnCommand(id, notifyCode, control);
    }
}
