#include "app/tray_icon.h"

#include "framework/application.h"

#include <cwchar>
#include <iterator>

bool CTrayIcon::Add(HWND window, UINT callbackMessage, HICON icon, const wchar_t* tip) {
    Remove();
    m_record = NOTIFYICONDATAW{};
    // The platform's own size for this build; older shells accept it too.
    m_record.cbSize = sizeof(m_record);
    m_record.hWnd = window;
    m_record.uID = kIconId;
    m_record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_record.uCallbackMessage = callbackMessage;
    m_record.hIcon = icon;
    std::wcsncpy(m_record.szTip, tip, std::size(m_record.szTip) - 1);
    m_added = ::Shell_NotifyIconW(NIM_ADD, &m_record) != FALSE;
    return m_added;
}

void CTrayIcon::Remove() {
    if (!m_added)
        return;
    ::Shell_NotifyIconW(NIM_DELETE, &m_record);
    m_added = false;
}

fw::Icon LoadSmallIcon(UINT id) {
    return fw::Icon(static_cast<HICON>(::LoadImageW(fw::ResourceInstance(), MAKEINTRESOURCEW(id),
                                                    IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                    ::GetSystemMetrics(SM_CYSMICON), 0)));
}

TrayAction TrayActionFor(UINT mouseMessage) {
    switch (mouseMessage) {
    case WM_LBUTTONDOWN:
        return TrayAction::TakeScreenshot;
    case WM_LBUTTONDBLCLK:
        return TrayAction::ShowWindow;
    case WM_RBUTTONDOWN:
        return TrayAction::ShowMenu;
    default:
        return TrayAction::None;
    }
}
