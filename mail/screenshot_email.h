// The files an e-mail of the screenshot is made of: the picture as a JPEG and
// an HTML page that shows it, both in the user's temporary folder. The page
// comes from the template "sendscreenshot.htm" beside the program file.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// What the template says where the picture's address goes.
inline constexpr std::wstring_view kScreenshotPlaceholder = L"$$$SCREENSHOT_PATH$$$";
inline constexpr wchar_t kEmailTemplateName[] = L"sendscreenshot.htm";

// "file:///" + the path with forward slashes, percent-encoded as UTF-8 where a
// character has no place in a URL's path: C:\Temp\a #1.jpg gives
// file:///C:/Temp/a%20%231.jpg.
std::wstring PictureFileUrl(std::wstring_view path);

// The text with & < > " and ' written as HTML character references.
std::wstring HtmlEscape(std::wstring_view text);

// The template with every placeholder replaced by the address, escaped for
// HTML (the template puts it in attributes and text alike).
std::wstring FillEmailPage(std::wstring_view templateText, std::wstring_view pictureUrl);

struct ScreenshotEmail {
    std::wstring page;
    std::wstring picture;
};

// Writes the picture through writePicture, then the page, into the temporary
// folder under names made from the tick count. Answers both full paths, or
// nothing when the picture could not be written: writePicture has then told
// the user, and no mail must go out without its picture. A missing template
// gives an empty page. programFolder has no trailing backslash.
std::optional<ScreenshotEmail>
WriteScreenshotEmail(const std::wstring& programFolder,
                     const std::function<bool(const std::wstring& path)>& writePicture);
