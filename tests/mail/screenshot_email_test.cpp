#include "mail/screenshot_email.h"

#include "framework/file.h"
#include "framework/text.h"

#include "support/recorded_mail.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

TEST(ScreenshotEmail, EveryPlaceholderGetsThePictureAddress) {
    const std::pair<std::wstring, std::wstring> addresses[] = {
        {L"C:\\Temp\\orbicam_7.jpg", L"file:///C:/Temp/orbicam_7.jpg"},
        // A temporary folder on a network share gives the form browsers read as one.
        {L"\\\\server\\share\\My Temp\\a.jpg", L"file://///server/share/My%20Temp/a.jpg"},
        // What ends the path or starts an escape in a URL, and UTF-8.
        {L"C:\\a #1 %41?\\b.jpg", L"file:///C:/a%20%231%20%2541%3F/b.jpg"},
        {L"C:\\Łukasz\\Дм\\\"<>^`{|}[].jpg",
         L"file:///C:/%C5%81ukasz/%D0%94%D0%BC/%22%3C%3E%5E%60%7B%7C%7D%5B%5D.jpg"},
        // A URL's path holds these as they are; the page escapes & and '.
        {L"C:\\a&b'c!$()*+,;=@~\\x.jpg", L"file:///C:/a&b'c!$()*+,;=@~/x.jpg"},
    };
    for (const auto& [path, url] : addresses)
        EXPECT_EQ(PictureFileUrl(path), url) << fw::ToUtf8(path);

    const std::wstring url = L"file:///C:/Temp/orbicam_7.jpg";
    EXPECT_EQ(FillEmailPage(
                  L"<img src=\"$$$SCREENSHOT_PATH$$$\"><a href=\"$$$SCREENSHOT_PATH$$$\">", url),
              L"<img src=\"" + url + L"\"><a href=\"" + url + L"\">");
    EXPECT_EQ(FillEmailPage(L"<img src='$$$SCREENSHOT_PATH$$$'>$$$SCREENSHOT_PATH$$$",
                            L"file:///C:/a&b'c\"<>/x.jpg"),
              L"<img src='file:///C:/a&amp;b&#39;c&quot;&lt;&gt;/x.jpg'>"
              L"file:///C:/a&amp;b&#39;c&quot;&lt;&gt;/x.jpg");
    // Side by side, at the ends, and with dollars around it.
    EXPECT_EQ(FillEmailPage(L"$$$SCREENSHOT_PATH$$$$$$SCREENSHOT_PATH$$$", L"u"), L"uu");
    EXPECT_EQ(FillEmailPage(L"$$$$SCREENSHOT_PATH$$$$", L"u"), L"$u$");
    // An address that itself looks like the placeholder is not replaced again.
    EXPECT_EQ(FillEmailPage(L"[$$$SCREENSHOT_PATH$$$]", kScreenshotPlaceholder),
              L"[$$$SCREENSHOT_PATH$$$]");
    EXPECT_EQ(FillEmailPage(L"no placeholder $$$SCREENSHOT_PATH$$", L"u"),
              L"no placeholder $$$SCREENSHOT_PATH$$");
    EXPECT_EQ(FillEmailPage(L"", L"u"), L"");
}

// A user name outside the code page, or one with what URLs and HTML treat
// specially: the picture's address opens the picture.
TEST(ScreenshotEmail, InAnyTemporaryFolderThePicturesAddressOpensIt) {
    for (const wchar_t* name : {L"lumvex Łukasz", L"lumvex Дмитрий", L"lumvex #1 %41 & 'x'"}) {
        const ScopedTemporaryFolder folder(name);
        const std::wstring programFolder = folder.Path().substr(0, folder.Path().size() - 1);
        ASSERT_TRUE(fw::WriteFileBytes(folder.Path() + L"sendscreenshot.htm",
                                       "<img src=\"$$$SCREENSHOT_PATH$$$\">"));
        const auto email = WriteScreenshotEmail(programFolder, [](const std::wstring& path) {
            return fw::WriteFileBytes(path, "picture");
        });
        ASSERT_TRUE(email);
        ASSERT_EQ(email->picture.rfind(folder.Path(), 0), 0u);
        const std::string page = fw::ReadFileBytes(email->page).value_or("");
        EXPECT_EQ(fw::ReadFileBytes(FilePathOfAddress(PictureAddressIn(page))), "picture") << page;
    }
}

} // namespace
