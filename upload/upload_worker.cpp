#include "upload/upload_worker.h"

#include "framework/system_library.h"
#include "framework/text.h"
#include "upload/form_boundary.h"
#include "upload/multipart_form.h"
#include "upload/upload_address.h"

#include <wininet.h>

#include <cwchar>
#include <optional>
#include <string_view>
#include <vector>

namespace {

bool WriteAll(const fw::WinInetApi& net, HINTERNET request, const void* data, size_t size) {
    const auto* bytes = static_cast<const BYTE*>(data);
    while (size > 0) {
        const DWORD chunk = size > MAXDWORD ? MAXDWORD : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!net.InternetWriteFile(request, bytes, chunk, &written))
            return false;
        if (written == 0) {
            ::SetLastError(ERROR_INTERNET_CONNECTION_ABORTED);
            return false;
        }
        bytes += written;
        size -= written;
    }
    return true;
}

// The bytes from the stream's current position to its end, or nothing when
// the stream cannot tell.
bool RemainingLength(IStream* stream, std::uint64_t& length) {
    STATSTG stat{};
    ULARGE_INTEGER position{};
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) ||
        FAILED(stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_CUR, &position)) ||
        position.QuadPart > stat.cbSize.QuadPart)
        return false;
    length = stat.cbSize.QuadPart - position.QuadPart;
    return true;
}

UploadOutcome Failure(UploadFailure why) {
    UploadOutcome outcome;
    outcome.failure = why;
    return outcome;
}

UploadOutcome Cancelled() {
    UploadOutcome outcome;
    outcome.result = kUploadCancelled;
    outcome.failure = UploadFailure::None;
    return outcome;
}

// One run of RunUpload.
class Upload {
public:
    Upload(const UploadJob& job, UploadCancel& cancel, UploadEvents& events,
           const fw::WinInetApi& net, UploadTarget target)
        : m_job(job), m_cancel(cancel), m_events(events), m_net(net), m_target(std::move(target)) {}

    UploadOutcome Run(std::uint64_t length);

private:
    // The outcome of a call that failed with error, read right after it.
    UploadOutcome FailedWith(DWORD error, bool connecting) const;
    void LimitWaiting(HINTERNET handle) const;
    enum class Body { Complete, Stopped };
    Body WritePicture(std::uint64_t length, UploadOutcome& outcome);
    UploadOutcome ReadAnswer(DWORD waitStart);
    std::string ReadBodyStart();

    const UploadJob& m_job;
    UploadCancel& m_cancel;
    UploadEvents& m_events;
    const fw::WinInetApi& m_net;
    const UploadTarget m_target;
    HINTERNET m_request = nullptr;
};

UploadOutcome Upload::FailedWith(DWORD error, bool connecting) const {
    // A call cut short by a cancel fails too; that is no failure to report.
    if (m_cancel.IsCancelled())
        return Cancelled();
    UploadOutcome outcome = Failure(FailureOfError(error, connecting));
    outcome.host = m_target.host;
    outcome.timeoutSeconds = (m_job.stallTimeoutMs + 999) / 1000;
    return outcome;
}

void Upload::LimitWaiting(HINTERNET handle) const {
    // Set on every handle: Wine's requests do not take them from the session.
    DWORD timeout = m_job.stallTimeoutMs;
    for (const DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                               INTERNET_OPTION_RECEIVE_TIMEOUT, INTERNET_OPTION_DATA_SEND_TIMEOUT,
                               INTERNET_OPTION_DATA_RECEIVE_TIMEOUT})
        m_net.InternetSetOptionW(handle, option, &timeout, sizeof(timeout));
}

