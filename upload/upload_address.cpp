#include "upload/upload_address.h"

#include "common/text_case.h"
#include "common/utf8.h"

#include <algorithm>
#include <utility>

namespace {

// INTERNET_MAX_URL_LENGTH: longer addresses are not something a server
// means a browser to open.
constexpr size_t kMaxAddressLength = 2083;

// Compared unsigned: wchar_t is signed on some platforms.
bool IsBlankOrControl(wchar_t c) noexcept {
    const auto unit = static_cast<std::uint32_t>(c);
    return unit <= 0x20 || unit == 0x7F;
}

// A scheme's letters are ASCII and so is its case: "httpſ" (long s) is no
// "https", whatever Unicode's upper case of it.
bool StartsWithSchemeIgnoringCase(std::wstring_view text, std::wstring_view prefix) noexcept {
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        const wchar_t c = text[i] >= L'A' && text[i] <= L'Z'
                              ? static_cast<wchar_t>(text[i] - L'A' + L'a')
                              : text[i];
        if (c != prefix[i])
            return false;
    }
    return true;
}

// What may not stand in a host name (nor in an IP literal, whose brackets
// are written back only around a host with a colon): what no name server
// answers to.
bool IsForbiddenInHost(wchar_t c) noexcept {
    return IsBlankOrControl(c) || std::wstring_view(L"<>[]^|").find(c) != std::wstring_view::npos;
}

// Whether a character of a path is sent percent-encoded.
bool NeedsEscape(std::uint32_t unit) noexcept {
    return unit <= 0x20 || unit >= 0x7F ||
           std::wstring_view(L"\"<>\\^`{|}").find(static_cast<wchar_t>(unit)) !=
               std::wstring_view::npos;
}

void AppendEscapedByte(std::wstring& out, unsigned byte) {
    constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
    out += L'%';
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0xF];
}

// The path with what may not stand in it percent-encoded, characters above
// 0x7E as their UTF-8 bytes (common/utf8.h).
std::wstring EscapePath(std::wstring_view path) {
    std::wstring out;
    for (size_t i = 0, units = 1; i < path.size(); i += units) {
        units = 1;
        if (!NeedsEscape(static_cast<std::uint32_t>(path[i]))) {
            out += path[i];
            continue;
        }
        std::string bytes;
        AppendUtf8(CodePointAt(path, i, units), bytes);
        for (const unsigned char byte : bytes)
            AppendEscapedByte(out, byte);
    }
    return out;
}

// A port of up to 65535, 0 when the authority names none.
std::optional<std::uint16_t> ReadPort(std::wstring_view digits) {
    std::uint32_t port = 0;
    for (wchar_t c : digits) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        port = port * 10 + static_cast<std::uint32_t>(c - L'0');
        if (port > 0xFFFF)
            return std::nullopt;
    }
    return static_cast<std::uint16_t>(port);
}

// The host and port of an authority ("user@host:port", "[::1]:8080"); the
// port 0 when there is none.
std::optional<std::pair<std::wstring, std::uint16_t>> ReadAuthority(std::wstring_view authority) {
    if (const size_t at = authority.rfind(L'@'); at != std::wstring_view::npos)
        authority.remove_prefix(at + 1);
    std::wstring_view host;
    std::wstring_view rest;
    if (!authority.empty() && authority.front() == L'[') {
        const size_t close = authority.find(L']');
        if (close == std::wstring_view::npos)
            return std::nullopt;
        host = authority.substr(1, close - 1);
        rest = authority.substr(close + 1);
        if (!rest.empty() && rest.front() != L':')
            return std::nullopt;
    } else {
        const size_t colon = std::min(authority.find(L':'), authority.size());
        host = authority.substr(0, colon);
        rest = authority.substr(colon);
    }
    if (host.empty() || std::any_of(host.begin(), host.end(), IsForbiddenInHost))
        return std::nullopt;
    const std::optional<std::uint16_t> port = ReadPort(rest.empty() ? rest : rest.substr(1));
    if (!port)
        return std::nullopt;
    return std::pair(std::wstring(host), *port);
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
    if (!HasWebScheme(url) || url.size() > kMaxAddressLength)
        return std::nullopt;
    // Tabs are dropped wherever they stand, as WinInet drops them.
    std::wstring address = url;
    std::erase(address, L'\t');
    const size_t schemeEnd = address.find(L"://") + 3;
    std::wstring_view rest = std::wstring_view(address).substr(schemeEnd);
    // The query and the fragment: what follows the first '?' or '#'.
    const size_t tailStart = std::min(rest.find_first_of(L"?#"), rest.size());
    std::wstring_view tail = rest.substr(tailStart);
    std::wstring hierarchy(rest.substr(0, tailStart));
    if (tail.empty()) {
        while (!hierarchy.empty() && static_cast<std::uint32_t>(hierarchy.back()) <= 0x20)
            hierarchy.pop_back();
    }
    std::replace(hierarchy.begin(), hierarchy.end(), L'\\', L'/');
    const size_t pathStart = std::min(hierarchy.find(L'/'), hierarchy.size());
    const std::wstring_view authority = std::wstring_view(hierarchy).substr(0, pathStart);
    const auto hostAndPort = ReadAuthority(authority);
    if (!hostAndPort)
        return std::nullopt;
    std::wstring path =
        EscapePath(RemoveDotSegments(std::wstring_view(hierarchy).substr(pathStart)));
    if (path.empty())
        path = L"/";
    // Longer than that in the form a browser sends, it is no address to go
    // to.
    if (schemeEnd + authority.size() + path.size() + tail.size() > kMaxAddressLength)
        return std::nullopt;

    UploadTarget target;
    target.secure = address[4] == L's' || address[4] == L'S';
    target.host = hostAndPort->first;
    target.port = hostAndPort->second != 0 ? hostAndPort->second
                  : target.secure          ? kHttpsPort
                                           : kHttpPort;
    // A fragment names a place in a page; it is never sent.
    target.object = path + std::wstring(tail.substr(0, tail.find(L'#')));
    return target;
}

std::wstring TargetAddress(const UploadTarget& target) {
    std::wstring address = target.secure ? L"https://" : L"http://";
    address +=
        target.host.find(L':') == std::wstring::npos ? target.host : L"[" + target.host + L"]";
    const std::uint16_t usual = target.secure ? kHttpsPort : kHttpPort;
    if (target.port != usual)
        address += L":" + std::to_wstring(target.port);
    return address + target.object;
}

bool HasWebScheme(std::wstring_view text) noexcept {
    return StartsWithSchemeIgnoringCase(text, L"http://") ||
           StartsWithSchemeIgnoringCase(text, L"https://");
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
        !text::EqualIgnoringCase(HostOf(*parts.authority), target.host))
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
        if (IsBlankOrControl(c) || static_cast<std::uint32_t>(c) >= 0x7F || c == L'"')
            return false;
    }
    // Readable as an address to upload to: a host, a port that is one.
    return SplitUploadUrl(location).has_value();
}
