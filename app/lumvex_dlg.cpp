// The main window itself: start-up, the notification area, and the table
// through which every command, shortcut and private message reaches its
// operation. The rest of it is split by role: lumvex_dlg_controls.cpp,
// lumvex_dlg_view.cpp, lumvex_dlg_scroll.cpp, lumvex_dlg_output.cpp and
// lumvex_dlg_tools.cpp.
#include "app/lumvex_dlg.h"

#include "app/about_dlg.h"
#include "app/keyboard_shortcuts.h"
#include "app/screen_capture.h"
#include "controls/window_text.h"
#include "framework/application.h"
#include "upload/app_settings.h"
#include "upload/dlg_settings.h"

#include "resource.h"

#include <commctrl.h>
#include <shellapi.h>

struct CLumvexDlg::CommandRow {
    // What runs it: a WM_COMMAND id, a shortcut, a private message (0 and
    // ShortcutAction::None where there is none).
    WORD command;
    ShortcutAction shortcut;
    UINT message;
    // A picture control tells of double clicks too: only its click runs it.
    bool clickOnly;
    void (CLumvexDlg::*run)();
};

// Each entry point (OnCommand, PreTranslateMessage, HandleMessage) looks
// here; the tools' commands are the tools' table's (app/tools.h).
const CLumvexDlg::CommandRow CLumvexDlg::kCommands[] = {
    {ID_TRAY_ABOUT, ShortcutAction::None, 0, false, &CLumvexDlg::ShowAboutBox},
    {ID_TRAY_TAKE_SCREENSHOT, ShortcutAction::None, 0, false, &CLumvexDlg::TakeScreenshotFromMenu},
    {ID_SHOW_WINDOW, ShortcutAction::None, 0, false, &CLumvexDlg::ShowAndRestore},
    // WM_EXIT_APP: a later start with the exit switch.
    {ID_TRAY_EXIT, ShortcutAction::None, WM_EXIT_APP, false, &CLumvexDlg::Quit},
    {ID_SETTINGS, ShortcutAction::None, 0, false, &CLumvexDlg::OnSettings},
    {ID_CTX_DELETE_ITEM, ShortcutAction::DeleteItem, 0, false, &CLumvexDlg::DeleteSelectedItem},
    {ID_CTX_SUBMIT, ShortcutAction::Upload, WM_SUBMIT_SCREENSHOT, false,
     &CLumvexDlg::UploadScreenshot},
    {ID_CTX_COPY, ShortcutAction::Copy, 0, false, &CLumvexDlg::CopyToClipboard},
    {IDC_REDO, ShortcutAction::Redo, WM_CANVAS_REDO, false, &CLumvexDlg::OnRedo},
    {IDC_UNDO, ShortcutAction::Undo, WM_CANVAS_UNDO, false, &CLumvexDlg::OnUndo},
    {IDC_ZOOM_FIT, ShortcutAction::None, 0, false, &CLumvexDlg::OnFitToWindow},
    {IDC_ZOOM_ACTUAL, ShortcutAction::None, 0, false, &CLumvexDlg::OnActualSize},
    {IDC_LOGO, ShortcutAction::None, 0, true, &CLumvexDlg::OpenProductSite},
    {0, ShortcutAction::Save, WM_SAVE_SCREENSHOT, false, &CLumvexDlg::OnSaveToDisk},
    {0, ShortcutAction::None, WM_EMAIL_SCREENSHOT, false, &CLumvexDlg::OnSendEmail},
    {0, ShortcutAction::Email, 0, false, &CLumvexDlg::SendEmailFromKeyboard},
};

