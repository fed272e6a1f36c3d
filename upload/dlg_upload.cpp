#include "upload/dlg_upload.h"

#include "common/pictures.h"
#include "framework/application.h"
#include "framework/dpi.h"
#include "upload/app_settings.h"
#include "upload/multipart_form.h"

#include "resource.h"

#include <commctrl.h>
#include <shellapi.h>

#include <atomic>
#include <mutex>

namespace {

constexpr COLORREF kBackground = RGB(62, 113, 170);
constexpr COLORREF kStatusText = RGB(255, 255, 255);
// Worker -> dialog: the progress bar's new position (wParam).
constexpr UINT kProgressChanged = WM_APP + 1;

} // namespace

// What the dialog and its worker share; it lives as long as either holds it.
struct CDlgUpload::Run final : UploadEvents {
    UploadJob job;
    fw::Stream picture; // the worker's own reference
    UploadCancel cancel;
    // The last position posted to the dialog (worker only).
    int postedPercent = 0;
    // Written by the worker before it sets finished and posts its report.
    UploadOutcome outcome;
    std::atomic<bool> finished{false};

    // Null once the dialog has let the worker go.
    void Post(UINT message, WPARAM wParam) {
        std::lock_guard<std::mutex> lock(mutex);
        if (window)
            ::PostMessageW(window, message, wParam, 0);
    }
    void Attach(HWND dialogWindow, CDlgUpload* owner) {
        std::lock_guard<std::mutex> lock(mutex);
        window = dialogWindow;
        dialog = owner;
    }

    void OnProgress(int position) override {
        // Every position the upload passes is posted, each once (at most
        // 101 notices): the bar moves through them even when the network's
        // buffers take half the body at once. The worker never waits for
        // the interface thread.
        if (position == postedPercent)
            return;
        postedPercent = position;
        Post(kProgressChanged, static_cast<WPARAM>(position));
    }
    void OpenPage(const std::wstring& address) override {
        // Only after the cancel switch accepted the answer: the dialog then
        // waits for the worker and is still there.
        CDlgUpload* owner = nullptr;
        {
            std::lock_guard<std::mutex> lock(mutex);
            owner = dialog;
        }
        if (owner)
            owner->OpenPage(address);
    }

private:
    std::mutex mutex;
    HWND window = nullptr;
    CDlgUpload* dialog = nullptr;
};

CDlgUpload::CDlgUpload(IStream* picture, int mode, std::wstring workOrderText,
                       const CAppSettings& settings)
    : fw::Dialog(IDD_UPLOAD),
      m_icon(static_cast<HICON>(::LoadImageW(fw::ResourceInstance(), MAKEINTRESOURCEW(IDI_LUMVEX),
                                             IMAGE_ICON, 0, 0, LR_DEFAULTSIZE))),
      m_background(::CreateSolidBrush(kBackground)), m_serverName(settings.GetServerName()),
      m_run(std::make_shared<Run>()) {
    m_run->job.url = settings.GetUploadURL();
    m_run->job.securityKey = settings.securityKey;
    m_run->job.workOrder = WorkOrderValue(mode, workOrderText);
    if (picture) {
        picture->AddRef();
        m_run->picture.reset(picture);
    }
    m_run->job.picture = m_run->picture.get();
}

CDlgUpload::~CDlgUpload() {
    // WM_DESTROY (which stops the worker) needs the whole object.
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

const std::wstring& CDlgUpload::WorkOrder() const noexcept {
    return m_run->job.workOrder;
}

std::wstring CDlgUpload::FailureCause() const {
    return DescribeFailure(m_outcome);
}

BOOL CDlgUpload::OnInitDialog() {
    Bind(m_status, IDC_UPLOAD_STATUS);
    Bind(m_cancelButton, IDC_UPLOAD_CANCEL);
    fw::Dialog::OnInitDialog();

    ::SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon.get()));
    ::SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon.get()));
    ::SendMessageW(Item(IDC_UPLOAD_PROGRESS), PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    // Wine's static control never frees the picture its template loaded:
    // without one of ours in its place, every upload would keep a bitmap.
    SetStaticPicture(Item(IDC_UPLOAD_BANNER),
                     LoadPicture(IDB_UPLOAD_BANNER, NearestPictureDpi(fw::DpiOf(Hwnd()))),
                     m_banner);

    m_cancelButton.SetBitmaps(nullptr, IDB_UPLOAD_CANCEL, IDB_UPLOAD_CANCEL, IDB_UPLOAD_CANCEL,
                              IDB_UPLOAD_CANCEL, IDB_UPLOAD_CANCEL_MASK);
    m_cancelButton.SetButtonCursor(::LoadCursorW(nullptr, IDC_HAND));
    // Its picture carries the label.
    m_cancelButton.SetDrawsCaption(false);

    m_status.SetColors(CColorStaticST::ColorIndex::Text, kStatusText);
    m_status.SetColors(CColorStaticST::ColorIndex::Background, kBackground);
    ::SetWindowTextW(m_status.Hwnd(), (L"Uploading to: " + m_serverName).c_str());

    m_outcome = UploadOutcome{};
    m_run->Attach(Hwnd(), this);
    // The thread gets a reference of its own, which it drops as it ends.
    auto* reference = new std::shared_ptr<Run>(m_run);
    m_worker.reset(::CreateThread(nullptr, 0, UploadThreadProc, reference, 0, nullptr));
    if (!m_worker) {
        delete reference;
        // No worker will report: say it ourselves.
        m_run->finished = true;
        ::PostMessageW(Hwnd(), WM_UPLOAD_FINISHED, kUploadFailed, 0);
    }
    return TRUE;
}

