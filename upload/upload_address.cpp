#include "upload/upload_address.h"

#include "framework/system_library.h"

#include <vector>

namespace {

// INTERNET_MAX_URL_LENGTH: longer addresses are not something a server
// means a browser to open.
constexpr size_t kMaxAddressLength = 2083;

struct CrackedUrl {
    INTERNET_SCHEME scheme = INTERNET_SCHEME_UNKNOWN;
    std::wstring host;
    INTERNET_PORT port = 0;
    std::wstring path;
    std::wstring extra;
};

std::optional<CrackedUrl> Crack(const std::wstring& url) {
    const fw::WinInetApi* net = fw::WinInet();
    if (!net || url.empty() || url.size() > kMaxAddressLength)
        return std::nullopt;
    // Buffers as large as the longest address, so nothing is cut.
    std::vector<wchar_t> host(kMaxAddressLength + 1), path(kMaxAddressLength + 1),
        extra(kMaxAddressLength + 1);
    URL_COMPONENTSW parts{};
    parts.dwStructSize = sizeof(parts);
    parts.lpszHostName = host.data();
    parts.dwHostNameLength = static_cast<DWORD>(host.size());
    parts.lpszUrlPath = path.data();
    parts.dwUrlPathLength = static_cast<DWORD>(path.size());
    parts.lpszExtraInfo = extra.data();
    parts.dwExtraInfoLength = static_cast<DWORD>(extra.size());
    if (!net->InternetCrackUrlW(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts))
        return std::nullopt;
    CrackedUrl cracked;
    cracked.scheme = parts.nScheme;
    cracked.host.assign(host.data(), parts.dwHostNameLength);
    cracked.port = parts.nPort;
    cracked.path.assign(path.data(), parts.dwUrlPathLength);
    cracked.extra.assign(extra.data(), parts.dwExtraInfoLength);
    return cracked;
}

bool IsWebScheme(INTERNET_SCHEME scheme) {
    return scheme == INTERNET_SCHEME_HTTP || scheme == INTERNET_SCHEME_HTTPS;
}

} // namespace

std::optional<UploadTarget> SplitUploadUrl(const std::wstring& url) {
    const fw::WinInetApi* net = fw::WinInet();
    if (!net || url.empty() || url.size() > kMaxAddressLength)
        return std::nullopt;
    // Canonical as a browser sends it: blanks and the like escaped, the rest
    // (a query) left as typed.
    std::vector<wchar_t> canonical(kMaxAddressLength * 3 + 1);
    DWORD length = static_cast<DWORD>(canonical.size());
    if (!net->InternetCanonicalizeUrlW(url.c_str(), canonical.data(), &length, ICU_BROWSER_MODE))
        return std::nullopt;
    const std::optional<CrackedUrl> cracked = Crack(std::wstring(canonical.data(), length));
    if (!cracked || !IsWebScheme(cracked->scheme) || cracked->host.empty())
        return std::nullopt;

    UploadTarget target;
    target.secure = cracked->scheme == INTERNET_SCHEME_HTTPS;
    target.host = cracked->host;
    target.port = cracked->port != 0 ? cracked->port
                  : target.secure    ? INTERNET_PORT(INTERNET_DEFAULT_HTTPS_PORT)
                                     : INTERNET_PORT(INTERNET_DEFAULT_HTTP_PORT);
    // A fragment names a place in a page; it is never sent.
    std::wstring extra = cracked->extra;
    if (const size_t hash = extra.find(L'#'); hash != std::wstring::npos)
        extra.erase(hash);
    target.object = (cracked->path.empty() ? std::wstring(L"/") : cracked->path) + extra;
    return target;
}

bool IsOpenableLocation(const std::wstring& location) {
    if (location.empty() || location.size() > kMaxAddressLength)
        return false;
    for (wchar_t c : location) {
        if (c <= L' ' || c == 0x7F || c == L'"')
            return false;
    }
    // The scheme must be spelt out: InternetCrackUrlW would also read
    // "http:page" without a host.
    const bool http = _wcsnicmp(location.c_str(), L"http://", 7) == 0;
    const bool https = _wcsnicmp(location.c_str(), L"https://", 8) == 0;
    if (!http && !https)
        return false;
    const std::optional<CrackedUrl> cracked = Crack(location);
    return cracked && IsWebScheme(cracked->scheme) && !cracked->host.empty();
}
