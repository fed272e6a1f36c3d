#include "upload/dlg_status.h"

#include "framework/application.h"
#include "upload/app_settings.h"
#include "upload/dlg_settings.h"
#include "upload/dlg_settings_ex.h"

#include "resource.h"

#include <shellapi.h>

#include <algorithm>

namespace {

constexpr int kChangeWidth = 71;
constexpr int kChangeHeight = 29;

RECT ChildRectIn(HWND parent, HWND child) {
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Bold, underlined and black with the hand cursor: a link on the strip.
void MakeLink(CColorStaticST& text) {
    text.SetColors(CColorStaticST::ColorIndex::Background, CDlgStatus::kBackground);
    text.SetColors(CColorStaticST::ColorIndex::Text, RGB(0, 0, 0));
    text.SetBold(true);
    text.SetUnderline(true);
    text.SetStaticCursor(::LoadCursorW(nullptr, IDC_HAND));
}

} // namespace

StatusStripLayout ComputeStatusStripLayout(int width, int height, const RECT& link,
                                           const RECT& edition) {
    StatusStripLayout out;
    const LONG w = link.right - link.left;
    const LONG h = link.bottom - link.top;
    const LONG left = width - w - CDlgStatus::kLinkMargin;
    const LONG top = (height - h) / 2;
    out.link = RECT{left, top, left + w, top + h};
    out.edition = edition;
    out.edition.right = std::max(edition.left, left - CDlgStatus::kEditionGap);
    return out;
}

CDlgStatus::CDlgStatus(CAppSettings& settings, fw::Profile profile)
    : fw::Dialog(IDD_STATUS), m_settings(settings), m_profile(std::move(profile)),
      m_background(::CreateSolidBrush(kBackground)) {}

CDlgStatus::~CDlgStatus() {
    // The button must be gone before its picture.
    DestroyWindow();
}

void CDlgStatus::DoDataExchange() {
    Bind(m_edition, IDC_EDITION);
    Bind(m_link, IDC_TELL_SOMEONE);
    Bind(m_serverName, IDC_SERVER_NAME);
}

BOOL CDlgStatus::OnInitDialog() {
    fw::Dialog::OnInitDialog();
    MakeLink(m_edition);
    m_serverName.SetColors(CColorStaticST::ColorIndex::Background, kBackground);
    MakeLink(m_link);

    HWND change = Item(IDC_STATUS_CHANGE);
    ::SetWindowPos(change, nullptr, 0, 0, kChangeWidth, kChangeHeight,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_changePicture.reset(static_cast<HBITMAP>(::LoadImageW(
        fw::ResourceInstance(), MAKEINTRESOURCEW(IDB_STATUS_CHANGE), IMAGE_BITMAP, 0, 0, 0)));
    ::SendMessageW(change, BM_SETIMAGE, IMAGE_BITMAP,
                   reinterpret_cast<LPARAM>(m_changePicture.get()));

    ShowServerName();
    RecalcLayout();
    return TRUE;
}

void CDlgStatus::ShowServerName() {
    ::SetWindowTextW(m_serverName.Hwnd(), m_settings.GetServerName().c_str());
}

void CDlgStatus::RecalcLayout() {
    HWND link = Item(IDC_TELL_SOMEONE);
    HWND edition = Item(IDC_EDITION);
    if (!link)
        return;
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    const StatusStripLayout layout =
        ComputeStatusStripLayout(client.right, client.bottom, ChildRectIn(Hwnd(), link),
                                 edition ? ChildRectIn(Hwnd(), edition) : RECT{});
    auto move = [](HWND window, const RECT& r) {
        ::MoveWindow(window, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
        // A static that shrinks keeps what it drew at its old width (its
        // class does not redraw on resizing); the shorter text needs an
        // ellipsis now.
        ::InvalidateRect(window, nullptr, TRUE);
    };
    move(link, layout.link);
    if (edition)
        move(edition, layout.edition);
}

void CDlgStatus::OnEditionClicked() {
    EditOwnServer(m_settings, m_profile, Hwnd());
}

void CDlgStatus::OnChangeClicked() {
    EditSettings(m_settings, m_profile, Hwnd());
    ShowServerName();
}

bool CDlgStatus::OnCommand(WORD id, WORD notifyCode, HWND control) {
    switch (id) {
    case IDC_EDITION:
        if (notifyCode == STN_CLICKED)
            OnEditionClicked();
        return true;
    case IDC_STATUS_CHANGE:
        if (notifyCode == BN_CLICKED)
            OnChangeClicked();
        return true;
    case IDC_TELL_SOMEONE:
        if (notifyCode == STN_CLICKED)
            ::ShellExecuteW(nullptr, L"open",
                            CAppSettings::ProductPageURL(L"tell-someone.php").c_str(), nullptr,
                            nullptr, SW_HIDE);
        return true;
    default:
        return fw::Dialog::OnCommand(id, notifyCode, control);
    }
}

bool CDlgStatus::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_SIZE:
        if (Hwnd())
            RecalcLayout();
        return false;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORMSGBOX:
        // The whole strip and whatever sits on it share one background.
        result = reinterpret_cast<LRESULT>(m_background.get());
        return true;
    default:
        return fw::Dialog::HandleMessage(message, wParam, lParam, result);
    }
}