UploadOutcome Upload::Run(std::uint64_t length) {
    HINTERNET session = m_cancel.Keep(
        m_net.InternetOpenW(kUploadAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session)
        return m_cancel.IsCancelled() ? Cancelled() : Failure(UploadFailure::Other);
    LimitWaiting(session);
    HINTERNET connection =
        m_cancel.Keep(m_net.InternetConnectW(session, m_target.host.c_str(), m_target.port, nullptr,
                                             nullptr, INTERNET_SERVICE_HTTP, 0, 1));
    if (!connection)
        return FailedWith(::GetLastError(), true);
    LimitWaiting(connection);

    const std::string boundary = MakeBoundary();
    DWORD flags = INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_KEEP_CONNECTION |
                  INTERNET_FLAG_NO_AUTO_REDIRECT;
    if (m_target.secure)
        flags |= INTERNET_FLAG_SECURE;
    m_request = m_cancel.Keep(m_net.HttpOpenRequestW(connection, L"POST", m_target.object.c_str(),
                                                     nullptr, nullptr, nullptr, flags, 1));
    if (!m_request)
        return FailedWith(::GetLastError(), true);
    LimitWaiting(m_request);

    // The typed texts go in the thread's ANSI code page.
    const MultipartForm form =
        BuildMultipartForm(boundary, fw::ToAnsi(m_job.securityKey), fw::ToAnsi(m_job.workOrder));
    const std::uint64_t total = form.BodyLength(length);
    if (total > MAXDWORD)
        return Failure(UploadFailure::Other); // more than one request can announce
    const std::wstring contentType = fw::FromAnsi(ContentTypeHeader(boundary));
    m_net.HttpAddRequestHeadersW(m_request, contentType.c_str(),
                                 static_cast<DWORD>(contentType.size()), HTTP_ADDREQ_FLAG_ADD);
    const std::wstring expect = L"Expect: 100-continue";
    m_net.HttpAddRequestHeadersW(m_request, expect.c_str(), static_cast<DWORD>(expect.size()),
                                 HTTP_ADDREQ_FLAG_ADD);

    // The exact length goes up front: no chunked encoding.
    INTERNET_BUFFERSW buffers{};
    buffers.dwStructSize = sizeof(buffers);
    buffers.dwBufferTotal = static_cast<DWORD>(total);
    if (!m_net.HttpSendRequestExW(m_request, &buffers, nullptr, 0, 1))
        return FailedWith(::GetLastError(), true);
    if (m_cancel.IsCancelled())
        return Cancelled();

    for (const std::string* part : {&form.securityKeyPart, &form.workOrderPart, &form.fileHeader}) {
        if (!WriteAll(m_net, m_request, part->data(), part->size()))
            return FailedWith(::GetLastError(), false);
        if (m_cancel.IsCancelled())
            return Cancelled();
    }
    UploadOutcome stopped;
    if (WritePicture(length, stopped) == Body::Stopped)
        return stopped; // without the closing boundary the server sees an incomplete form
    if (!WriteAll(m_net, m_request, form.closing.data(), form.closing.size()))
        return FailedWith(::GetLastError(), false);
    if (m_cancel.IsCancelled())
        return Cancelled();
    const DWORD waitStart = ::GetTickCount();
    if (!m_net.HttpEndRequestW(m_request, nullptr, 0, 1))
        return FailedWith(::GetLastError(), false);
    if (m_cancel.IsCancelled())
        return Cancelled();
    return ReadAnswer(waitStart);
}

// Writes the picture in blocks, looking for a cancel before each and
// reporting progress after each; only one block is held in memory.
Upload::Body Upload::WritePicture(std::uint64_t length, UploadOutcome& outcome) {
    std::vector<BYTE> block(PictureBlockSize(length));
    std::uint64_t sent = 0;
    while (sent < length) {
        if (m_cancel.IsCancelled()) {
            outcome = Cancelled();
            return Body::Stopped;
        }
        const std::uint64_t left = length - sent;
        const ULONG wanted = static_cast<ULONG>(left < block.size() ? left : block.size());
        ULONG read = 0;
        // A stream that ends early would leave the announced length unmet.
        if (FAILED(m_job.picture->Read(block.data(), wanted, &read)) || read == 0) {
            outcome = Failure(UploadFailure::Other);
            return Body::Stopped;
        }
        if (!WriteAll(m_net, m_request, block.data(), read)) {
            outcome = FailedWith(::GetLastError(), false);
            return Body::Stopped;
        }
        sent += read;
        m_events.OnProgress(ProgressPercent(sent, length));
    }
    if (m_cancel.IsCancelled()) {
        outcome = Cancelled();
        return Body::Stopped;
    }
    return Body::Complete;
}

UploadOutcome Upload::ReadAnswer(DWORD waitStart) {
    const long code =
        std::wcstol(QueryHeaderString(m_request, HTTP_QUERY_STATUS_CODE).c_str(), nullptr, 10);
    if (code < 100 || code > 999) {
        // Wine's HttpEndRequestW answers TRUE, with status 0, when its
        // receive timeout ends the wait.
        const bool waitedOut = ::GetTickCount() - waitStart >= m_job.stallTimeoutMs / 10 * 9;
        return FailedWith(waitedOut ? ERROR_INTERNET_TIMEOUT : ERROR_HTTP_INVALID_SERVER_RESPONSE,
                          false);
    }
    if (code != HTTP_STATUS_OK && code != HTTP_STATUS_REDIRECT) {
        UploadOutcome outcome = Failure(UploadFailure::Status);
        outcome.status = code;
        std::string type;
        for (const wchar_t c : QueryHeaderString(m_request, HTTP_QUERY_CONTENT_TYPE))
            type += c < 0x80 ? static_cast<char>(c) : '?';
        outcome.serverText = ServerTextLine(type, ReadBodyStart());
        return m_cancel.IsCancelled() ? Cancelled() : outcome;
    }
    const std::optional<std::wstring> page =
        ResolveLocation(m_target, QueryHeaderString(m_request, HTTP_QUERY_LOCATION));
    if (!page || !IsOpenableLocation(*page))
        return Failure(UploadFailure::NoPage);
    // An http-to-https redirector or a portal answers the POST this way
    // without taking the picture.
    if (code == HTTP_STATUS_REDIRECT && IsUploadAddress(m_target, *page))
        return Failure(UploadFailure::Redirected);
    if (!m_cancel.Accept())
        return Cancelled();
    m_events.OpenPage(*page);
    UploadOutcome accepted;
    accepted.result = kUploadAccepted;
    accepted.failure = UploadFailure::None;
    return accepted;
}

std::string Upload::ReadBodyStart() {
    std::string body(kServerTextBytes, '\0');
    size_t got = 0;
    while (got < body.size() && !m_cancel.IsCancelled()) {
        DWORD read = 0;
        if (!m_net.InternetReadFile(m_request, body.data() + got,
                                    static_cast<DWORD>(body.size() - got), &read) ||
            read == 0)
            break;
        got += read;
    }
    body.resize(got);
    return body;
}

} // namespace

