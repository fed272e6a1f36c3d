// How an upload ended and what the user is told about a failure, free of
// windows and connections.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// How an upload ended; the values are the ones the worker reports to the
// upload dialog.
enum UploadResult : int {
    kUploadAccepted = 1,  // the server took it and named a page, which was opened
    kUploadFailed = 2,    // anything else went wrong
    kUploadCancelled = 4, // the user cancelled before the server's answer was taken
};

// Why an upload failed, as far as the user can act on it.
enum class UploadFailure {
    None,           // it did not fail
    Other,          // nothing the user can act on (no WinInet, no picture)
    BadAddress,     // the server address is no http or https address
    Unreachable,    // no connection to the host
    TimedOut,       // the server made no progress within the timeout
    ConnectionLost, // the connection broke off before the answer
    NoAnswer,       // the connection ended without an answer
    Status,         // the server answered with a status other than 200 or 302
    NoPage,         // an accepting answer that named no page that can be opened
    Redirected,     // a 302 back to the upload address: nothing was stored
};

struct UploadOutcome {
    int result = kUploadFailed;
    UploadFailure failure = UploadFailure::Other;
    // The host the upload went to (Unreachable).
    std::wstring host;
    // The timeout in whole seconds (TimedOut).
    DWORD timeoutSeconds = 0;
    // The answer's status, and the first line of its plain text body when
    // that is short enough to show (Status).
    long status = 0;
    std::wstring serverText;
};

// The line that follows "Transfer failed!" in the error box: what went wrong
// in words the user can act on. Empty when there is nothing to add.
std::wstring DescribeFailure(const UploadOutcome& outcome);

// The failure a WinInet or Winsock error code stands for: in connecting
// (connecting true) any error means the host could not be reached.
UploadFailure FailureOfError(DWORD error, bool connecting) noexcept;

// The first line of a server's body, when the body is plain text
// (text/plain) and that line is short printable ASCII that a message box
// can show as it is; empty otherwise. Servers that explain a refusal say it
// there ("Unknown work order").
std::wstring ServerTextLine(std::string_view contentType, std::string_view body);

// At most this many bytes of an error answer's body are read for it.
inline constexpr size_t kServerTextBytes = 1024;