CLumvexDlg::CLumvexDlg(CAppSettings& settings, fw::Profile profile)
    : fw::Dialog(IDD_MAIN), m_settings(settings), m_profile(std::move(profile)),
      m_icon(static_cast<HICON>(::LoadImageW(fw::ResourceInstance(), MAKEINTRESOURCEW(IDI_LUMVEX),
                                             IMAGE_ICON, 0, 0, LR_DEFAULTSIZE))),
      m_smallIcon(LoadSmallIcon(IDI_LUMVEX)), m_background(::CreateSolidBrush(RGB(125, 125, 125))),
      m_canvas(m_surface, *this), m_status(settings, m_profile) {}

CLumvexDlg::~CLumvexDlg() {
    // Our own teardown (tray icon, temporary files) runs at WM_DESTROY, which
    // needs the derived object: destroy the window while it still exists.
    DestroyWindow();
    // Tools hold GDI+ objects; GDI+ stops with the canvas.
    m_factory.reset();
}

BOOL CLumvexDlg::OnInitDialog() {
    fw::Dialog::OnInitDialog();

    if (HMENU systemMenu = ::GetSystemMenu(Hwnd(), FALSE)) {
        wchar_t about[128]{};
        if (::LoadStringW(fw::ResourceInstance(), IDS_ABOUTBOX, about, 128) > 0) {
            ::AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, about);
        }
    }
    ::SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon.get()));
    ::SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon.get()));
    m_tray.Add(Hwnd(), WM_TRAY_NOTIFY, m_smallIcon.get(), kTrayTip);

    PlaceOnWorkArea();
    // Above the column's background, shown only while the column scrolls.
    m_columnBar = ::CreateWindowExW(0, L"SCROLLBAR", nullptr, WS_CHILD | SBS_VERT, 0, 0, 0, 0,
                                    Hwnd(), reinterpret_cast<HMENU>(IDC_COLUMN_SCROLL),
                                    fw::ResourceInstance(), nullptr);
    ::SetWindowPos(m_columnBar, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    m_dpi = fw::DpiOf(Hwnd());
    m_pictureDpi = NearestPictureDpi(m_dpi);
    PlaceControls();
    // The program starts with the Crop tool at actual size.
    m_tool = Tool::Crop;
    m_fit = 0;
    UpdatePictures();
    MakeFactory();

    m_logo.SetStaticCursor(::LoadCursorW(nullptr, IDC_HAND));
    // What screen readers say for the pictures: the buttons' pictures carry
    // their labels, their window texts name them.
    SetPictureName(m_logo.Hwnd(), kLogoName);
    for (const MainControlRow& row : Controls()) {
        if (CButtonRgn* button = ButtonOfRow(row))
            button->SetDrawsCaption(false);
    }

    m_sendRequest.CreatePanel(Item(IDC_SUBMIT_HOST));
    // The zoom panel's placeholder is hidden, and so is the panel.
    if (m_zoomPanel.Create(Item(IDC_ZOOM_HOST)))
        m_zoomPanel.AddListener(static_cast<CDlgZoomEvents*>(this));
    m_colors.CreatePanel(Item(IDC_PALETTE_HOST));
    // A panel, so that Tab reaches its links.
    m_status.CreatePanel(Item(IDC_STATUS_HOST));

    m_column.SetColors(CColorStaticST::ColorIndex::Background, RGB(63, 112, 170));
    m_statusBackground.SetColors(CColorStaticST::ColorIndex::Background, RGB(168, 202, 240));

    m_canvas.StartGraphics();
    m_canvas.Connect(this);
    ChooseColumnScale();
    RecalcLayout();
    if (m_notify.Create(nullptr))
        ::ShowWindow(m_notify.Hwnd(), SW_HIDE);
    return TRUE;
}

void CLumvexDlg::ShowAndRestore() {
    ::ShowWindow(Hwnd(), SW_SHOW);
    if (::IsIconic(Hwnd()))
        ::ShowWindow(Hwnd(), SW_RESTORE);
    if (m_workAreaChanged)
        PlaceOnWorkArea();
}

