#include "app/about_dlg.h"

#include "resource.h"

namespace {

constexpr wchar_t kNotice[] =
    L"Lumvex captures your screen, lets you mark the picture up and passes it on: "
    L"saved as a JPEG file, copied to the clipboard, sent by e-mail or attached to a "
    L"work order on your server.\r\n\r\n"
    L"This program is protected by copyright law. Unauthorised reproduction or "
    L"distribution of this program, or any portion of it, may result in civil and "
    L"criminal penalties.";

} // namespace

CAboutDlg::CAboutDlg() : fw::Dialog(IDD_ABOUTBOX) {}

BOOL CAboutDlg::OnInitDialog() {
    fw::Dialog::OnInitDialog();
    ::SetDlgItemTextW(Hwnd(), IDC_ABOUT_NOTICE, kNotice);
    return TRUE;
}