UploadCancel::~UploadCancel() {
    CloseHandles();
}

bool UploadCancel::Cancel() noexcept {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_accepted)
        return false;
    m_cancelled = true;
    CloseLocked();
    return true;
}

HINTERNET UploadCancel::Keep(HINTERNET handle) noexcept {
    if (!handle)
        return nullptr;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_cancelled || m_count == std::size(m_handles)) {
        if (const fw::WinInetApi* net = fw::WinInet())
            net->InternetCloseHandle(handle);
        return nullptr;
    }
    m_handles[m_count++] = handle;
    return handle;
}

bool UploadCancel::Accept() noexcept {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_cancelled)
        return false;
    m_accepted = true;
    return true;
}

void UploadCancel::CloseHandles() noexcept {
    std::lock_guard<std::mutex> lock(m_mutex);
    CloseLocked();
}

void UploadCancel::CloseLocked() noexcept {
    const fw::WinInetApi* net = fw::WinInet();
    // The request before its connection before the session.
    while (m_count > 0) {
        HINTERNET handle = m_handles[--m_count];
        if (net)
            net->InternetCloseHandle(handle);
    }
}

std::wstring QueryHeaderString(HINTERNET request, DWORD info) {
    const fw::WinInetApi* net = fw::WinInet();
    if (!net)
        return {};
    std::vector<wchar_t> buffer(512);
    DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (!net->HttpQueryInfoW(request, info, buffer.data(), &size, nullptr)) {
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            return {};
        buffer.assign(size / sizeof(wchar_t) + 2, L'\0');
        size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        if (!net->HttpQueryInfoW(request, info, buffer.data(), &size, nullptr))
            return {};
    }
    return std::wstring(buffer.data(), size / sizeof(wchar_t));
}

UploadOutcome RunUpload(const UploadJob& job, UploadCancel& cancel, UploadEvents& events) {
    std::uint64_t length = 0;
    if (!job.picture || !RemainingLength(job.picture, length) || length == 0)
        return Failure(UploadFailure::Other);
    const fw::WinInetApi* net = fw::WinInet();
    if (!net)
        return Failure(UploadFailure::Other);
    std::optional<UploadTarget> target = SplitUploadUrl(job.url);
    if (!target)
        return Failure(UploadFailure::BadAddress);
    Upload upload(job, cancel, events, *net, std::move(*target));
    UploadOutcome outcome = upload.Run(length);
    cancel.CloseHandles();
    return outcome;
}