void CLumvexDlg::OnTakeScreenshot() {
    if (::IsWindowVisible(Hwnd())) {
        ShowAndRestore();
        return;
    }
    fw::GdiBitmap picture(CaptureScreen());
    if (!picture) {
        ShowError(L"Failed to capture screen");
        return;
    }
    m_sendRequest.ResetRequest();
    if (m_workAreaChanged)
        PlaceOnWorkArea();
    m_canvas.SetBitmap(std::move(picture));
    SyncScrollBars();
    ShowAndRestore();
}

bool CLumvexDlg::BringOpenBoxForward() {
    // One of our modal boxes (About, a message box, the settings or the
    // upload) disables this window while it runs.
    if (::IsWindowEnabled(Hwnd()))
        return false;
    HWND box = ::GetLastActivePopup(Hwnd());
    if (box && box != Hwnd())
        ::SetForegroundWindow(box);
    return true;
}

void CLumvexDlg::OnTrayNotify(UINT mouseMessage) {
    const TrayAction action = TrayActionFor(mouseMessage);
    // Neither a second box on top of the first nor a capture of it.
    if (action != TrayAction::None && BringOpenBoxForward())
        return;
    switch (action) {
    case TrayAction::TakeScreenshot:
        ::SetForegroundWindow(Hwnd());
        OnTakeScreenshot();
        break;
    case TrayAction::ShowWindow:
        ShowAndRestore();
        break;
    case TrayAction::ShowMenu:
        ShowTrayMenu();
        break;
    case TrayAction::None:
        break;
    }
}

void CLumvexDlg::ShowTrayMenu() {
    fw::Menu menu(::LoadMenuW(fw::ResourceInstance(), MAKEINTRESOURCEW(IDR_TRAY_MENU)));
    if (!menu)
        return;
    HMENU popup = ::GetSubMenu(menu.get(), 0);
    POINT cursor{};
    ::GetCursorPos(&cursor);
    // Without our window in the foreground the menu would not close when
    // the user clicks elsewhere; the posted message lets it close at once
    // when the next one opens.
    // https://learn.microsoft.com/en-us/windows/win32/api/winuser/nf-winuser-trackpopupmenu
    ::SetForegroundWindow(Hwnd());
    // In bold what a click on the icon does; either button picks an entry.
    ::SetMenuDefaultItem(popup, ID_TRAY_TAKE_SCREENSHOT, FALSE);
    ::TrackPopupMenu(popup, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, Hwnd(), nullptr);
    ::PostMessageW(Hwnd(), WM_NULL, 0, 0);
}

void CLumvexDlg::OnSettings() {
    // One dialog at a time: a second settings dialog would write its copy
    // back over what the first one changed.
    if (BringOpenBoxForward())
        return;
    EditSettings(m_settings, m_profile, Hwnd());
}

void CLumvexDlg::TakeScreenshotFromMenu() {
    if (!BringOpenBoxForward())
        OnTakeScreenshot();
}

void CLumvexDlg::Quit() {
    // Ends the modal loop.
    ::PostQuitMessage(0);
}

void CLumvexDlg::DeleteSelectedItem() {
    m_canvas.DeleteSelectedItem();
}

void CLumvexDlg::OnRedo() {
    m_canvas.Redo();
}

void CLumvexDlg::OnUndo() {
    m_canvas.Undo();
}

void CLumvexDlg::OpenProductSite() {
    ::ShellExecuteW(nullptr, L"open", kProductSite, nullptr, nullptr, SW_HIDE);
}

void CLumvexDlg::ShowAboutBox() {
    if (BringOpenBoxForward())
        return;
    CAboutDlg about;
    about.DoModal(Hwnd());
}

bool CLumvexDlg::PreTranslateMessage(MSG* message) {
    // Keys of other top-level windows (popups, message boxes) are theirs.
    if (message->message != WM_KEYDOWN ||
        (message->hwnd != Hwnd() && !::IsChild(Hwnd(), message->hwnd)))
        return false;
    const Shortcut shortcut = ShortcutFor(KeyPressOf(*message));
    if (shortcut.action != ShortcutAction::None) {
        for (const CommandRow& row : kCommands) {
            if (row.shortcut == shortcut.action) {
                (this->*row.run)();
                break;
            }
        }
    }
    return shortcut.consumed;
}

