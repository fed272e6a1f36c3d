#include "mail/email_page.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

TEST(EmailPage, EveryPlaceholderGetsThePictureAddress) {
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
        // Past U+FFFF: two UTF-16 units, or one UTF-32 unit natively.
        {L"C:\\\U0001F600.jpg", L"file:///C:/%F0%9F%98%80.jpg"},
        // Half a pair is no character.
        {std::wstring(1, wchar_t(0xD800)) + L"\\x", L"file:///%EF%BF%BD/x"},
    };
    for (const auto& [path, url] : addresses)
        EXPECT_EQ(PictureFileUrl(path), url) << url;

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

} // namespace
