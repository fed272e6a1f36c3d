// Reading the addresses an upload deals with: the one it posts to, and the
// page the server names in its answer.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <optional>
#include <string>
#include <string_view>

// Where a request goes.
struct UploadTarget {
    std::wstring host;
    INTERNET_PORT port = INTERNET_DEFAULT_HTTP_PORT;
    // The path with its query: everything after the host and port.
    std::wstring object;
    // https: the connection uses TLS.
    bool secure = false;
};

// Splits an http or https address (canonicalised as a browser would) into
// host, port and object. The port is the address's own, or the scheme's
// (80, 443). Nothing for another scheme, a missing host or an address
// WinInet cannot read. The scheme is checked before WinInet sees anything:
// its parser is not safe with every address of other schemes.
std::optional<UploadTarget> SplitUploadUrl(const std::wstring& url);

// The target as an absolute address again ("http://host:8080/Tessaly.php").
std::wstring TargetAddress(const UploadTarget& target);

// Whether text starts with "http://" or "https://" (in any case).
bool HasWebScheme(std::wstring_view text) noexcept;

// Whether a server address typed into the settings can be uploaded to: one
// without a scheme (uploads then go over http) or with http or https.
bool IsUploadServerScheme(std::wstring_view server) noexcept;

// What the settings dialogs say when they refuse an address of another
// scheme.
inline constexpr wchar_t kOtherSchemeRefused[] =
    L"Pictures can only be uploaded over http or https. Enter the server's address "
    L"without a scheme, or starting with http:// or https://.";

// A Location from the server made absolute: a relative reference (RFC 3986,
// "/Tessaly.php?workorder=1001", "?page=2", "//host/page") is resolved
// against the upload address; an absolute one comes back as it is. Nothing
// for an empty Location.
std::optional<std::wstring> ResolveLocation(const UploadTarget& base, std::wstring_view location);

// Whether an absolute address names the upload address itself: the same
// host and the same path and query, whatever the scheme and port. A 302
// there is a redirect of the upload (http to https, a portal), not a page.
bool IsUploadAddress(const UploadTarget& target, std::wstring_view address);

// Whether a Location from the server may be handed to the shell: an absolute
// http or https address with a host, nothing that could be read as more than
// one argument by the program that opens it (no blanks, quotes or control
// characters, nothing at or above 0x7F: servers percent-encode, and such
// characters include invisible and direction-changing ones that can disguise
// an address) and no longer than browsers go. Anything else a server names
// could start a program on the user's machine.
bool IsOpenableLocation(const std::wstring& location);
