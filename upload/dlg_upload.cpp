#include "upload/dlg_upload.h"

#include "framework/application.h"
#include "upload/app_settings.h"
#include "upload/multipart_form.h"

#include "resource.h"

#include <commctrl.h>
#include <shellapi.h>

namespace {

constexpr COLORREF kBackground = RGB(62, 113, 170);
constexpr COLORREF kStatusText = RGB(255, 255, 255);
// Worker -> dialog: the progress changed (the position is in m_percent).
constexpr UINT kProgressChanged = WM_APP + 1;

} // namespace

CDlgUpload::CDlgUpload(IStream* picture, int mode, std::wstring workOrderText,
                       const CAppSettings& settings)
    : fw::Dialog(IDD_UPLOAD),
      m_icon(static_cast<HICON>(::LoadImageW(fw::ResourceInstance(), MAKEINTRESOURCEW(IDI_LUMVEX),
                                             IMAGE_ICON, 0, 0, LR_DEFAULTSIZE))),
      m_background(::CreateSolidBrush(kBackground)), m_serverName(settings.GetServerName()) {
    m_job.url = settings.GetUploadURL();
    m_job.securityKey = settings.securityKey;
    m_job.workOrder = WorkOrderValue(mode, workOrderText);
    m_job.picture = picture;
}

CDlgUpload::~CDlgUpload() {
    // WM_DESTROY (which waits for the worker) needs the whole object.
    DestroyWindow();
}

INT_PTR CDlgUpload::EndCodeFor(WPARAM result) noexcept {
    switch (result) {
    case 0:
    case kUploadFailed:
        return IDCANCEL;
    case kUploadCancelled:
        return IDABORT;
    default:
        return IDOK;
    }
}

BOOL CDlgUpload::OnInitDialog() {
    Bind(m_status, IDC_UPLOAD_STATUS);
    Bind(m_cancelButton, IDC_UPLOAD_CANCEL);
    fw::Dialog::OnInitDialog();

    ::SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon.get()));
    ::SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon.get()));
    ::SendMessageW(Item(IDC_UPLOAD_PROGRESS), PBM_SETRANGE, 0, MAKELPARAM(0, 100));

    m_cancelButton.SetBitmaps(nullptr, IDB_UPLOAD_CANCEL, IDB_UPLOAD_CANCEL, IDB_UPLOAD_CANCEL,
                              IDB_UPLOAD_CANCEL, IDB_UPLOAD_CANCEL_MASK);
    m_cancelButton.SetButtonCursor(::LoadCursorW(nullptr, IDC_HAND));
    // Its picture carries the label.
    m_cancelButton.SetDrawsCaption(false);

    m_status.SetColors(CColorStaticST::ColorIndex::Text, kStatusText);
    m_status.SetColors(CColorStaticST::ColorIndex::Background, kBackground);
    ::SetWindowTextW(m_status.Hwnd(), (L"Uploading to: " + m_serverName).c_str());

    m_dialog = Hwnd();
    m_cancel = false;
    m_finished = false;
    m_percent = 0;
    m_progressPending = false;
    m_worker.reset(::CreateThread(nullptr, 0, UploadThreadProc, this, 0, nullptr));
    if (!m_worker) {
        // No worker will report: say it ourselves.
        m_finished = true;
        ::PostMessageW(Hwnd(), WM_UPLOAD_FINISHED, kUploadFailed, 0);
    }
    return TRUE;
}

DWORD WINAPI CDlgUpload::UploadThreadProc(void* parameter) {
    auto* self = static_cast<CDlgUpload*>(parameter);
    const HWND dialog = self->m_dialog;
    int result = kUploadFailed;
    {
        // The shell, which opens the server's page, needs COM.
        fw::ComScope com;
        result = RunUpload(self->m_job, *self);
    }
    // The last touch of the dialog object: after this the dialog may end and
    // go away at any moment.
    self->m_finished = true;
    ::PostMessageW(dialog, WM_UPLOAD_FINISHED, static_cast<WPARAM>(result), 0);
    return 0;
}

bool CDlgUpload::IsCancelled() {
    return m_cancel.load();
}

void CDlgUpload::OnProgress(int percent) {
    // One notice at a time: the dialog shows the latest position when it
    // gets to it. The worker never waits for the interface thread, whose
    // bar repaints at every step (a hundred synchronous cross-thread messages
    // cost more than the whole transfer of a 5 MB picture).
    m_percent = percent;
    if (!m_progressPending.exchange(true))
        ::PostMessageW(m_dialog, kProgressChanged, 0, 0);
}

void CDlgUpload::OnProgressChanged() {
    // Cleared before the read: a step taken meanwhile posts a new notice.
    m_progressPending = false;
    ::SendMessageW(Item(IDC_UPLOAD_PROGRESS), PBM_SETPOS, static_cast<WPARAM>(m_percent.load()), 0);
}

void CDlgUpload::OpenPage(const std::wstring& address) {
    ::ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

bool CDlgUpload::OnCommand(WORD id, WORD notifyCode, HWND control) {
    if (id == IDC_UPLOAD_CANCEL) {
        // The worker sees it before its next block and reports; only then
        // does the dialog end.
        m_cancel = true;
        return true;
    }
    return fw::Dialog::OnCommand(id, notifyCode, control);
}

bool CDlgUpload::OnQuitMessage() {
    if (m_finished)
        return true;
    // The program is asked to end: stop the upload and leave once the worker
    // has reported (the run then passes the quit message on).
    m_cancel = true;
    return false;
}

void CDlgUpload::OnUploadFinished(WPARAM result) {
    if (!m_finished)
        return;
    WaitForWorker();
    EndDialog(EndCodeFor(result));
}

void CDlgUpload::WaitForWorker() noexcept {
    if (!m_worker)
        return;
    m_cancel = true;
    HANDLE thread = m_worker.get();
    // Take in whatever the worker (or the shell on its behalf) sends this
    // thread while waiting.
    while (::MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE) ==
           WAIT_OBJECT_0 + 1) {
        MSG message{};
        ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    m_worker.reset();
}

bool CDlgUpload::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case kProgressChanged:
        OnProgressChanged();
        result = 0;
        return true;
    case WM_UPLOAD_FINISHED:
        OnUploadFinished(wParam);
        result = 0;
        return true;
    case WM_CTLCOLORDLG:
        result = reinterpret_cast<LRESULT>(m_background.get());
        return true;
    case WM_DESTROY:
        // Normally the worker has long ended; a window destroyed from
        // outside must still not leave it writing to a dead object.
        WaitForWorker();
        return false;
    default:
        return fw::Dialog::HandleMessage(message, wParam, lParam, result);
    }
}
