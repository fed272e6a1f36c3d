// Reading the addresses an upload deals with: the one it posts to, and the
// page the server names in its answer.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

inline constexpr std::uint16_t kHttpPort = 80;
inline constexpr std::uint16_t kHttpsPort = 443;

// Where a request goes.
struct UploadTarget {
    std::wstring host;
    std::uint16_t port = kHttpPort;
    // The path with its query: everything after the host and port.
    std::wstring object;
    // https: the connection uses TLS.
    bool secure = false;
};

// Splits an http or https address, made canonical as a browser sends it,
// into host, port and object. Tabs are dropped. Before the query a
// backslash is a slash, dot segments are removed (RFC 3986) and blanks,
// controls, characters that may not stand in an address and everything
// above 0x7E are percent-encoded (UTF-8); the query goes as typed, the
// fragment not at all. Blanks ending an address without a query are
// dropped. The user is the part of the authority before its last '@'. The
// port is the address's own, or the scheme's (80, 443) when it is empty or
// 0. Nothing for another scheme, a missing host, a host with blanks,
// controls or any of "<>[]^|" (but the brackets around an IP literal), a
// port that is not a number up to 65535 or a canonical address longer than
// browsers go.
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
