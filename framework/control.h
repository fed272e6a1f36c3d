// A custom control: an object bound to a control window by subclassing.
#pragma once

#include <windows.h>

namespace fw {

// Binds to an existing control (usually a dialog item) with SetWindowSubclass
// and lets derived classes handle its messages. The parent dialog reflects
// WM_DRAWITEM, WM_CTLCOLOR*, WM_NOTIFY, WM_COMMAND notifications and scroll
// messages of the control back to it (OnReflect), so that a control can draw
// and colour itself. The binding ends at WM_NCDESTROY or destruction,
// whichever comes first.
class Control {
public:
    Control() = default;
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    bool Attach(HWND control);
    bool Attach(HWND dialog, int controlId) { return Attach(::GetDlgItem(dialog, controlId)); }
    // Creates a control window of a registered class and binds to it.
    bool Create(const wchar_t* windowClass, DWORD style, DWORD exStyle, const RECT& rect,
                HWND parent, int controlId, const wchar_t* text = L"");
    void Detach();

    HWND Hwnd() const noexcept { return m_hwnd; }
    int ControlId() const noexcept { return ::GetDlgCtrlID(m_hwnd); }

    // The object bound to a window, or null.
    static Control* FromHandle(HWND window) noexcept;

    // Called by the parent with a message that concerns this control. Answer
    // true when handled; result is what the parent returns.
    virtual bool OnReflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

protected:
    // Called once the control is bound, before any of its messages reach
    // HandleMessage: the place to adjust the window's style.
    virtual void OnAttached() {}
    // The control's own messages. Answer true when handled (result is then
    // returned), false for the default processing.
    virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The previous window procedure of the control.
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR subclassId, DWORD_PTR refData) noexcept;

    HWND m_hwnd = nullptr;
};

// A control that other controls were moved into (radio buttons placed on a
// picture, say). Windows sends a control's notifications, colour and drawing
// requests to its parent, and a picture or frame ignores them; this passes
// them on to its own parent, the dialog, which handles them as it handles
// its direct children's (and reflects them to their bound objects). It also
// lets the dialog's keyboard navigation into it (WS_EX_CONTROLPARENT).
class ControlContainer : public Control {
protected:
    void OnAttached() override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

// Sends a parent's message to the bound control it concerns. Answers true
// when the control handled it. Dialogs call this before their own handling.
bool ReflectToControl(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

} // namespace fw
