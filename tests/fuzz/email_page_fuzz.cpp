// The e-mail page and the picture's address.
// - The address of any path is "file:///" and then only characters a URL's
//   path holds as they are, '%' only as the start of %XX; decoded, it is
//   the path's UTF-8 with every backslash a slash (a unit that is no
//   character as U+FFFD).
// - Filling any template replaces every placeholder and changes nothing
//   else of the template's text; the address goes in escaped, so that no
//   <, >, ", ' or & of it reaches the page as markup.
#include "mail/email_page.h"
#include "portable/support/fuzz_input.h"

#include <cstdlib>
#include <string>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
        return;
    }
    // A lead byte of tail + 1 ones, then tail bytes of six bits each.
    int tail = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    out += static_cast<char>((0xFF00 >> (tail + 1) & 0xFF) | c >> (6 * tail));
    while (tail-- > 0)
        out += static_cast<char>(0x80 | (c >> (6 * tail) & 0x3F));
}

// A path of code points of every kind, and its UTF-8 made from those code
// points, not from the path's units.
struct Path {
    std::wstring units;
    std::string utf8;
};

Path MakePath(FuzzInput& input) {
    Path path;
    // Where a lone high surrogate was last put, as UTF-16 would pair it with
    // a lone low one that comes next.
    bool afterLoneHigh = false;
    const std::size_t count = input.Below(24);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t kind = input.Below(sizeof(wchar_t) == 2 ? 4 : 5);
        bool loneHigh = false;
        if (kind == 0) {
            const char32_t c = input.Byte() & 0x7F;
            path.units += static_cast<wchar_t>(c);
            path.utf8 += static_cast<char>(c);
        } else if (kind == 1) {
            char32_t c = input.Byte() | input.Byte() << 8;
            if (c >= 0xD800 && c <= 0xDFFF)
                c -= 0x800;
            path.units += static_cast<wchar_t>(c);
            AppendUtf8(c, path.utf8);
        } else if (kind == 2) {
            const char32_t c = 0x10000 + input.Uint32() % 0x100000;
            if constexpr (sizeof(wchar_t) == 2) {
                path.units += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
                path.units += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
            } else {
                path.units += static_cast<wchar_t>(c);
            }
            AppendUtf8(c, path.utf8);
        } else if (kind == 3) {
            const char32_t c = 0xD800 + static_cast<char32_t>(input.Below(0x800));
            path.units += static_cast<wchar_t>(c);
            if (sizeof(wchar_t) == 2 && afterLoneHigh && c >= 0xDC00) {
                // The two halves make one character after all.
                const char32_t high = static_cast<char32_t>(path.units[path.units.size() - 2]);
                path.utf8.resize(path.utf8.size() - 3);
                AppendUtf8(0x10000 + ((high - 0xD800) << 10) + (c - 0xDC00), path.utf8);
            } else {
                AppendUtf8(kReplacement, path.utf8);
                loneHigh = c < 0xDC00;
            }
        } else {
            // Natively only: a unit past the last character.
            path.units += static_cast<wchar_t>(0x110000 + input.Uint32() % 0x7FEF0000);
            AppendUtf8(kReplacement, path.utf8);
        }
        afterLoneHigh = loneHigh;
    }
    return path;
}

bool IsUrlPathCharacter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9') ||
           std::wstring_view(L"-._~!$&'()*+,;=:@/").find(c) != std::wstring_view::npos;
}

int HexValue(wchar_t c) {
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

void CheckAddress(const Path& path) {
    const std::wstring url = PictureFileUrl(path.units);
    constexpr std::wstring_view kScheme = L"file:///";
    FUZZ_REQUIRE(url.starts_with(kScheme));
    std::string decoded;
    for (std::size_t i = kScheme.size(); i < url.size(); ++i) {
        if (url[i] == L'%') {
            FUZZ_REQUIRE(i + 2 < url.size() && HexValue(url[i + 1]) >= 0 &&
                         HexValue(url[i + 2]) >= 0);
            decoded += static_cast<char>(HexValue(url[i + 1]) * 16 + HexValue(url[i + 2]));
            i += 2;
        } else {
            FUZZ_REQUIRE(IsUrlPathCharacter(url[i]));
            decoded += static_cast<char>(url[i]);
        }
    }
    std::string expected = path.utf8;
    for (char& c : expected) {
        if (c == '\\')
            c = '/';
    }
    FUZZ_REQUIRE(decoded == expected);
}

// The escaped text back as it was; every '&' must start one of the five
// references HtmlEscape writes, and no markup character may be left.
std::wstring Unescape(std::wstring_view escaped) {
    constexpr std::pair<std::wstring_view, wchar_t> kReferences[] = {
        {L"&amp;", L'&'}, {L"&lt;", L'<'}, {L"&gt;", L'>'}, {L"&quot;", L'"'}, {L"&#39;", L'\''}};
    std::wstring text;
    for (std::size_t i = 0; i < escaped.size();) {
        FUZZ_REQUIRE(std::wstring_view(L"<>\"'").find(escaped[i]) == std::wstring_view::npos);
        if (escaped[i] != L'&') {
            text += escaped[i++];
            continue;
        }
        bool known = false;
        for (const auto& [reference, character] : kReferences) {
            if (escaped.substr(i).starts_with(reference)) {
                text += character;
                i += reference.size();
                known = true;
                break;
            }
        }
        FUZZ_REQUIRE(known);
    }
    return text;
}

std::wstring Template(FuzzInput& input) {
    constexpr std::wstring_view kAlphabet = L"$SCREENSHOT_PATH<>&\"' x";
    std::wstring text;
    const std::size_t pieces = input.Below(10);
    for (std::size_t i = 0; i < pieces; ++i) {
        switch (input.Below(3)) {
        case 0:
            text += kScreenshotPlaceholder;
            break;
        case 1: {
            const std::size_t from = input.Below(kScreenshotPlaceholder.size());
            text += kScreenshotPlaceholder.substr(from, input.Below(kScreenshotPlaceholder.size()));
            break;
        }
        default:
            text += input.Text(8, kAlphabet);
            break;
        }
    }
    return text;
}

std::wstring Replaced(std::wstring_view text, wchar_t marker, std::wstring_view with) {
    std::wstring result;
    for (const wchar_t c : text) {
        if (c == marker)
            result += with;
        else
            result += c;
    }
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const Path path = MakePath(input);
    CheckAddress(path);

    // A marker the template cannot hold shows where the address went.
    constexpr wchar_t kMarker = L'\x01';
    const std::wstring templateText = Template(input);
    const std::wstring marked = FillEmailPage(templateText, std::wstring(1, kMarker));
    FUZZ_REQUIRE(marked.find(kScreenshotPlaceholder) == std::wstring::npos);
    FUZZ_REQUIRE(Replaced(marked, kMarker, kScreenshotPlaceholder) == templateText);

    const std::wstring url = input.Byte() % 2 ? PictureFileUrl(path.units) : input.RestAsText();
    const std::wstring escaped = HtmlEscape(url);
    FUZZ_REQUIRE(Unescape(escaped) == url);
    FUZZ_REQUIRE(FillEmailPage(templateText, url) == Replaced(marked, kMarker, escaped));
    return 0;
}
