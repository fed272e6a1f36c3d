// The small modal window that uploads the annotated picture to the selected
// work-order server: it shows the server and the progress, lets the user
// cancel, and ends with the upload's outcome once its worker thread is done.
//
// Threads: the dialog lives on the interface thread. Each run starts one
// worker thread (RunUpload), which touches only the picture stream, the
// cancel flag, the latest progress position (with a posted notice when none
// is pending), OpenPage and, as its last act, one posted WM_UPLOAD_FINISHED.
// The worker never waits for the interface thread. The dialog ends only on
// that message, which comes after every progress notice: Enter, Escape and the close box do
// nothing, and a quit request (Exit, the end of the session) cancels the upload and waits for the
// worker's report with the messages still flowing. So the dialog, and the
// stream its caller holds, outlive every access the worker makes.
#pragma once

#include "controls/button_rgn.h"
#include "controls/color_static_st.h"
#include "framework/dialog.h"
#include "framework/handles.h"
#include "upload/upload_worker.h"

#include <windows.h>
#include <objidl.h>

#include <atomic>
#include <string>

class CAppSettings;

class CDlgUpload : public fw::Dialog, private UploadEvents {
public:
    // picture: the JPEG, positioned at its start, not owned; it must stay
    // open until DoModal has returned. mode: 1 to add the picture to the
    // work order numbered workOrderText, 0 to create a new work order. The
    // settings give the server, its address and the security key; they are
    // read here, on the caller's thread.
    CDlgUpload(IStream* picture, int mode, std::wstring workOrderText,
               const CAppSettings& settings);
    ~CDlgUpload() override;

    // DoModal answers IDOK (the server took the picture and its page was
    // opened), IDCANCEL (the upload failed) or IDABORT (cancelled).

    // The end code for a result the worker reported.
    static INT_PTR EndCodeFor(WPARAM result) noexcept;

    const std::wstring& WorkOrder() const noexcept { return m_job.workOrder; }

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(WORD id, WORD notifyCode, HWND control) override;
    // Only the worker's report ends the dialog.
    void OnOK() override {}
    void OnCancel() override {}
    bool OnQuitMessage() override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // Shows the page the server named in the user's browser. Runs on the
    // worker thread, which has COM started as the shell requires.
    void OpenPage(const std::wstring& address) override;

private:
    static DWORD WINAPI UploadThreadProc(void* parameter);
    bool IsCancelled() override;
    void OnProgress(int percent) override;
    void OnProgressChanged();
    void OnUploadFinished(WPARAM result);
    // Waits until the worker thread has ended, letting its sent messages in.
    void WaitForWorker() noexcept;

    fw::Icon m_icon;
    fw::GdiBrush m_background;
    UploadJob m_job;
    std::wstring m_serverName;
    fw::KernelHandle m_worker;
    std::atomic<bool> m_cancel{false};
    // Set by the worker just before it posts its report: a WM_UPLOAD_FINISHED
    // that comes before it is not the worker's and is ignored.
    std::atomic<bool> m_finished{false};
    // The dialog's window, for the worker's messages.
    HWND m_dialog = nullptr;
    // The latest progress position and whether a notice of it is on its way.
    std::atomic<int> m_percent{0};
    std::atomic<bool> m_progressPending{false};
    CColorStaticST m_status;
    CButtonRgn m_cancelButton;
};
