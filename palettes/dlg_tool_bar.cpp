#include "palettes/dlg_tool_bar.h"

#include "framework/application.h"

#include "resource.h"

namespace {

constexpr int kZoomWidth = 84;
constexpr int kZoomHeight = 29;

// An icon of this program at the first size its resource holds.
fw::Icon LoadOwnSizeIcon(UINT id) {
    return fw::Icon(static_cast<HICON>(
        ::LoadImageW(fw::ResourceInstance(), MAKEINTRESOURCEW(id), IMAGE_ICON, 0, 0, 0)));
}

} // namespace

CDlgToolBar::CDlgToolBar()
    : fw::Dialog(IDD_TOOLBAR), m_background(::CreateSolidBrush(kBackground)) {}

void CDlgToolBar::DoDataExchange() {
    Bind(m_save, IDC_TOOLBAR_SAVE);
    Bind(m_undo, IDC_TOOLBAR_UNDO);
    Bind(m_redo, IDC_TOOLBAR_REDO);
    Bind(m_email, IDC_TOOLBAR_EMAIL);
    Bind(m_actual, IDC_TOOLBAR_ACTUAL);
    Bind(m_fit, IDC_TOOLBAR_FIT);
}

BOOL CDlgToolBar::OnInitDialog() {
    fw::Dialog::OnInitDialog();

    struct Row {
        BitmapButton& button;
        UINT icon;
        const wchar_t* tip;
        int x;
    };
    // The tips only name the keys: the main window handles them.
    const Row rows[] = {
        {m_save, IDI_TOOLBAR_SAVE, L"Ctrl-S", 10},
        {m_undo, IDI_TOOLBAR_UNDO, L"Ctrl-U", 106},
        {m_redo, IDI_TOOLBAR_REDO, L"Ctrl-R", 180},
        {m_email, IDI_TOOLBAR_EMAIL, L"Ctrl-E", 255},
    };
    for (const Row& row : rows) {
        for (auto state : {BitmapButton::ColorState::Hover, BitmapButton::ColorState::Normal,
                           BitmapButton::ColorState::Focus})
            row.button.SetColors(state, kButtonBackground, RGB(255, 255, 255));
        row.button.SetIcons(LoadOwnSizeIcon(row.icon), LoadOwnSizeIcon(row.icon));
        row.button.SetTooltipText(row.tip);
        ::SetWindowPos(row.button.Hwnd(), nullptr, row.x, 5, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowZoomMode(false);
    // The window got its first size before it was ours.
    PlaceZoomButtons();
    return TRUE;
}

void CDlgToolBar::ShowZoomMode(bool fitted) {
    m_actual.SetBitmap(fitted ? IDB_ZOOM_ACTUAL : IDB_ZOOM_ACTUAL_SEL);
    m_fit.SetBitmap(fitted ? IDB_ZOOM_FIT_SEL : IDB_ZOOM_FIT);
}

void CDlgToolBar::PlaceZoomButtons() {
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    // They lie on the strip picture, which repaints what a resize uncovers:
    // they must repaint after it rather than keep bits copied from before.
    const UINT keep = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS;
    ::SetWindowPos(m_actual.Hwnd(), nullptr, client.right - 210, 5, kZoomWidth, kZoomHeight, keep);
    ::SetWindowPos(m_fit.Hwnd(), nullptr, client.right - 126, 5, kZoomWidth, kZoomHeight, keep);
}

bool CDlgToolBar::OnCommand(WORD id, WORD notifyCode, HWND control) {
    switch (id) {
    case IDC_TOOLBAR_SAVE:
        Fire(&CDlgToolBarEvents::OnSaveToDisk);
        return true;
    case IDC_TOOLBAR_UNDO:
        Fire(&CDlgToolBarEvents::OnUndo);
        return true;
    case IDC_TOOLBAR_REDO:
        Fire(&CDlgToolBarEvents::OnRedo);
        return true;
    case IDC_TOOLBAR_EMAIL:
        Fire(&CDlgToolBarEvents::OnSendEmail);
        return true;
    case IDC_TOOLBAR_ACTUAL:
        ShowZoomMode(false);
        Fire(&CDlgToolBarEvents::OnActualSize);
        return true;
    case IDC_TOOLBAR_FIT:
        ShowZoomMode(true);
        Fire(&CDlgToolBarEvents::OnFitToWindow);
        return true;
    default:
        return fw::Dialog::OnCommand(id, notifyCode, control);
    }
}

bool CDlgToolBar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_SIZE:
        if (Hwnd())
            PlaceZoomButtons();
        return false;
    case WM_CTLCOLORDLG:
        result = reinterpret_cast<LRESULT>(m_background.get());
        return true;
    default:
        return fw::Dialog::HandleMessage(message, wParam, lParam, result);
    }
}
