// Dialogs from numbered templates: modal runs with our own message loop, and
// modeless child panels inside a parent window.
#pragma once

#include <windows.h>

namespace fw {

class Control;

class Dialog {
public:
    explicit Dialog(UINT templateId) noexcept : m_templateId(templateId) {}
    // Destroys a window that is still there, but without calling the derived
    // handlers (that part of the object is gone by then). A dialog whose
    // WM_DESTROY handling must run calls DestroyWindow in its own destructor.
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Creates the dialog, runs its modal loop until EndDialog or the quit
    // message, hides and destroys it, and answers the end code: the one given
    // to EndDialog, IDABORT when the quit message ended the loop (the quit
    // message is posted again so that outer loops end too), -1 when the
    // template cannot be loaded or the window cannot be created. The loop
    // does not show the window: a template without WS_VISIBLE stays hidden.
    // The owner (its top-level window when it is a child) is disabled for the
    // run.
    virtual INT_PTR DoModal(HWND owner = nullptr);

    // Creates the dialog as a modeless window (a child panel when the
    // template has WS_CHILD). False when the window could not be created.
    bool Create(HWND parent);
    // Creates a child panel inside host, a placeholder control of the window
    // that shows it: at the host's top left, the host sized to the panel,
    // and shown. Host and panel both become control parents
    // (WS_EX_CONTROLPARENT), so that the keyboard navigation of the window
    // around them (Tab, arrow keys, mnemonics) reaches the panel's controls.
    // The template should say DS_CONTROL | WS_CHILD.
    bool CreatePanel(HWND host);

    // Ends a modal run with this code; on a modeless dialog it only records it.
    void EndDialog(INT_PTR result) noexcept;

    HWND Hwnd() const noexcept { return m_hwnd; }
    UINT TemplateId() const noexcept { return m_templateId; }
    HWND Item(int controlId) const noexcept { return ::GetDlgItem(m_hwnd, controlId); }
    // Destroys the window; the dialog still receives WM_DESTROY.
    void DestroyWindow() noexcept;

    // The object of a window created by this class, or null.
    static Dialog* FromHandle(HWND window) noexcept;

    // Called by a running modal loop before it dispatches a message: first
    // for every dialog from the message's window up through its parents to
    // its top-level window, innermost first, then for the dialog that runs
    // the loop if it was not among them (so it also sees thread messages and
    // messages for other windows of the thread). Answer true to swallow the
    // message; the dialogs further out then do not see it.
    virtual bool PreTranslateMessage(MSG* message);

protected:
    // Default: DoDataExchange, then TRUE (focus to the first control).
    virtual BOOL OnInitDialog();
    // Binds controls to their objects (Bind).
    virtual void DoDataExchange() {}
    bool Bind(Control& control, int controlId);

    // Called by a running modal loop when the quit message arrives (the
    // program's Exit, the end of the session). Answer true to end the run at
    // once: DoModal then answers IDABORT. A dialog that must not end yet (it
    // waits for a worker thread that still uses it) answers false and ends
    // itself later with EndDialog. Either way the quit message is posted
    // again once the run is over, so that the loops further out end too.
    // Default: true.
    virtual bool OnQuitMessage();

    // WM_COMMAND. Default: IDOK -> OnOK, IDCANCEL -> OnCancel. Answer true
    // when handled.
    virtual bool OnCommand(WORD id, WORD notifyCode, HWND control);
    // Default in a modal run: EndDialog(IDOK / IDCANCEL); in a modeless
    // dialog (a child panel) nothing, so Enter and Escape never close it.
    virtual void OnOK();
    virtual void OnCancel();

    // The instance procedure for everything but WM_COMMAND (OnCommand) and
    // what a bound control handled. Answer true when handled; result is then
    // the message's result. The default handles WM_INITDIALOG.
    virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    friend class DialogTestDriver;

    static INT_PTR CALLBACK StaticProc(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    INT_PTR RunModalLoop();
    bool TranslateForModalLoop(MSG& message);
    void ReleaseWindow() noexcept;

    UINT m_templateId;
    HWND m_hwnd = nullptr;
    bool m_modal = false;
    bool m_ended = false;
    INT_PTR m_result = 0;
    // A quit message arrived while a dialog that answered false to
    // OnQuitMessage was running: post it again when the run ends.
    bool m_quitPending = false;
    int m_quitCode = 0;
};

} // namespace fw
