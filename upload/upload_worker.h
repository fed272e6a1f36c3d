// One upload's HTTP exchange: a multipart/form-data POST of the security key,
// the work-order number and the picture, and the reading of the answer.
//
// Threads: RunUpload runs on the upload dialog's worker thread and does all
// its work there. It opens, uses and closes its three WinInet handles (the
// session, the connection, the request) itself; no other thread ever sees
// them. Everything it shares with the interface thread goes through
// UploadEvents, whose operations it calls on its own thread.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <wininet.h>

#include <string>

// How an upload ended; the values are the ones the worker reports to the
// upload dialog.
enum UploadResult : int {
    kUploadAccepted = 1,  // the server took it and named a page, which was opened
    kUploadFailed = 2,    // anything else went wrong
    kUploadCancelled = 4, // the user cancelled before the body was complete
};

// What one upload sends. Everything is fixed before the worker starts.
struct UploadJob {
    std::wstring url; // the address the form is posted to
    std::wstring securityKey;
    std::wstring workOrder; // the workorder_id value (see WorkOrderValue)
    // The JPEG, read from its current position to its end. Not owned; only
    // the worker reads it until RunUpload returns.
    IStream* picture = nullptr;
};

// The worker's view of whoever waits for it. Called on the worker thread.
class UploadEvents {
public:
    // Asked before every block of the picture and once after the last.
    virtual bool IsCancelled() = 0;
    // After every block of the picture: the new position, 0..100.
    virtual void OnProgress(int percent) = 0;
    // The server accepted the upload and named this page (an absolute http
    // or https address) for the user to see.
    virtual void OpenPage(const std::wstring& address) = 0;

protected:
    ~UploadEvents() = default;
};

// The user agent the request announces.
inline constexpr wchar_t kUploadAgent[] = L"Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1)";

// Sends the form and reads the answer: status 200 or 302 with an openable
// Location is kUploadAccepted (after OpenPage). A failed write of any part
// of the body ends as kUploadFailed without asking for the answer, so that
// an incomplete upload never counts as accepted. A cancel seen before the
// body is complete ends as kUploadCancelled: the closing boundary is not
// sent and the request is abandoned.
int RunUpload(const UploadJob& job, UploadEvents& events);

// A response header (or the status code) as text; empty when the request
// has none or it cannot be read.
std::wstring QueryHeaderString(HINTERNET request, DWORD info);
