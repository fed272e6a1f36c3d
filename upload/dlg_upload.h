// The small modal window that uploads the annotated picture to the selected
// work-order server: it shows the server and the progress, lets the user
// cancel, and ends with the upload's outcome once its worker thread is done.
//
// Threads: the dialog lives on the interface thread. Each run starts one
// worker thread (RunUpload), which shares with the dialog only a Run: the
// job with its own reference to the picture stream, the stop switch, the
// latest progress position, the dialog's window for its posted notices, and
// the outcome, written before its one WM_UPLOAD_FINISHED. The worker never
// waits for the interface thread. Enter, Escape and the close box do
// nothing. Cancel and a quit request (Exit, the end of the session) stop
// the upload at once: the worker's handles are closed, and a worker that
// does not end within kCancelGraceMs (Wine's WinInet does not give up a
// blocked call before its timeout) is let go: it then touches nothing of the
// dialog again, and ends by itself. The page of an accepted answer is opened
// only while the dialog waits for the worker, so the dialog outlives that
// call too.
#pragma once

#include "controls/button_rgn.h"
#include "controls/color_static_st.h"
#include "framework/dialog.h"
#include "framework/handles.h"
#include "upload/upload_worker.h"

#include <windows.h>
#include <objidl.h>

#include <memory>
#include <string>

class CAppSettings;

// How long Cancel waits for the worker to end before letting it go.
inline constexpr DWORD kCancelGraceMs = 200;

class CDlgUpload : public fw::Dialog {
public:
    // picture: the JPEG, positioned at its start, not owned (the worker
    // holds a reference of its own while it reads). mode: 1 to add the
    // picture to the work order numbered workOrderText, 0 to create a new
    // work order. The settings give the server, its address and the security
    // key; they are read here, on the caller's thread. One upload per object.
    CDlgUpload(IStream* picture, int mode, std::wstring workOrderText,
               const CAppSettings& settings);
    ~CDlgUpload() override;

    // DoModal answers IDOK (the server took the picture and its page was
    // opened), IDCANCEL (the upload failed) or IDABORT (cancelled).

    // The end code for a result the worker reported.
    static INT_PTR EndCodeFor(WPARAM result) noexcept;

    const std::wstring& WorkOrder() const noexcept;
    // After IDCANCEL: what went wrong, for the line below "Transfer failed!"
    // (empty when there is nothing the user can act on).
    std::wstring FailureCause() const;

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(WORD id, WORD notifyCode, HWND control) override;
    // Only the worker's report and Cancel end the dialog.
    void OnOK() override {}
    void OnCancel() override {}
    bool OnQuitMessage() override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // Shows the page the server named in the user's browser. Runs on the
    // worker thread, which has COM started as the shell requires, while the
    // dialog waits for it.
    virtual void OpenPage(const std::wstring& address);

private:
    struct Run;

    static DWORD WINAPI UploadThreadProc(void* parameter);
    void OnProgressChanged(WPARAM position);
    void OnUploadFinished();
    // Stops the upload at once; answers the end code: IDABORT, or IDOK when
    // the server's acceptance came first.
    INT_PTR StopUpload() noexcept;
    // Waits until the worker thread has ended, letting its sent messages in;
    // false when it still runs after timeoutMs.
    bool WaitForWorker(DWORD timeoutMs) noexcept;

    fw::Icon m_icon;
    fw::GdiBrush m_background;
    // The banner at the dialog's scale, ours to free.
    fw::GdiBitmap m_banner;
    std::wstring m_serverName;
    std::shared_ptr<Run> m_run;
    fw::KernelHandle m_worker;
    UploadOutcome m_outcome;
    CColorStaticST m_status;
    CButtonRgn m_cancelButton;
};