DWORD WINAPI CDlgUpload::UploadThreadProc(void* parameter) {
    const std::unique_ptr<std::shared_ptr<Run>> reference(
        static_cast<std::shared_ptr<Run>*>(parameter));
    Run& run = **reference;
    {
        // The shell, which opens the server's page, needs COM.
        fw::ComScope com;
        run.outcome = RunUpload(run.job, run.cancel, run);
    }
    run.finished = true;
    run.Post(WM_UPLOAD_FINISHED, static_cast<WPARAM>(run.outcome.result));
    return 0;
}

void CDlgUpload::OnProgressChanged(WPARAM position) {
    ::SendMessageW(Item(IDC_UPLOAD_PROGRESS), PBM_SETPOS, position, 0);
}

void CDlgUpload::OpenPage(const std::wstring& address) {
    ::ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

bool CDlgUpload::OnCommand(WORD id, WORD notifyCode, HWND control) {
    if (id == IDC_UPLOAD_CANCEL) {
        EndDialog(StopUpload());
        return true;
    }
    return fw::Dialog::OnCommand(id, notifyCode, control);
}

bool CDlgUpload::OnQuitMessage() {
    // The program is asked to end: stop the upload now; the run then ends
    // and passes the quit message on.
    if (!m_run->finished)
        EndDialog(StopUpload());
    else
        OnUploadFinished();
    return false;
}

void CDlgUpload::OnUploadFinished() {
    // A WM_UPLOAD_FINISHED before the worker's report is not the worker's.
    if (!m_run->finished)
        return;
    // Nothing but the thread's end is left to wait for.
    WaitForWorker(INFINITE);
    m_outcome = m_run->outcome;
    EndDialog(EndCodeFor(static_cast<WPARAM>(m_outcome.result)));
}

INT_PTR CDlgUpload::StopUpload() noexcept {
    if (!m_run->cancel.Cancel()) {
        // Too late: the server took the picture, and the worker is opening
        // its page.
        WaitForWorker(INFINITE);
        return IDOK;
    }
    if (!WaitForWorker(kCancelGraceMs)) {
        // Still blocked in WinInet: from now on the worker posts nothing and
        // opens nothing; its Run keeps what it still reads alive.
        m_run->Attach(nullptr, nullptr);
        m_worker.reset();
    }
    return IDABORT;
}

bool CDlgUpload::WaitForWorker(DWORD timeoutMs) noexcept {
    if (!m_worker)
        return true;
    HANDLE thread = m_worker.get();
    const DWORD start = ::GetTickCount();
    for (;;) {
        DWORD left = INFINITE;
        if (timeoutMs != INFINITE) {
            const DWORD waited = ::GetTickCount() - start;
            left = waited >= timeoutMs ? 0 : timeoutMs - waited;
        }
        // Take in whatever the worker (or the shell on its behalf) sends this
        // thread while waiting.
        const DWORD woken = ::MsgWaitForMultipleObjects(1, &thread, FALSE, left, QS_SENDMESSAGE);
        if (woken == WAIT_OBJECT_0 + 1) {
            MSG message{};
            ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
            continue;
        }
        if (woken != WAIT_OBJECT_0)
            return false;
        m_worker.reset();
        return true;
    }
}

bool CDlgUpload::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case kProgressChanged:
        OnProgressChanged(wParam);
        result = 0;
        return true;
    case WM_UPLOAD_FINISHED:
        OnUploadFinished();
        result = 0;
        return true;
    case WM_CTLCOLORDLG:
        result = reinterpret_cast<LRESULT>(m_background.get());
        return true;
    case WM_DESTROY:
        // Normally the worker has long ended; a window destroyed from
        // outside must still not leave it writing to a dead object.
        if (m_worker)
            StopUpload();
        m_run->Attach(nullptr, nullptr);
        return false;
    default:
        return fw::Dialog::HandleMessage(message, wParam, lParam, result);
    }
}
