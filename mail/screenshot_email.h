// The files an e-mail of the screenshot is made of: the picture as a JPEG and
// an HTML page that shows it, both in the user's temporary folder. The page
// comes from the template "sendscreenshot.htm" beside the program file
// (mail/email_page.h fills it in).
#pragma once

#include <functional>
#include <optional>
#include <string>

inline constexpr wchar_t kEmailTemplateName[] = L"sendscreenshot.htm";

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
