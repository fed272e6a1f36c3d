// The upload's addresses: a canonical address reads back as itself; every
// Location that may be opened is a plain http or https address with a host,
// of nothing a program opening it could read as more than one argument; an
// absolute web address resolves to itself.
#include "portable/support/fuzz_input.h"
#include "upload/upload_address.h"

#include <cstdlib>

namespace {

bool StartsWithAsciiIgnoringCase(std::wstring_view text, std::wstring_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        wchar_t c = text[i];
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
        if (c != prefix[i])
            return false;
    }
    return true;
}

// What a browser goes to: an http or https address whose host (the
// authority, up to '/', '\', '?' or '#', without user and port) is not
// empty, of printable ASCII but the quote.
void CheckOpenable(const std::wstring& location) {
    for (const wchar_t c : location)
        FUZZ_REQUIRE(static_cast<std::uint32_t>(c) >= 0x21 &&
                     static_cast<std::uint32_t>(c) < 0x7F && c != L'"');
    const bool secure = StartsWithAsciiIgnoringCase(location, L"https://");
    FUZZ_REQUIRE(secure || StartsWithAsciiIgnoringCase(location, L"http://"));
    std::wstring_view authority = std::wstring_view(location).substr(secure ? 8 : 7);
    authority = authority.substr(0, authority.find_first_of(L"/\\?#"));
    if (const std::size_t at = authority.rfind(L'@'); at != std::wstring_view::npos)
        authority.remove_prefix(at + 1);
    const std::wstring_view host = !authority.empty() && authority.front() == L'['
                                       ? authority.substr(1, authority.find(L']') - 1)
                                       : authority.substr(0, authority.find(L':'));
    FUZZ_REQUIRE(!host.empty());
}

bool operator==(const UploadTarget& a, const UploadTarget& b) {
    return a.host == b.host && a.port == b.port && a.object == b.object && a.secure == b.secure;
}

// Text drawn mostly from what addresses are made of, or any UTF-16 units.
std::wstring AddressText(FuzzInput& input) {
    static const std::wstring_view kPrefixes[] = {
        L"http://", L"HTTPS://", L"https://user@", L"http://[::1]", L"", L"//", L"/", L"?", L"#"};
    constexpr std::wstring_view kAlphabet =
        L"htps:/\\?#@[]%.:-_~aZ09 \t\"<>^`{|}\x7F\x80\u00E9\u202E\xD800\xDC00";
    std::wstring text(kPrefixes[input.Below(std::size(kPrefixes))]);
    return text + (input.Byte() % 4 == 0 ? input.Text(64) : input.Text(64, kAlphabet));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);

    const std::wstring address = AddressText(input);
    UploadTarget base{L"example.com", 8080, L"/orders/Tessaly.php?x=1", false};
    if (const std::optional<UploadTarget> target = SplitUploadUrl(address)) {
        FUZZ_REQUIRE(!target->host.empty() && target->object.starts_with(L'/'));
        const std::wstring canonical = TargetAddress(*target);
        const std::optional<UploadTarget> again = SplitUploadUrl(canonical);
        FUZZ_REQUIRE(again && *again == *target && TargetAddress(*again) == canonical);
        base = *target;
    }

    const std::wstring location = AddressText(input);
    if (IsOpenableLocation(location))
        CheckOpenable(location);
    if (const std::optional<std::wstring> resolved = ResolveLocation(base, location)) {
        if (IsOpenableLocation(*resolved))
            CheckOpenable(*resolved);
    }
    if (HasWebScheme(location))
        FUZZ_REQUIRE(ResolveLocation(base, location) == location);
    return 0;
}
