#include "upload/dlg_settings_ex.h"

#include "common/pictures.h"
#include "controls/window_text.h"
#include "upload/dlg_upload_server.h"
#include "framework/dpi.h"

#include "resource.h"

#include <shellapi.h>

namespace {

// Where the controls sit over the background picture, in its pixels at 96
// DPI. The picture prints the field's label and scheme and the invitation
// beside them, so they follow the picture, not the dialog units of whatever
// font the system gives the dialog. In visual order, which Tab follows: More
// Info, the address field, Cancel, Save.
constexpr POINT kMoreInfoAt{357, 137};
constexpr POINT kCancelAt{263, 263};
constexpr POINT kSaveAt{357, 263};
// The address field: its left edge, and the line its edit box is centred
// on, level with the printed "http://".
constexpr int kFieldLeft = 161;
constexpr int kFieldCentreY = 245;
constexpr int kFieldWidth = 282;
constexpr int kFieldListHeight = 120;

// The button's pictures, which carry its label: normal (also when
// disabled) and pressed.
void SetButtonPictures(CButtonRgn& button, PictureCache& pictures, UINT normal, UINT pressed,
                       UINT pictureDpi) {
    ButtonBitmaps bitmaps;
    bitmaps.normal = pictures.Get(normal, pictureDpi);
    bitmaps.pressed = pictures.Get(pressed, pictureDpi);
    bitmaps.disabled = pictures.Get(normal, pictureDpi);
    button.SetBitmaps(std::move(bitmaps));
    button.SetDrawsCaption(false);
}

// The address as typed, without any "http://": the picture prints the scheme
// in front of the field. Only that exact spelling is the printed scheme.
std::wstring WithoutScheme(std::wstring address) {
    constexpr std::wstring_view kScheme = L"http://";
    for (size_t at = address.find(kScheme); at != std::wstring::npos;
         at = address.find(kScheme, at))
        address.erase(at, kScheme.size());
    return address;
}

bool EqualIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

} // namespace

CDlgSettingsEx::CDlgSettingsEx(std::vector<tagServerEntry> servers, int serverIndex)
    : fw::Dialog(IDD_SETTINGS_EX), m_servers(std::move(servers)), m_serverIndex(serverIndex) {}

void CDlgSettingsEx::DoDataExchange() {
    Bind(m_moreInfo, IDC_MORE_INFO);
    Bind(m_save, IDC_SETTINGS_EX_SAVE);
    Bind(m_cancel, IDC_SETTINGS_EX_CANCEL);
    Bind(m_history, IDC_SERVER_HISTORY);
}

BOOL CDlgSettingsEx::OnInitDialog() {
    fw::Dialog::OnInitDialog();
    // The pictures at the dialog's scale, ours to free: Wine's static
    // control would not free the one its template loaded.
    const UINT pictureDpi = NearestPictureDpi(fw::DpiOf(Hwnd()));
    PictureCache pictures;
    SetStaticPicture(Item(IDC_SETTINGS_EX_BACK), pictures.Get(IDB_SETTINGS_EX_BACK, pictureDpi),
                     m_picture);
    FitToPicture(pictureDpi);
    SetButtonPictures(m_moreInfo, pictures, IDB_MORE_INFO, IDB_MORE_INFO, pictureDpi);
    SetButtonPictures(m_save, pictures, IDB_SETTINGS_EX_SAVE, IDB_SETTINGS_EX_SAVE_PRESSED,
                      pictureDpi);
    SetButtonPictures(m_cancel, pictures, IDB_CANCEL, IDB_CANCEL_PRESSED, pictureDpi);

    HWND field = m_history.Hwnd();
    // Each goes to the top: the most recent server is offered first.
    for (const tagServerEntry& server : m_servers)
        m_history.AddToHistory(server.url);
    m_serverIndex = CAppSettings::ValidServerIndex(m_serverIndex, m_servers.size());
    if (!m_servers.empty())
        ::SetWindowTextW(field, m_servers[static_cast<size_t>(m_serverIndex)].url.c_str());
    ::SendMessageW(field, CB_LIMITTEXT, kMaxAddressLength, 0);

    // The address is what the user came for.
    ::SendMessageW(Hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
    return FALSE;
}

void CDlgSettingsEx::FitToPicture(UINT pictureDpi) {
    HWND picture = Item(IDC_SETTINGS_EX_BACK);
    // A picture control takes the size of its bitmap; the dialog takes the
    // picture's, keeping its centre where the template put it.
    RECT shown{};
    ::GetWindowRect(picture, &shown);
    RECT frame{0, 0, shown.right - shown.left, shown.bottom - shown.top};
    ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongPtrW(Hwnd(), GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongPtrW(Hwnd(), GWL_EXSTYLE)));
    RECT now{};
    ::GetWindowRect(Hwnd(), &now);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    ::SetWindowPos(Hwnd(), nullptr, (now.left + now.right - width) / 2,
                   (now.top + now.bottom - height) / 2, width, height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(picture, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    // Buttons and field lie over the picture: right behind it in the drawing
    // order, one after the other in the order Tab visits them.
    const int buttonWidth = fw::Scale(kButtonWidth, pictureDpi);
    const int buttonHeight = fw::Scale(kButtonHeight, pictureDpi);
    HWND after = picture;
    auto placeButton = [&](int id, POINT at96) {
        const POINT at = fw::Scale(at96, pictureDpi);
        ::SetWindowPos(Item(id), after, at.x, at.y, buttonWidth, buttonHeight, SWP_NOACTIVATE);
        after = Item(id);
    };
    placeButton(IDC_MORE_INFO, kMoreInfoAt);
    HWND field = Item(IDC_SERVER_HISTORY);
    RECT box{};
    ::GetWindowRect(field, &box); // the closed combo: its edit box only
    const int fieldHeight = box.bottom - box.top;
    ::SetWindowPos(field, after, fw::Scale(kFieldLeft, pictureDpi),
                   fw::Scale(kFieldCentreY, pictureDpi) - fieldHeight / 2,
                   fw::Scale(kFieldWidth, pictureDpi), fw::Scale(kFieldListHeight, pictureDpi),
                   SWP_NOACTIVATE);
    after = field;
    placeButton(IDC_SETTINGS_EX_CANCEL, kCancelAt);
    placeButton(IDC_SETTINGS_EX_SAVE, kSaveAt);
}

void CDlgSettingsEx::OnSave() {
    HWND field = m_history.Hwnd();
    const std::wstring address = WithoutScheme(WindowText(field));
    ::SetWindowTextW(field, address.c_str());
    if (!CAppSettings::IsUsableServerURL(address)) {
        // Nothing to store: back to the field.
        ::MessageBeep(MB_OK);
        ::SendMessageW(Hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
        return;
    }
    if (!AcceptServerScheme(Hwnd(), field, address))
        return;
    bool known = false;
    for (size_t i = 0; i < m_servers.size() && !known; ++i) {
        if (EqualIgnoringCase(m_servers[i].url, address)) {
            m_serverIndex = static_cast<int>(i);
            known = true;
        }
    }
    if (!known) {
        m_history.AddToHistory(address);
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