bool CLumvexDlg::OnCommand(WORD id, WORD notifyCode, HWND control) {
    if (SelectToolOfCommand(id))
        return true;
    for (const CommandRow& row : kCommands) {
        if (row.command != 0 && row.command == id) {
            if (!row.clickOnly || notifyCode == STN_CLICKED)
                (this->*row.run)();
            return true;
        }
    }
    return fw::Dialog::OnCommand(id, notifyCode, control);
}

void CLumvexDlg::PaintMinimised() {
    fw::PaintDc paint(Hwnd());
    ::SendMessageW(Hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.get()), 0);
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    const int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(paint.get(), x, y, m_icon.get());
}

void CLumvexDlg::OnDestroy() {
    m_toolBar.RemoveListener(static_cast<CDlgToolBarEvents*>(this));
    m_zoomPanel.RemoveListener(static_cast<CDlgZoomEvents*>(this));
    m_notify.DestroyWindow();
    m_tray.Remove();
    DeleteTemporaryFiles();
}

bool CLumvexDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    // Sent to every top-level window when the shell (and with it the
    // notification area) starts again.
    // https://learn.microsoft.com/en-us/windows/win32/shell/taskbar#taskbar-creation-notification
    static const UINT taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
    if (message == taskbarCreated && taskbarCreated != 0) {
        m_tray.Add(Hwnd(), WM_TRAY_NOTIFY, m_smallIcon.get(), kTrayTip);
        return true;
    }
    for (const CommandRow& row : kCommands) {
        if (row.message != 0 && row.message == message) {
            (this->*row.run)();
            return true;
        }
    }
    switch (message) {
    case WM_DPICHANGED:
        OnDpiChanged(wParam, lParam);
        return true;
    case WM_TRAY_NOTIFY:
        OnTrayNotify(static_cast<UINT>(lParam));
        return true;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == IDM_ABOUTBOX) {
            ShowAboutBox();
            return true;
        }
        return false;
    case WM_PAINT:
        if (!::IsIconic(Hwnd()))
            return false;
        PaintMinimised();
        return true;
    case WM_QUERYDRAGICON:
        result = reinterpret_cast<LRESULT>(m_icon.get());
        return true;
    case WM_CTLCOLORDLG:
        result = reinterpret_cast<LRESULT>(m_background.get());
        return true;
    case WM_SIZE:
        RecalcLayout();
        return true;
    case WM_SETTINGCHANGE:
        if (wParam == SPI_SETWORKAREA)
            OnWorkAreaChanged();
        return false;
    case WM_DISPLAYCHANGE:
        OnWorkAreaChanged();
        return false;
    case WM_SHOWWINDOW:
        // Nothing shows the stretched picture while the window is hidden.
        if (!wParam)
            m_canvas.DropScaledPicture();
        return false;
    case WM_HSCROLL:
    case WM_VSCROLL:
        OnScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam));
        return true;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        OnMouseWheel(message, wParam, lParam);
        return true;
    case WM_CLOSE:
        // The program keeps running in the notification area.
        ::ShowWindow(Hwnd(), SW_HIDE);
        return true;
    case WM_QUERYENDSESSION:
        // The session may end without another message reaching us: save now.
        m_settings.SaveSettings(m_profile);
        result = TRUE;
        return true;
    case WM_ENDSESSION:
        // Only a session that really ends takes the program with it; after a
        // cancelled log-off the program keeps running.
        if (wParam)
            ::PostQuitMessage(0);
        return true;
    case WM_DESTROY:
        OnDestroy();
        return false;
    default:
        return fw::Dialog::HandleMessage(message, wParam, lParam, result);
    }
}
