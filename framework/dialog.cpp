#include "framework/dialog.h"

#include "framework/application.h"
#include "framework/control.h"

namespace fw {
namespace {

constexpr wchar_t kDialogProperty[] = L"fw.Dialog";

// Messages whose result a dialog procedure returns directly instead of
// through DWLP_MSGRESULT.
// https://learn.microsoft.com/en-us/windows/win32/api/winuser/nc-winuser-dlgproc
bool ReturnsResultDirectly(UINT message) {
    switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
        return true;
    default:
        return false;
    }
}

} // namespace

Dialog::~Dialog() {
    if (!m_hwnd)
        return;
    // The derived part of the object is gone: nothing the destruction sends
    // may reach it.
    HWND window = m_hwnd;
    ReleaseWindow();
    ::DestroyWindow(window);
}

Dialog* Dialog::FromHandle(HWND window) noexcept {
    return window ? static_cast<Dialog*>(::GetPropW(window, kDialogProperty)) : nullptr;
}

void Dialog::ReleaseWindow() noexcept {
    if (m_hwnd)
        ::RemovePropW(m_hwnd, kDialogProperty);
    m_hwnd = nullptr;
}

void Dialog::DestroyWindow() noexcept {
    if (!m_hwnd)
        return;
    // The object is whole: its WM_DESTROY handling (the dialog's teardown)
    // runs, and WM_NCDESTROY lets go of the window.
    HWND window = m_hwnd;
    ::DestroyWindow(window);
    if (m_hwnd == window && !::IsWindow(window))
        ReleaseWindow();
}

