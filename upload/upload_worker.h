// One upload's HTTP exchange: a multipart/form-data POST of the security key,
// the work-order number and the picture, and the reading of the answer.
//
// Threads: RunUpload runs on the upload dialog's worker thread and makes
// every WinInet call there. Its three handles (the session, the connection,
// the request) are kept in an UploadCancel, through which another thread can
// close them to stop the upload; after that the worker makes no call on them.
// Everything else it shares goes through UploadEvents, whose operations it
// calls on its own thread.
#pragma once

#include "upload/upload_outcome.h"

#include <windows.h>
#include <objidl.h>
#include <wininet.h>

#include <atomic>
#include <mutex>
#include <string>

// How long an upload may go without progress: connecting, every write of
// the body and the wait for the answer each get this long.
inline constexpr DWORD kUploadStallTimeoutMs = 30000;

// The user agent the request announces.
inline constexpr wchar_t kUploadAgent[] = L"Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1)";

// What one upload sends. Everything is fixed before the worker starts.
struct UploadJob {
    std::wstring url; // the address the form is posted to
    std::wstring securityKey;
    std::wstring workOrder; // the workorder_id value (see WorkOrderValue)
    // The JPEG, read from its current position to its end. Not owned; only
    // the worker reads it until RunUpload returns.
    IStream* picture = nullptr;
    DWORD stallTimeoutMs = kUploadStallTimeoutMs;
};

// The worker's view of whoever waits for it. Called on the worker thread.
class UploadEvents {
public:
    // After every block of the picture: the new position, 0..100.
    virtual void OnProgress(int percent) = 0;
    // The server accepted the upload and named this page (an absolute http
    // or https address) for the user to see.
    virtual void OpenPage(const std::wstring& address) = 0;

protected:
    ~UploadEvents() = default;
};

// The stop switch of one upload. Every operation may be called on any
// thread; the worker keeps its WinInet handles here so that Cancel can
// close them.
class UploadCancel {
public:
    UploadCancel() = default;
    ~UploadCancel();
    UploadCancel(const UploadCancel&) = delete;
    UploadCancel& operator=(const UploadCancel&) = delete;

    // Stops the upload: closes the worker's handles, which makes a WinInet
    // call blocked on them return (on Windows at once; Wine's lets it run on
    // until its timeout), and refuses new ones. False when the upload was
    // accepted first: that then stands.
    // https://learn.microsoft.com/en-us/windows/win32/api/wininet/nf-wininet-internetclosehandle
    bool Cancel() noexcept;
    bool IsCancelled() const noexcept { return m_cancelled.load(); }

    // The worker's side. Keeps a new handle for closing and answers it;
    // after a cancel closes it at once and answers null.
    HINTERNET Keep(HINTERNET handle) noexcept;
    // The server's answer is taken: from now on Cancel refuses. False when a
    // cancel came first.
    bool Accept() noexcept;
    // Closes every handle kept (the worker at its end).
    void CloseHandles() noexcept;

private:
    void CloseLocked() noexcept;

    std::mutex m_mutex;
    HINTERNET m_handles[3] = {};
    size_t m_count = 0;
    std::atomic<bool> m_cancelled{false};
    bool m_accepted = false;
};

// Sends the form and reads the answer: status 200 or 302 with a Location
// that, resolved against the upload address, can be opened is
// kUploadAccepted (after OpenPage); a 302 back to the upload address is not.
// A failed write of any part of the body ends as kUploadFailed without
// asking for the answer, so that an incomplete upload never counts as
// accepted. A cancel that comes before the answer is accepted ends as
// kUploadCancelled: nothing more is sent and the page is not opened.
UploadOutcome RunUpload(const UploadJob& job, UploadCancel& cancel, UploadEvents& events);

// A response header (or the status code) as text; empty when the request
// has none or it cannot be read.
std::wstring QueryHeaderString(HINTERNET request, DWORD info);
