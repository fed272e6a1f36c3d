#include "mail/screenshot_email.h"

#include "framework/file.h"
#include "framework/text.h"
#include "mail/narrow_paths.h"

#include <windows.h>

#include <vector>

namespace {

// GetTempPathW's folder can be as long as the longest path.
constexpr DWORD kTempPathChars = 65536;

std::wstring TemporaryFolder() {
    std::vector<wchar_t> buffer(kTempPathChars, L'\0');
    const DWORD length = ::GetTempPathW(kTempPathChars, buffer.data());
    if (length == 0 || length >= kTempPathChars)
        return {};
    return std::wstring(buffer.data(), length);
}

// The name format with a fresh tick count, printed as a signed number.
std::wstring TickName(const wchar_t* prefix, const wchar_t* extension) {
    return prefix + std::to_wstring(static_cast<int>(::GetTickCount())) + extension;
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
    for (const unsigned char byte : fw::ToUtf8(path)) {
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

std::optional<ScreenshotEmail>
WriteScreenshotEmail(const std::wstring& programFolder,
                     const std::function<bool(const std::wstring& path)>& writePicture) {
    const std::wstring folder = TemporaryFolder();
    const std::wstring pictureName = TickName(L"orbicam_", L".jpg");
    const std::wstring pageName = TickName(L"sendscreenshot_", L".htm");
    ScreenshotEmail email{folder + pageName, folder + pictureName};
    if (!writePicture(email.picture))
        return std::nullopt;

    // The template is text in the ANSI code page, and so is the page.
    // An address in ASCII reads the same to every program that opens it,
    // also to one that decodes its escapes in the ANSI code page.
    const std::wstring url = PictureFileUrl(ReadablePath(email.picture, IsAscii));
    std::wstring page;
    if (const auto bytes = fw::ReadFileBytes(programFolder + L"\\" + kEmailTemplateName))
        page = FillEmailPage(fw::FromAnsi(*bytes), url);
    // A page that cannot be written is left to the mail program to report.
    fw::WriteFileBytes(email.page, fw::ToAnsi(page));
    return email;
}
