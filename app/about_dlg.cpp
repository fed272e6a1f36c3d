#include "app/about_dlg.h"

#include "common/pictures.h"
#include "framework/dpi.h"

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
    // The picture runs down the whole left side from the top-left corner;
    // its 96-DPI size is the box's at 96 DPI.
    if (HWND control = ::GetDlgItem(Hwnd(), IDC_ABOUT_PICTURE)) {
        m_picture = LoadPicture(IDB_ABOUT, NearestPictureDpi(fw::DpiOf(Hwnd())));
        if (m_picture) {
            if (HBITMAP previous = reinterpret_cast<HBITMAP>(
                    ::SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP,
                                   reinterpret_cast<LPARAM>(m_picture.get()))))
                ::DeleteObject(previous); // the one the template loaded
        }
        ::SetWindowPos(control, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return TRUE;
}
