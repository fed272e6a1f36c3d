#include "upload/dlg_send_request.h"

#include "controls/window_text.h"

#include "resource.h"

namespace {

constexpr SIZE kSubmitSize{140, 33};
constexpr SIZE kSmallButtonSize{68, 26};
constexpr int kSmallButtonGap = 10;

RECT RectIn(HWND parent, HWND child) {
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

} // namespace

CDlgSendRequest::CDlgSendRequest() noexcept : fw::Dialog(IDD_SUBMIT_PANEL) {}

CDlgSendRequest::~CDlgSendRequest() {
    m_workOrder.RemoveListener(this);
    DestroyWindow();
}

void CDlgSendRequest::DoDataExchange() {
    Bind(m_background, IDC_SUBMIT_BACKGROUND);
    Bind(m_create, IDC_CREATE_TQ);
    Bind(m_addTo, IDC_ADD_TO_TQ);
    Bind(m_submit, IDC_SUBMIT);
    Bind(m_workOrder, IDC_WORKORDER);
    Bind(m_email, IDC_SUBMIT_EMAIL);
    Bind(m_save, IDC_SUBMIT_SAVE);
}

BOOL CDlgSendRequest::OnInitDialog() {
    fw::Dialog::OnInitDialog();
    CheckCreate(true);

    // The panel is its picture (the picture control takes the bitmap's
    // size): dialog units come out smaller with some fonts, which would cut
    // the picture off.
    RECT pictureRect{};
    ::GetWindowRect(m_background.Hwnd(), &pictureRect);
    ::SetWindowPos(Hwnd(), nullptr, 0, 0, pictureRect.right - pictureRect.left,
                   pictureRect.bottom - pictureRect.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    // The radio buttons go onto the picture so that they are drawn over it;
    // the picture passes their messages on to us.
    HWND picture = m_background.Hwnd();
    for (HWND radio : {m_create.Hwnd(), m_addTo.Hwnd()}) {
        const RECT place = RectIn(picture, radio);
        ::SetParent(radio, picture);
        ::SetWindowPos(radio, nullptr, place.left, place.top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ::SetWindowLongPtrW(picture, GWL_STYLE,
                        ::GetWindowLongPtrW(picture, GWL_STYLE) | WS_CLIPCHILDREN);

    // The buttons at their pictures' sizes. They already follow the picture
    // in the drawing order (it comes first in the template), and keep the
    // template's order among themselves: Tab goes from the choice to the
    // number, then to Submit, Save and Email.
    auto size = [](HWND button, SIZE extent) {
        ::SetWindowPos(button, nullptr, 0, 0, extent.cx, extent.cy,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    };
    size(m_submit.Hwnd(), kSubmitSize);
    m_submit.SetBitmaps(nullptr, IDB_SUBMIT, IDB_SUBMIT_PRESSED, IDB_SUBMIT, IDB_SUBMIT, 0);
    size(m_save.Hwnd(), kSmallButtonSize);
    m_save.SetBitmaps(nullptr, IDB_SAVE_LIGHT, IDB_SAVE_SHADED, IDB_SAVE_LIGHT, IDB_SAVE_LIGHT, 0);
    size(m_email.Hwnd(), kSmallButtonSize);
    m_email.SetBitmaps(nullptr, IDB_EMAIL, IDB_EMAIL_PRESSED, IDB_EMAIL, IDB_EMAIL, 0);

    // Save and Email under Submit, flush with its left and right edges.
    const RECT submit = RectIn(Hwnd(), m_submit.Hwnd());
    const int top = submit.bottom + kSmallButtonGap;
    ::SetWindowPos(m_save.Hwnd(), nullptr, submit.left, top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(m_email.Hwnd(), nullptr, submit.right - kSmallButtonSize.cx, top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    m_workOrder.AddListener(this);
    return TRUE;
}

void CDlgSendRequest::CheckCreate(bool create) {
    ::SendMessageW(m_create.Hwnd(), BM_SETCHECK, create ? BST_CHECKED : BST_UNCHECKED, 0);
    ::SendMessageW(m_addTo.Hwnd(), BM_SETCHECK, create ? BST_UNCHECKED : BST_CHECKED, 0);
}

void CDlgSendRequest::ResetRequest() {
    if (!Hwnd())
        return;
    CheckCreate(true);
    ::SetWindowTextW(m_workOrder.Hwnd(), L"");
}

bool CDlgSendRequest::IsCreateChecked() const {
    return ::SendMessageW(m_create.Hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::wstring CDlgSendRequest::WorkOrderText() const {
    return WindowText(m_workOrder.Hwnd());
}

void CDlgSendRequest::OnEditClicked() {
    CheckCreate(false);
}

void CDlgSendRequest::SendToMainWindow(UINT message) const {
    if (HWND main = ::GetAncestor(Hwnd(), GA_ROOT); main && main != Hwnd())
        ::SendMessageW(main, message, 0, 0);
}

bool CDlgSendRequest::OnCommand(WORD id, WORD notifyCode, HWND control) {
    if (control && notifyCode == BN_CLICKED) {
        switch (id) {
        case IDC_CREATE_TQ:
            ::EnableWindow(m_workOrder.Hwnd(), FALSE);
            return true;
        case IDC_ADD_TO_TQ:
            ::EnableWindow(m_workOrder.Hwnd(), TRUE);
            return true;
        case IDC_SUBMIT:
            SendToMainWindow(WM_SUBMIT_SCREENSHOT);
            return true;
        case IDC_SUBMIT_SAVE:
            SendToMainWindow(WM_SAVE_SCREENSHOT);
            return true;
        case IDC_SUBMIT_EMAIL:
            SendToMainWindow(WM_EMAIL_SCREENSHOT);
            return true;
        default:
            break;
        }
    }
    return fw::Dialog::OnCommand(id, notifyCode, control);
}

bool CDlgSendRequest::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_DESTROY)
        m_workOrder.RemoveListener(this);
    return fw::Dialog::HandleMessage(message, wParam, lParam, result);
}
