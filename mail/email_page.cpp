#include "mail/email_page.h"

#include "common/utf8.h"

namespace {

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
