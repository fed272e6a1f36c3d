#include "upload/upload_worker.h"

#include "framework/handles.h"
#include "framework/system_library.h"
#include "upload/multipart_form.h"
#include "upload/upload_address.h"

#include <wininet.h>

#include <cwchar>
#include <string_view>
#include <vector>

namespace {

bool WriteAll(HINTERNET request, const void* data, size_t size) {
    const fw::WinInetApi* net = fw::WinInet();
    if (!net)
        return false;
    const auto* bytes = static_cast<const BYTE*>(data);
    while (size > 0) {
        const DWORD chunk = size > MAXDWORD ? MAXDWORD : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!net->InternetWriteFile(request, bytes, chunk, &written) || written == 0)
            return false;
        bytes += written;
        size -= written;
    }
    return true;
}

bool WriteAll(HINTERNET request, std::string_view text) {
    return WriteAll(request, text.data(), text.size());
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

enum class BodyOutcome { Complete, Cancelled, Failed };

// Writes the picture in blocks, asking about a cancel before each and
// reporting progress after each; only one block is held in memory.
BodyOutcome WritePicture(HINTERNET request, IStream* picture, std::uint64_t length,
                         UploadEvents& events) {
    std::vector<BYTE> block(PictureBlockSize(length));
    std::uint64_t sent = 0;
    while (sent < length) {
        if (events.IsCancelled())
            return BodyOutcome::Cancelled;
        const std::uint64_t left = length - sent;
        const ULONG wanted = static_cast<ULONG>(left < block.size() ? left : block.size());
        ULONG read = 0;
        // A stream that ends early would leave the announced length unmet.
        if (FAILED(picture->Read(block.data(), wanted, &read)) || read == 0)
            return BodyOutcome::Failed;
        if (!WriteAll(request, block.data(), read))
            return BodyOutcome::Failed;
        sent += read;
        events.OnProgress(ProgressPercent(sent, length));
    }
    return events.IsCancelled() ? BodyOutcome::Cancelled : BodyOutcome::Complete;
}

int ReadAnswer(HINTERNET request, UploadEvents& events) {
    const std::wstring status = QueryHeaderString(request, HTTP_QUERY_STATUS_CODE);
    const long code = std::wcstol(status.c_str(), nullptr, 10);
    if (code != HTTP_STATUS_OK && code != HTTP_STATUS_REDIRECT)
        return kUploadFailed;
    const std::wstring location = QueryHeaderString(request, HTTP_QUERY_LOCATION);
    if (!IsOpenableLocation(location))
        return kUploadFailed;
    events.OpenPage(location);
    return kUploadAccepted;
}

} // namespace

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

int RunUpload(const UploadJob& job, UploadEvents& events) {
    std::uint64_t length = 0;
    if (!job.picture || !RemainingLength(job.picture, length) || length == 0)
        return kUploadFailed;

    const fw::WinInetApi* net = fw::WinInet();
    if (!net)
        return kUploadFailed;
    fw::InternetHandle session(
        net->InternetOpenW(kUploadAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session)
        return kUploadFailed;
    const std::optional<UploadTarget> target = SplitUploadUrl(job.url);
    if (!target)
        return kUploadFailed;
    fw::InternetHandle connection(net->InternetConnectW(session.get(), target->host.c_str(),
                                                        target->port, nullptr, nullptr,
                                                        INTERNET_SERVICE_HTTP, 0, 1));
    if (!connection)
        return kUploadFailed;

    const std::wstring boundary = MakeBoundary();
    DWORD flags = INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_KEEP_CONNECTION |
                  INTERNET_FLAG_NO_AUTO_REDIRECT;
    if (target->secure)
        flags |= INTERNET_FLAG_SECURE;
    fw::InternetHandle request(net->HttpOpenRequestW(
        connection.get(), L"POST", target->object.c_str(), nullptr, nullptr, nullptr, flags, 1));
    if (!request)
        return kUploadFailed;

    const MultipartForm form = BuildMultipartForm(boundary, job.securityKey, job.workOrder);
    const std::uint64_t total = form.BodyLength(length);
    if (total > MAXDWORD)
        return kUploadFailed; // more than one request can announce
    const std::wstring contentType = ContentTypeHeader(boundary);
    net->HttpAddRequestHeadersW(request.get(), contentType.c_str(),
                                static_cast<DWORD>(contentType.size()), HTTP_ADDREQ_FLAG_ADD);
    const std::wstring expect = L"Expect: 100-continue";
    net->HttpAddRequestHeadersW(request.get(), expect.c_str(), static_cast<DWORD>(expect.size()),
                                HTTP_ADDREQ_FLAG_ADD);

    // The exact length goes up front: no chunked encoding.
    INTERNET_BUFFERSW buffers{};
    buffers.dwStructSize = sizeof(buffers);
    buffers.dwBufferTotal = static_cast<DWORD>(total);
    if (!net->HttpSendRequestExW(request.get(), &buffers, nullptr, 0, 1))
        return kUploadFailed;

    if (!WriteAll(request.get(), form.securityKeyPart) ||
        !WriteAll(request.get(), form.workOrderPart) || !WriteAll(request.get(), form.fileHeader))
        return kUploadFailed;
    switch (WritePicture(request.get(), job.picture, length, events)) {
    case BodyOutcome::Failed:
        return kUploadFailed;
    case BodyOutcome::Cancelled:
        // Without the closing boundary the server sees an incomplete form.
        return kUploadCancelled;
    case BodyOutcome::Complete:
        break;
    }
    // Once the body is complete the server decides; its answer is what the
    // user learns, even if a cancel came in meanwhile.
    if (!WriteAll(request.get(), form.closing))
        return kUploadFailed;
    if (!net->HttpEndRequestW(request.get(), nullptr, 0, 1))
        return kUploadFailed;
    return ReadAnswer(request.get(), events);
}
