#include "upload/dlg_notify.h"

#include "resource.h"

CDlgNotify::CDlgNotify() noexcept : fw::Dialog(IDD_NOTIFY) {}

CDlgNotify::~CDlgNotify() {
    DestroyWindow();
    ReleasePicture();
}

BOOL CDlgNotify::OnInitDialog() {
    fw::Dialog::OnInitDialog();
    const LONG_PTR exStyle = ::GetWindowLongPtrW(Hwnd(), GWL_EXSTYLE);
    ::SetWindowLongPtrW(Hwnd(), GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    return TRUE;
}

void CDlgNotify::Hide() {
    ::KillTimer(Hwnd(), IDT_NOTIFY_HIDE);
    ::ShowWindow(Hwnd(), SW_HIDE);
}

void CDlgNotify::ReleasePicture() noexcept {
    if (m_memoryDc && m_oldBitmap)
        ::SelectObject(m_memoryDc.get(), m_oldBitmap);
    m_oldBitmap = nullptr;
    m_memoryDc.reset();
}

bool CDlgNotify::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_TIMER:
        if (wParam != IDT_NOTIFY_HIDE)
            return false;
        Hide();
        return true;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        Hide();
        return true;
    case WM_PAINT:
        // A layered window shows what it was given; there is nothing to draw.
        ::ValidateRect(Hwnd(), nullptr);
        return true;
    case WM_DESTROY:
        ReleasePicture();
        return false;
    default:
        return fw::Dialog::HandleMessage(message, wParam, lParam, result);
    }
}
