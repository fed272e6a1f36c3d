#include "upload/dlg_send_request.h"

#include "common/pictures.h"
#include "controls/window_text.h"
#include "framework/dpi.h"
#include "framework/picture.h"

#include "resource.h"

#include <algorithm>
#include <utility>

namespace {

// Where the panel's picture leaves room for each control, in its pixels at
// 96 DPI: the radio buttons from (20, 23) and (20, 44), the number from
// (33, 68) to (127, 92), Submit at (18, 104), Save and Email 10 px under it,
// flush with its left and right edges.
constexpr POINT kCreateAt{20, 23};
constexpr POINT kAddToAt{20, 44};
constexpr RECT kWorkOrderRect{33, 68, 127, 92};
constexpr POINT kSubmitAt{18, 104};
constexpr POINT kSaveAt{18, 147};
constexpr POINT kEmailAt{90, 147};

// One picture for the normal, hover and disabled looks and one for pressed;
// they carry the button's label. The button as large as its picture, at its
// place on the panel's picture.
void SetButtonPictures(CButtonRgn& button, POINT at, UINT normal, UINT pressed, UINT pictureDpi) {
    button.SetDrawsCaption(false);
    ButtonBitmaps bitmaps;
    bitmaps.normal = LoadPicture(normal, pictureDpi);
    bitmaps.pressed = LoadPicture(pressed, pictureDpi);
    bitmaps.hover = LoadPicture(normal, pictureDpi);
    bitmaps.disabled = LoadPicture(normal, pictureDpi);
    const SIZE size = fw::BitmapSize(bitmaps.normal.get());
    const POINT place = fw::Scale(at, pictureDpi);
    ::SetWindowPos(button.Hwnd(), nullptr, place.x, place.y, size.cx, size.cy,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    button.SetBitmaps(std::move(bitmaps));
}

void MoveTo(HWND window, const RECT& rect) {
    ::SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left,
                   rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
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

    // The radio buttons go onto the picture so that they are drawn over it;
    // the picture passes their messages on to us.
    HWND picture = m_background.Hwnd();
    for (HWND radio : {m_create.Hwnd(), m_addTo.Hwnd()})
        ::SetParent(radio, picture);
    // A window moved to another parent goes to the top of its drawing order:
    // put "Create TQ" first again, which the arrow keys take as their order.
    ::SetWindowPos(m_create.Hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RECT radio{};
    ::GetWindowRect(m_create.Hwnd(), &radio);
    m_radioHeight = radio.bottom - radio.top;
    ::SetWindowLongPtrW(picture, GWL_STYLE,
                        ::GetWindowLongPtrW(picture, GWL_STYLE) | WS_CLIPCHILDREN);
    // The buttons already follow the picture in the drawing order (it comes
    // first in the template), and keep the template's order among
    // themselves: Tab goes from the choice to the number, then to Submit,
    // Save and Email.
    SetPictureDpi(NearestPictureDpi(fw::DpiOf(Hwnd())));

    m_workOrder.AddListener(this);
    return TRUE;
}

void CDlgSendRequest::SetPictureDpi(UINT pictureDpi) {
    if (!Hwnd())
        return;
    // The panel is its picture, and the controls go where the picture leaves
    // room for them (dialog units follow the font and would miss it).
    HWND picture = m_background.Hwnd();
    SetStaticPicture(picture, LoadPicture(IDB_SUBMIT_PANEL, pictureDpi), m_picture);
    const SIZE size = fw::BitmapSize(m_picture.get());
    if (size.cx > 0)
        ::SetWindowPos(Hwnd(), nullptr, 0, 0, size.cx, size.cy,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The radio buttons keep the template's size, but no taller than their
    // slots, so that the two never overlap on a small picture.
    const int radioHeight =
        std::min(m_radioHeight, fw::Scale(kAddToAt.y - kCreateAt.y, pictureDpi));
    for (const auto& [radio, at] :
         {std::pair{m_create.Hwnd(), kCreateAt}, std::pair{m_addTo.Hwnd(), kAddToAt}}) {
        RECT own{};
        ::GetWindowRect(radio, &own);
        const POINT place = fw::Scale(at, pictureDpi);
        MoveTo(radio,
               RECT{place.x, place.y, place.x + own.right - own.left, place.y + radioHeight});
    }
    // The buttons at their pictures' sizes.
    MoveTo(m_workOrder.Hwnd(), fw::Scale(kWorkOrderRect, pictureDpi));
    SetButtonPictures(m_submit, kSubmitAt, IDB_SUBMIT, IDB_SUBMIT_PRESSED, pictureDpi);
    SetButtonPictures(m_save, kSaveAt, IDB_SAVE_LIGHT, IDB_SAVE_SHADED, pictureDpi);
    SetButtonPictures(m_email, kEmailAt, IDB_EMAIL, IDB_EMAIL_PRESSED, pictureDpi);
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
