#include "mail/email_page.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// The code point that starts at text[i], and how many units it takes:
// wchar_t holds UTF-16 on Windows and UTF-32 elsewhere.
char32_t CodePointAt(std::wstring_view text, size_t i, size_t& units) {
    units = 1;
    const char32_t c = static_cast<char32_t>(text[i]);
    if constexpr (sizeof(wchar_t) == 2) {
        if (IsHighSurrogate(c) && i + 1 < text.size()) {
            const char32_t low = static_cast<char32_t>(text[i + 1]);
            if (IsLowSurrogate(low)) {
                units = 2;
                return 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            }
        }
    }
    if (IsHighSurrogate(c) || IsLowSurrogate(c) || c > 0x10FFFF)
        return kReplacement;
    return c;
}

void AppendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string ToUtf8(std::wstring_view text) {
    std::string utf8;
    utf8.reserve(text.size());
    for (size_t i = 0, units = 0; i < text.size(); i += units)
        AppendUtf8(CodePointAt(text, i, units), utf8);
    return utf8;
}

constexpr wchar_t kHexDigits[] = L"0123456789ABCDEF";

// What a URL's path holds as it is (RFC 3986 "pchar" and the slash, "%"
// excepted); everything else is percent-encoded.
bool IsUrlPathCharacter(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
        return true;
    return std::wstring_view(L"-._~!$&'()*+,;=:@/").find(static_cast<wchar_t>(c)) !=
           std::wstring_view::npos;
}

} // namespace

std::wstring PictureFileUrl(std::wstring_view path) {
    std::wstring url = L"file:///";
    for (const unsigned char byte : ToUtf8(path)) {
        if (byte == '\\')
            url += L'/';
        else if (IsUrlPathCharacter(byte))
            url += static_cast<wchar_t>(byte);
        else
            url += {L'%', kHexDigits[byte >> 4], kHexDigits[byte & 0xF]};
    }
    return url;
}

std::wstring HtmlEscape(std::wstring_view text) {
    std::wstring escaped;
    escaped.reserve(text.size());
    for (const wchar_t c : text) {
        switch (c) {
        case L'&':
            escaped += L"&amp;";
            break;
        case L'<':
            escaped += L"&lt;";
            break;
        case L'>':
            escaped += L"&gt;";
            break;
        case L'"':
            escaped += L"&quot;";
            break;
        case L'\'':
            escaped += L"&#39;";
            break;
        default:
            escaped += c;
            break;
        }
    }
    return escaped;
}

std::wstring FillEmailPage(std::wstring_view templateText, std::wstring_view pictureUrl) {
    std::wstring page;
    page.reserve(templateText.size());
    const std::wstring address = HtmlEscape(pictureUrl);
    size_t from = 0;
    for (size_t found;
         (found = templateText.find(kScreenshotPlaceholder, from)) != std::wstring_view::npos;
         from = found + kScreenshotPlaceholder.size()) {
        page.append(templateText.substr(from, found - from));
        page.append(address);
    }
    page.append(templateText.substr(from));
    return page;
}
