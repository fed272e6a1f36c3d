#include "upload/upload_outcome.h"

#include <wininet.h>
#include <winsock2.h>

namespace {

// Longer lines are not a short explanation but a page or a dump.
constexpr size_t kMaxServerTextLength = 150;

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i])
            return false;
    }
    return true;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

} // namespace

std::wstring DescribeFailure(const UploadOutcome& outcome) {
    switch (outcome.failure) {
    case UploadFailure::None:
    case UploadFailure::Other:
        return {};
    case UploadFailure::BadAddress:
        return L"The server address is not an http or https address.";
    case UploadFailure::Unreachable:
        return L"The server " + outcome.host + L" could not be reached.";
    case UploadFailure::TimedOut:
        return L"The server did not answer within " + std::to_wstring(outcome.timeoutSeconds) +
               L" seconds.";
    case UploadFailure::ConnectionLost:
        return L"The connection to the server broke off.";
    case UploadFailure::NoAnswer:
        return L"The server ended the connection without an answer.";
    case UploadFailure::Status: {
        std::wstring text = L"The server answered with status " + std::to_wstring(outcome.status);
        if (!outcome.serverText.empty())
            text += L": " + outcome.serverText;
        return text + L".";
    }
    case UploadFailure::NoPage:
        return L"The server's answer named no page to open.";
    case UploadFailure::Redirected:
        return L"The server redirected the upload to its own address instead of storing it.";
    }
    return {};
}

UploadFailure FailureOfError(DWORD error, bool connecting) noexcept {
    switch (error) {
    case ERROR_INTERNET_CANNOT_CONNECT:
    case ERROR_INTERNET_NAME_NOT_RESOLVED:
        return UploadFailure::Unreachable;
    case ERROR_INTERNET_TIMEOUT:
    case WSAETIMEDOUT: // what Wine's InternetWriteFile reports for its send timeout
        return connecting ? UploadFailure::Unreachable : UploadFailure::TimedOut;
    case ERROR_INTERNET_INVALID_URL:
    case ERROR_INTERNET_UNRECOGNIZED_SCHEME:
        return UploadFailure::BadAddress;
    case ERROR_HTTP_INVALID_SERVER_RESPONSE:
        return UploadFailure::NoAnswer;
    default:
        return connecting ? UploadFailure::Unreachable : UploadFailure::ConnectionLost;
    }
}

std::wstring ServerTextLine(std::string_view contentType, std::string_view body) {
    // "text/plain" with or without parameters; nothing else is plain.
    if (!StartsWithIgnoringCase(contentType, "text/plain") ||
        (contentType.size() > 10 && contentType[10] != ';' && contentType[10] != ' '))
        return {};
    const std::string_view line = Trimmed(body.substr(0, body.find_first_of("\r\n")));
    if (line.size() > kMaxServerTextLength)
        return {};
    std::wstring text;
    for (const char c : line) {
        // Printable ASCII only: no controls, nothing a code page could turn
        // into something else, no bidi tricks.
        if (c < 0x20 || c > 0x7E)
            return {};
        text += static_cast<wchar_t>(c);
    }
    return text;
}
