#include "app/about_dlg.h"

#include "common/pictures.h"
#include "framework/dpi.h"
#include "framework/picture.h"

#include "resource.h"

namespace {

constexpr wchar_t kNotice[] =
    L"Lumvex captures your screen, lets you mark the picture up and passes it on: "
    L"saved as a JPEG file, copied to the clipboard, sent by e-mail or attached to a "
    L"work order on your server.\r\n\r\n"
    L"This program is protected by copyright law. Unauthorised reproduction or "
    L"distribution of this program, or any portion of it, may result in civil and "
    L"criminal penalties.";

// The picture made as tall as height by repeating its last row below it: its
// bottom rows are one plain band, and fonts other than the one it was drawn
// for make the box taller than the picture.
fw::GdiBitmap ExtendedDown(fw::GdiBitmap picture, int height) {
    const SIZE size = fw::BitmapSize(picture.get());
    if (size.cy <= 0 || size.cy >= height)
        return picture;
    HDC screen = ::GetDC(nullptr);
    fw::GdiBitmap tall(::CreateCompatibleBitmap(screen, size.cx, height));
    fw::MemoryDc from(::CreateCompatibleDC(screen));
    fw::MemoryDc to(::CreateCompatibleDC(screen));
    ::ReleaseDC(nullptr, screen);
    if (!tall || !from || !to)
        return picture;
    HGDIOBJ oldFrom = ::SelectObject(from.get(), picture.get());
    HGDIOBJ oldTo = ::SelectObject(to.get(), tall.get());
    ::BitBlt(to.get(), 0, 0, size.cx, size.cy, from.get(), 0, 0, SRCCOPY);
    ::StretchBlt(to.get(), 0, size.cy, size.cx, height - size.cy, from.get(), 0, size.cy - 1,
                 size.cx, 1, SRCCOPY);
    ::SelectObject(to.get(), oldTo);
    ::SelectObject(from.get(), oldFrom);
    return tall;
}

} // namespace

CAboutDlg::CAboutDlg() : fw::Dialog(IDD_ABOUTBOX) {}

BOOL CAboutDlg::OnInitDialog() {
    fw::Dialog::OnInitDialog();
    ::SetDlgItemTextW(Hwnd(), IDC_ABOUT_NOTICE, kNotice);
    // The picture runs down the whole left side from the top-left corner.
    if (HWND control = ::GetDlgItem(Hwnd(), IDC_ABOUT_PICTURE)) {
        RECT client{};
        ::GetClientRect(Hwnd(), &client);
        SetStaticPicture(control,
                         ExtendedDown(LoadPicture(IDB_ABOUT, NearestPictureDpi(fw::DpiOf(Hwnd()))),
                                      client.bottom),
                         m_picture);
        ::SetWindowPos(control, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        // A smaller font than the picture was drawn for makes the box
        // shorter: the box grows instead of cutting the picture off.
        const int missing = fw::BitmapSize(m_picture.get()).cy - client.bottom;
        if (missing > 0) {
            RECT frame{};
            ::GetWindowRect(Hwnd(), &frame);
            ::SetWindowPos(Hwnd(), nullptr, 0, 0, frame.right - frame.left,
                           frame.bottom - frame.top + missing,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    return TRUE;
}
