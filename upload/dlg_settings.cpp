#include "upload/dlg_settings.h"

#include "upload/dlg_upload_server.h"

#include "resource.h"

namespace {

void ShowInformation(HWND owner, const wchar_t* text) {
    ::MessageBoxW(owner, text, L"Information", MB_ICONINFORMATION | MB_OK);
}

} // namespace

CDlgSettings::CDlgSettings(std::vector<tagServerEntry> servers, int serverIndex, bool notifications)
    : fw::Dialog(IDD_SETTINGS), m_servers(std::move(servers)), m_serverIndex(serverIndex),
      m_notifications(notifications) {}

BOOL CDlgSettings::OnInitDialog() {
    fw::Dialog::OnInitDialog();
    HWND list = Item(IDC_SERVER_LIST);
    for (const tagServerEntry& server : m_servers)
        ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(server.url.c_str()));
    // A stored index that names no server shows (and, on OK, stores) the
    // default server.
    m_serverIndex = CAppSettings::ValidServerIndex(m_serverIndex, m_servers.size());
    ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(m_serverIndex), 0);
    UpdateButtons();
    ::CheckDlgButton(Hwnd(), IDC_NOTIFICATIONS, m_notifications ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

int CDlgSettings::ShownServer() const {
    const auto shown = static_cast<int>(::SendMessageW(Item(IDC_SERVER_LIST), CB_GETCURSEL, 0, 0));
    return shown >= 0 && static_cast<size_t>(shown) < m_servers.size() ? shown : -1;
}

void CDlgSettings::UpdateButtons() {
    if (m_serverIndex < 0 || static_cast<size_t>(m_serverIndex) >= m_servers.size())
        return;
    // The default server can be neither edited nor deleted.
    const bool userServer = !m_servers[static_cast<size_t>(m_serverIndex)].isDefault;
    for (const int id : {IDC_SERVER_EDIT, IDC_SERVER_DELETE}) {
        HWND button = Item(id);
        // A button about to be disabled must not keep the keyboard focus.
        if (!userServer && ::GetFocus() == button)
            ::SendMessageW(Hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDC_SERVER_LIST)),
                           TRUE);
        ::EnableWindow(button, userServer);
    }
}

void CDlgSettings::OnAddServer() {
    CDlgUploadServer dialog;
    if (dialog.DoModal(Hwnd()) != IDOK)
        return;
    m_servers.push_back({dialog.Url(), false});
    HWND list = Item(IDC_SERVER_LIST);
    ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(dialog.Url().c_str()));
    m_serverIndex = static_cast<int>(m_servers.size() - 1);
    ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(m_serverIndex), 0);
    UpdateButtons();
}

void CDlgSettings::OnEditServer() {
    const int shown = ShownServer();
    if (shown < 0)
        return;
    tagServerEntry& server = m_servers[static_cast<size_t>(shown)];
    if (server.isDefault) {
        ShowInformation(Hwnd(), L"This is the default upload server. It can not be edited!");
        return;
    }
    CDlgUploadServer dialog(server.url);
    if (dialog.DoModal(Hwnd()) != IDOK)
        return;
    server.url = dialog.Url();
    HWND list = Item(IDC_SERVER_LIST);
    ::SendMessageW(list, CB_DELETESTRING, static_cast<WPARAM>(shown), 0);
    ::SendMessageW(list, CB_INSERTSTRING, static_cast<WPARAM>(shown),
                   reinterpret_cast<LPARAM>(server.url.c_str()));
    ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(shown), 0);
    UpdateButtons();
}

void CDlgSettings::OnDeleteServer() {
    const int shown = ShownServer();
    if (shown < 0)
        return;
    if (m_servers[static_cast<size_t>(shown)].isDefault) {
        ShowInformation(Hwnd(), L"This is the default upload server. It can not be deleted!");
        return;
    }
    if (::MessageBoxW(Hwnd(), L"Do you really want to delete the selected server?", L"Question",
                      MB_ICONQUESTION | MB_OKCANCEL) != IDOK)
        return;
    HWND list = Item(IDC_SERVER_LIST);
    ::SendMessageW(list, CB_DELETESTRING, static_cast<WPARAM>(shown), 0);
    m_servers.erase(m_servers.begin() + shown);
    ::SendMessageW(list, CB_SETCURSEL, 0, 0);
    m_serverIndex = 0;
    UpdateButtons();
}

bool CDlgSettings::OnCommand(WORD id, WORD notifyCode, HWND control) {
    switch (id) {
    case IDC_SERVER_LIST:
        if (notifyCode == CBN_SELENDOK) {
            m_serverIndex =
                static_cast<int>(::SendMessageW(Item(IDC_SERVER_LIST), CB_GETCURSEL, 0, 0));
            UpdateButtons();
        }
        return true;
    case IDC_SERVER_ADD:
        OnAddServer();
        return true;
    case IDC_SERVER_EDIT:
        OnEditServer();
        return true;
    case IDC_SERVER_DELETE:
        OnDeleteServer();
        return true;
    default:
        return fw::Dialog::OnCommand(id, notifyCode, control);
    }
}

void CDlgSettings::OnOK() {
    m_notifications = ::IsDlgButtonChecked(Hwnd(), IDC_NOTIFICATIONS) == BST_CHECKED;
    EndDialog(IDOK);
}

bool EditSettings(CAppSettings& settings, const fw::Profile& profile, HWND owner) {
    CDlgSettings dialog(settings.servers, settings.serverIndex, settings.enableNotifications);
    if (dialog.DoModal(owner) != IDOK)
        return false;
    const bool changed = dialog.Servers() != settings.servers ||
                         dialog.ServerIndex() != settings.serverIndex ||
                         dialog.NotificationsEnabled() != settings.enableNotifications;
    settings.serverIndex = dialog.ServerIndex();
    settings.enableNotifications = dialog.NotificationsEnabled();
    settings.servers = dialog.Servers();
    if (changed)
        settings.SaveSettings(profile);
    return changed;
}
