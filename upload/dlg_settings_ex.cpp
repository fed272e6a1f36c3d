#include "upload/dlg_settings_ex.h"

#include "controls/window_text.h"

#include "resource.h"

#include <shellapi.h>

namespace {

bool EqualIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

} // namespace

CDlgSettingsEx::CDlgSettingsEx(std::vector<tagServerEntry> servers, int serverIndex)
    : fw::Dialog(IDD_SETTINGS_EX), m_servers(std::move(servers)), m_serverIndex(serverIndex) {}

std::wstring CDlgSettingsEx::WithoutScheme(std::wstring address) {
    static constexpr std::wstring_view kScheme = L"http://";
    for (size_t at = address.find(kScheme); at != std::wstring::npos;
         at = address.find(kScheme, at))
        address.erase(at, kScheme.size());
    return address;
}

void CDlgSettingsEx::DoDataExchange() {
    Bind(m_moreInfo, IDC_MORE_INFO);
    Bind(m_save, IDC_SETTINGS_EX_SAVE);
    Bind(m_cancel, IDC_SETTINGS_EX_CANCEL);
}

BOOL CDlgSettingsEx::OnInitDialog() {
    fw::Dialog::OnInitDialog();
    HWND picture = Item(IDC_SETTINGS_EX_BACK);
    // Buttons and field lie over the picture: each goes right behind it.
    for (CButtonRgn* button : {&m_moreInfo, &m_save, &m_cancel})
        ::SetWindowPos(button->Hwnd(), picture, 0, 0, kButtonWidth, kButtonHeight,
                       SWP_NOMOVE | SWP_NOACTIVATE);
    m_moreInfo.SetBitmaps(nullptr, IDB_MORE_INFO, IDB_MORE_INFO, 0, IDB_MORE_INFO, 0);
    m_save.SetBitmaps(nullptr, IDB_SAVE_SHADED, IDB_SAVE_LIGHT, 0, IDB_SAVE_SHADED, 0);
    m_cancel.SetBitmaps(nullptr, IDB_CANCEL, IDB_CANCEL_PRESSED, 0, IDB_CANCEL, 0);

    HWND field = Item(IDC_SERVER_HISTORY);
    ::SetWindowPos(field, picture, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (const tagServerEntry& server : m_servers)
        AddToHistory(server.url);
    m_serverIndex = CAppSettings::ValidServerIndex(m_serverIndex, m_servers.size());
    if (!m_servers.empty())
        ::SetWindowTextW(field, m_servers[static_cast<size_t>(m_serverIndex)].url.c_str());
    ::SendMessageW(field, CB_LIMITTEXT, kMaxAddressLength, 0);

    // The address is what the user came for.
    ::SendMessageW(Hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
    return FALSE;
}

void CDlgSettingsEx::AddToHistory(const std::wstring& address) {
    ::SendMessageW(Item(IDC_SERVER_HISTORY), CB_INSERTSTRING, 0,
                   reinterpret_cast<LPARAM>(address.c_str()));
}

void CDlgSettingsEx::OnSave() {
    HWND field = Item(IDC_SERVER_HISTORY);
    const std::wstring address = WithoutScheme(WindowText(field));
    ::SetWindowTextW(field, address.c_str());
    if (!CAppSettings::IsUsableServerURL(address)) {
        // Nothing to store: back to the field.
        ::MessageBeep(MB_OK);
        ::SendMessageW(Hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
        return;
    }
    bool known = false;
    for (size_t i = 0; i < m_servers.size() && !known; ++i) {
        if (EqualIgnoringCase(m_servers[i].url, address)) {
            m_serverIndex = static_cast<int>(i);
            known = true;
        }
    }
    if (!known) {
        AddToHistory(address);
        m_servers.push_back({address, false});
        m_serverIndex = static_cast<int>(m_servers.size() - 1);
    }
    EndDialog(IDOK);
}

void CDlgSettingsEx::OnOK() {
    OnSave();
}

bool CDlgSettingsEx::OnCommand(WORD id, WORD notifyCode, HWND control) {
    switch (id) {
    case IDC_MORE_INFO:
        // The dialog stays open.
        ::ShellExecuteW(nullptr, L"open", CAppSettings::ProductPageURL(L"").c_str(), nullptr,
                        nullptr, SW_HIDE);
        return true;
    case IDC_SETTINGS_EX_SAVE:
        OnSave();
        return true;
    case IDC_SETTINGS_EX_CANCEL:
        EndDialog(IDCANCEL);
        return true;
    default:
        return fw::Dialog::OnCommand(id, notifyCode, control);
    }
}

bool EditOwnServer(CAppSettings& settings, const fw::Profile& profile, HWND owner) {
    CDlgSettingsEx dialog(settings.servers, settings.serverIndex);
    // Whatever the dialog answers, its list is the one to keep.
    dialog.DoModal(owner);
    const std::vector<tagServerEntry> servers = settings.servers;
    const int serverIndex = settings.serverIndex;
    settings.serverIndex = dialog.ServerIndex();
    settings.servers = dialog.Servers();
    settings.TrimServers();
    const bool changed = settings.servers != servers || settings.serverIndex != serverIndex;
    if (changed)
        settings.SaveSettings(profile);
    return changed;
}
