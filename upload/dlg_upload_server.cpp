#include "upload/dlg_upload_server.h"

#include "controls/window_text.h"
#include "upload/app_settings.h"
#include "upload/upload_address.h"

#include "resource.h"

CDlgUploadServer::CDlgUploadServer(std::wstring url)
    : fw::Dialog(IDD_UPLOAD_SERVER), m_url(std::move(url)) {}

BOOL CDlgUploadServer::OnInitDialog() {
    fw::Dialog::OnInitDialog();
    HWND field = Item(IDC_SERVER_URL);
    // Longer addresses would not be read back at the next start.
    ::SendMessageW(field, EM_LIMITTEXT, CAppSettings::kMaxStringLength, 0);
    ::SetWindowTextW(field, m_url.c_str());
    return TRUE;
}

void CDlgUploadServer::OnOK() {
    HWND field = Item(IDC_SERVER_URL);
    std::wstring url = WindowText(field);
    if (!CAppSettings::IsUsableServerURL(url)) {
        // Nothing to store: back to the field.
        ::MessageBeep(MB_OK);
        ::SendMessageW(Hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
        return;
    }
    if (!AcceptServerScheme(Hwnd(), field, url))
        return;
    m_url = std::move(url);
    EndDialog(IDOK);
}

bool AcceptServerScheme(HWND dialog, HWND field, std::wstring_view address) {
    if (IsUploadServerScheme(address))
        return true;
    ::MessageBoxW(dialog, kOtherSchemeRefused, L"Information", MB_ICONINFORMATION | MB_OK);
    ::SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
    return false;
}
