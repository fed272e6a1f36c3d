#include "mail/screenshot_email.h"

#include "framework/file.h"
#include "framework/text.h"

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

std::wstring PictureFileUrl(std::wstring_view folder, std::wstring_view fileName) {
    std::wstring url = L"file:///";
    for (const wchar_t c : folder)
        url += c == L'\\' ? L'/' : c;
    url += fileName;
    return url;
}

std::wstring FillEmailPage(std::wstring_view templateText, std::wstring_view pictureUrl) {
    std::wstring page;
    page.reserve(templateText.size());
    size_t from = 0;
    for (size_t found;
         (found = templateText.find(kScreenshotPlaceholder, from)) != std::wstring_view::npos;
         from = found + kScreenshotPlaceholder.size()) {
        page.append(templateText.substr(from, found - from));
        page.append(pictureUrl);
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
    std::wstring page;
    if (const auto bytes = fw::ReadFileBytes(programFolder + L"\\" + kEmailTemplateName))
        page = FillEmailPage(fw::FromAnsi(*bytes), PictureFileUrl(folder, pictureName));
    // A page that cannot be written is left to the mail program to report.
    fw::WriteFileBytes(email.page, fw::ToAnsi(page));
    return email;
}