INT_PTR Dialog::DoModal(HWND owner) {
    HINSTANCE instance = ResourceInstance();
    if (!::FindResourceW(instance, MAKEINTRESOURCEW(m_templateId), RT_DIALOG))
        return -1;

    // A dialog opened from a child panel belongs to the window the panel sits
    // in; that whole window must be disabled, not just the panel.
    if (owner && (::GetWindowLongPtrW(owner, GWL_STYLE) & WS_CHILD))
        owner = ::GetAncestor(owner, GA_ROOT);
    bool reenableOwner = false;
    if (owner && ::IsWindowEnabled(owner)) {
        ::EnableWindow(owner, FALSE);
        reenableOwner = true;
    }
    m_modal = true;
    m_ended = false;
    m_result = -1;
    HWND window = ::CreateDialogParamW(instance, MAKEINTRESOURCEW(m_templateId), owner, StaticProc,
                                       reinterpret_cast<LPARAM>(this));
    INT_PTR result = -1;
    if (window) {
        result = RunModalLoop();
        ::SetWindowPos(window, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    if (reenableOwner)
        ::EnableWindow(owner, TRUE);
    if (owner && window && ::GetActiveWindow() == window)
        ::SetActiveWindow(owner);
    DestroyWindow();
    m_modal = false;
    return result;
}

INT_PTR Dialog::RunModalLoop() {
    m_quitPending = false;
    INT_PTR result = -1;
    MSG message{};
    for (;;) {
        if (m_ended || !m_hwnd) {
            result = m_result;
            break;
        }
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == -1)
            break;
        if (got == 0) {
            m_quitPending = true;
            m_quitCode = static_cast<int>(message.wParam);
            if (OnQuitMessage()) {
                result = IDABORT;
                break;
            }
            // The dialog ends itself later; meanwhile its messages (and
            // everything a worker thread sends it) keep flowing.
            continue;
        }
        if (!TranslateForModalLoop(message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    // Let enclosing loops see the quit message as well.
    if (m_quitPending)
        ::PostQuitMessage(m_quitCode);
    m_quitPending = false;
    return result;
}

bool Dialog::TranslateForModalLoop(MSG& message) {
    // Every dialog object from the target window up to its top-level window
    // gets a look, innermost first; this dialog always gets one.
    bool sawSelf = false;
    for (HWND window = message.hwnd; window; window = ::GetAncestor(window, GA_PARENT)) {
        if (Dialog* dialog = FromHandle(window)) {
            sawSelf = sawSelf || dialog == this;
            if (dialog->PreTranslateMessage(&message))
                return true;
        }
        if (::GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD)
            continue;
        break;
    }
    if (!sawSelf && PreTranslateMessage(&message))
        return true;
    // Keyboard navigation inside whichever of our dialogs has the message.
    if (message.hwnd) {
        HWND root = ::GetAncestor(message.hwnd, GA_ROOT);
        if (FromHandle(root) && ::IsDialogMessageW(root, &message))
            return true;
    }
    return false;
}

bool Dialog::Create(HWND parent) {
    if (m_hwnd)
        return false;
    m_modal = false;
    m_ended = false;
    return ::CreateDialogParamW(ResourceInstance(), MAKEINTRESOURCEW(m_templateId), parent,
                                StaticProc, reinterpret_cast<LPARAM>(this)) != nullptr &&
           m_hwnd != nullptr;
}

bool Dialog::CreatePanel(HWND host) {
    if (!host || !Create(host))
        return false;
    auto addControlParent = [](HWND window) {
        const LONG_PTR exStyle = ::GetWindowLongPtrW(window, GWL_EXSTYLE);
        ::SetWindowLongPtrW(window, GWL_EXSTYLE, exStyle | WS_EX_CONTROLPARENT);
    };
    addControlParent(host);
    addControlParent(m_hwnd);
    RECT panel{};
    ::GetWindowRect(m_hwnd, &panel);
    ::SetWindowPos(m_hwnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(host, nullptr, 0, 0, panel.right - panel.left, panel.bottom - panel.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::ShowWindow(m_hwnd, SW_SHOWNA);
    return true;
}

bool Dialog::OnQuitMessage() {
    return true;
}

void Dialog::EndDialog(INT_PTR result) noexcept {
    m_result = result;
    m_ended = true;
    // Wake the modal loop if it is waiting for a message.
    if (m_modal && m_hwnd)
        ::PostMessageW(m_hwnd, WM_NULL, 0, 0);
}

bool Dialog::PreTranslateMessage(MSG*) {
    return false;
}

BOOL Dialog::OnInitDialog() {
    DoDataExchange();
    return TRUE;
}

bool Dialog::Bind(Control& control, int controlId) {
    return control.Attach(m_hwnd, controlId);
}

bool Dialog::OnCommand(WORD id, WORD, HWND) {
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

void Dialog::OnOK() {
    if (m_modal)
        EndDialog(IDOK);
}

void Dialog::OnCancel() {
    if (m_modal)
        EndDialog(IDCANCEL);
}

bool Dialog::HandleMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
    switch (message) {
    case WM_INITDIALOG:
        result = OnInitDialog();
        return true;
    default:
        return false;
    }
}

INT_PTR CALLBACK Dialog::StaticProc(HWND window, UINT message, WPARAM wParam,
                                    LPARAM lParam) noexcept {
    Dialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        self->m_hwnd = window;
        ::SetPropW(window, kDialogProperty, self);
    } else {
        self = FromHandle(window);
    }
    if (!self)
        return FALSE;

    try {
        LRESULT result = 0;
        bool handled = ReflectToControl(message, wParam, lParam, result);
        if (!handled) {
            // WM_COMMAND from a control carries its handle; pass it on.
            if (message == WM_COMMAND) {
                handled =
                    self->OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
                result = 0;
            } else {
                handled = self->HandleMessage(message, wParam, lParam, result);
            }
        }
        if (message == WM_NCDESTROY && self->m_hwnd == window)
            self->ReleaseWindow();
        if (!handled)
            return FALSE;
        if (ReturnsResultDirectly(message))
            return static_cast<INT_PTR>(result);
        ::SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
        return TRUE;
    } catch (...) {
        // Nothing may unwind into user32.
        return FALSE;
    }
}

} // namespace fw
