#include "mail/screenshot_email.h"

#include "framework/file.h"
#include "framework/text.h"
#include "mail/email_page.h"
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

} // namespace

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
