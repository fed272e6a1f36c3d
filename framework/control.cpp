#include "framework/control.h"

#include <commctrl.h>

namespace fw {
namespace {

constexpr UINT_PTR kSubclassId = 0x4C554D56; // any value unique to this class
constexpr wchar_t kControlProperty[] = L"fw.Control";

// The control window a parent's message is about, or null.
HWND ConcernedControl(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<HWND>(lParam);
    // Anyone may send these; a missing structure must not crash the parent.
    case WM_DRAWITEM:
        return wParam != 0 && lParam ? reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem
                                     : nullptr;
    case WM_NOTIFY:
        return lParam ? reinterpret_cast<const NMHDR*>(lParam)->hwndFrom : nullptr;
    default:
        return nullptr;
    }
}

} // namespace

Control::~Control() {
    Detach();
}

bool Control::Attach(HWND control) {
    Detach();
    if (!control || FromHandle(control))
        return false;
    if (!::SetWindowSubclass(control, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    ::SetPropW(control, kControlProperty, this);
    m_hwnd = control;
    OnAttached();
    return true;
}

bool Control::Create(const wchar_t* windowClass, DWORD style, DWORD exStyle, const RECT& rect,
                     HWND parent, int controlId, const wchar_t* text) {
    HWND control = ::CreateWindowExW(exStyle, windowClass, text, style, rect.left, rect.top,
                                     rect.right - rect.left, rect.bottom - rect.top, parent,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                                     ::GetModuleHandleW(nullptr), nullptr);
    if (!control)
        return false;
    if (!Attach(control)) {
        ::DestroyWindow(control);
        return false;
    }
    return true;
}

void Control::Detach() {
    if (!m_hwnd)
        return;
    ::RemovePropW(m_hwnd, kControlProperty);
    ::RemoveWindowSubclass(m_hwnd, SubclassProc, kSubclassId);
    m_hwnd = nullptr;
}

Control* Control::FromHandle(HWND window) noexcept {
    return window ? static_cast<Control*>(::GetPropW(window, kControlProperty)) : nullptr;
}

bool Control::OnReflect(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

bool Control::HandleMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

LRESULT Control::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefSubclassProc(m_hwnd, message, wParam, lParam);
}

LRESULT CALLBACK Control::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR refData) noexcept {
    auto* self = reinterpret_cast<Control*>(refData);
    if (message == WM_NCDESTROY) {
        // The window goes away before the object: unbind, then let the
        // original procedure finish its own clean-up.
        self->Detach();
        return ::DefSubclassProc(window, message, wParam, lParam);
    }
    try {
        LRESULT result = 0;
        if (self->HandleMessage(message, wParam, lParam, result))
            return result;
    } catch (...) {
        // Nothing may unwind into user32.
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

void ControlContainer::OnAttached() {
    const LONG_PTR exStyle = ::GetWindowLongPtrW(Hwnd(), GWL_EXSTYLE);
    ::SetWindowLongPtrW(Hwnd(), GWL_EXSTYLE, exStyle | WS_EX_CONTROLPARENT);
}

bool ControlContainer::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    // Only what comes from a child: the same messages from anyone else
    // (none are sent to a control about itself) stay here.
    HWND child = ConcernedControl(message, wParam, lParam);
    if (!child || ::GetParent(child) != Hwnd())
        return false;
    HWND parent = ::GetParent(Hwnd());
    if (!parent)
        return false;
    result = ::SendMessageW(parent, message, wParam, lParam);
    return true;
}

bool ReflectToControl(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    Control* control = Control::FromHandle(ConcernedControl(message, wParam, lParam));
    if (!control)
        return false;
    try {
        return control->OnReflect(message, wParam, lParam, result);
    } catch (...) {
        return false;
    }
}

} // namespace fw
