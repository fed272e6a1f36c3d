#include "upload/upload_address.h"

#include "framework/system_library.h"

#include <algorithm>
#include <cwctype>
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

bool StartsWithIgnoringCase(std::wstring_view text, std::wstring_view prefix) noexcept {
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (std::towlower(text[i]) != std::towlower(prefix[i]))
            return false;
    }
    return true;
}

bool EqualIgnoringCase(std::wstring_view a, std::wstring_view b) noexcept {
    return a.size() == b.size() && StartsWithIgnoringCase(a, b);
}

// A URI reference in its five parts (RFC 3986, appendix B); a part that is
// absent differs from one that is empty.
struct Reference {
    std::optional<std::wstring_view> scheme;
    std::optional<std::wstring_view> authority;
    std::wstring_view path;
    std::optional<std::wstring_view> query;
    std::optional<std::wstring_view> fragment;
};

Reference ParseReference(std::wstring_view text) {
    Reference parts;
    const size_t colon = text.find_first_of(L":/?#");
    if (colon != std::wstring_view::npos && colon > 0 && text[colon] == L':') {
        parts.scheme = text.substr(0, colon);
        text.remove_prefix(colon + 1);
    }
    if (text.substr(0, 2) == L"//") {
        text.remove_prefix(2);
        const size_t end = std::min(text.find_first_of(L"/?#"), text.size());
        parts.authority = text.substr(0, end);
        text.remove_prefix(end);
    }
    const size_t pathEnd = std::min(text.find_first_of(L"?#"), text.size());
    parts.path = text.substr(0, pathEnd);
    text.remove_prefix(pathEnd);
    if (!text.empty() && text.front() == L'?') {
        const size_t end = std::min(text.find(L'#'), text.size());
        parts.query = text.substr(1, end - 1);
        text.remove_prefix(end);
    }
    if (!text.empty() && text.front() == L'#')
        parts.fragment = text.substr(1);
    return parts;
}

// RFC 3986, 5.2.4: "a/./b/../c" is "a/c".
std::wstring RemoveDotSegments(std::wstring_view path) {
    std::wstring input(path);
    std::wstring output;
    auto dropLastSegment = [&output] {
        const size_t slash = output.rfind(L'/');
        output.erase(slash == std::wstring::npos ? 0 : slash);
    };
    while (!input.empty()) {
        if (input.starts_with(L"../")) {
            input.erase(0, 3);
        } else if (input.starts_with(L"./")) {
            input.erase(0, 2);
        } else if (input.starts_with(L"/./")) {
            input.erase(0, 2);
        } else if (input == L"/.") {
            input = L"/";
        } else if (input.starts_with(L"/../")) {
            input.erase(0, 3);
            dropLastSegment();
        } else if (input == L"/..") {
            input = L"/";
            dropLastSegment();
        } else if (input == L"." || input == L"..") {
            input.clear();
        } else {
            const size_t end = std::min(input.find(L'/', 1), input.size());
            output.append(input, 0, end);
            input.erase(0, end);
        }
    }
    return output;
}

// The host of an authority ("user@host:port", "[::1]:8080"), without the
// brackets of an IPv6 address.
std::wstring_view HostOf(std::wstring_view authority) {
    if (const size_t at = authority.rfind(L'@'); at != std::wstring_view::npos)
        authority.remove_prefix(at + 1);
    if (!authority.empty() && authority.front() == L'[') {
        const size_t close = authority.find(L']');
        return close == std::wstring_view::npos ? std::wstring_view()
                                                : authority.substr(1, close - 1);
    }
    return authority.substr(0, authority.find(L':'));
}

} // namespace

std::optional<UploadTarget> SplitUploadUrl(const std::wstring& url) {
    // Under Wine InternetCrackUrlW faults on some file: addresses
    // ("file://h:a:1?q"): nothing of another scheme goes near it.
    if (!HasWebScheme(url) || url.size() > kMaxAddressLength)
        return std::nullopt;
    const fw::WinInetApi* net = fw::WinInet();
    if (!net)
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

std::wstring TargetAddress(const UploadTarget& target) {
    std::wstring address = target.secure ? L"https://" : L"http://";
    address +=
        target.host.find(L':') == std::wstring::npos ? target.host : L"[" + target.host + L"]";
    const INTERNET_PORT usual =
        target.secure ? INTERNET_DEFAULT_HTTPS_PORT : INTERNET_DEFAULT_HTTP_PORT;
    if (target.port != usual)
        address += L":" + std::to_wstring(target.port);
    return address + target.object;
}

bool HasWebScheme(std::wstring_view text) noexcept {
    return StartsWithIgnoringCase(text, L"http://") || StartsWithIgnoringCase(text, L"https://");
}

bool IsUploadServerScheme(std::wstring_view server) noexcept {
    // The rule GetUploadURL goes by: without "://" the address gains http.
    return server.find(L"://") == std::wstring_view::npos || HasWebScheme(server);
}

std::optional<std::wstring> ResolveLocation(const UploadTarget& base, std::wstring_view location) {
    if (location.empty())
        return std::nullopt;
    const Reference reference = ParseReference(location);
    if (reference.scheme)
        return std::wstring(location);

    // RFC 3986, 5.2.2, with the upload address as the base.
    const std::wstring baseAddress = TargetAddress(base);
    const Reference from = ParseReference(baseAddress);
    std::wstring authority(from.authority.value_or(L""));
    std::wstring path;
    std::optional<std::wstring_view> query = reference.query;
    if (reference.authority) {
        authority = *reference.authority;
        path = RemoveDotSegments(reference.path);
    } else if (reference.path.empty()) {
        path = from.path;
        if (!query)
            query = from.query;
    } else if (reference.path.front() == L'/') {
        path = RemoveDotSegments(reference.path);
    } else {
        // Beside the last segment of the base's path.
        const size_t slash = from.path.rfind(L'/');
        const std::wstring merged =
            (slash == std::wstring_view::npos ? std::wstring(L"/")
                                              : std::wstring(from.path.substr(0, slash + 1))) +
            std::wstring(reference.path);
        path = RemoveDotSegments(merged);
    }
    std::wstring resolved = std::wstring(*from.scheme) + L"://" + authority + path;
    if (query)
        resolved += L"?" + std::wstring(*query);
    if (reference.fragment)
        resolved += L"#" + std::wstring(*reference.fragment);
    return resolved;
}

bool IsUploadAddress(const UploadTarget& target, std::wstring_view address) {
    const Reference parts = ParseReference(address);
    if (!parts.scheme || !parts.authority ||
        !EqualIgnoringCase(HostOf(*parts.authority), target.host))
        return false;
    std::wstring object = parts.path.empty() ? std::wstring(L"/") : std::wstring(parts.path);
    if (parts.query)
        object += L"?" + std::wstring(*parts.query);
    return object == target.object;
}

bool IsOpenableLocation(const std::wstring& location) {
    if (location.empty() || location.size() > kMaxAddressLength)
        return false;
    for (wchar_t c : location) {
        if (c <= L' ' || c >= 0x7F || c == L'"')
            return false;
    }
    // The scheme must be spelt out: InternetCrackUrlW would also read
    // "http:page" without a host.
    if (!HasWebScheme(location))
        return false;
    const std::optional<CrackedUrl> cracked = Crack(location);
    return cracked && IsWebScheme(cracked->scheme) && !cracked->host.empty();
}
