#include "mail/screenshot_email.h"

#include <gtest/gtest.h>

namespace {

TEST(ScreenshotEmail, EveryPlaceholderGetsThePictureAddress) {
    const std::wstring url = L"file:///C:/Temp/orbicam_7.jpg";
    EXPECT_EQ(PictureFileUrl(L"C:\\Temp\\", L"orbicam_7.jpg"), url);
    // A temporary folder on a network share gives the form browsers read as one.
    EXPECT_EQ(PictureFileUrl(L"\\\\server\\share\\My Temp\\", L"a.jpg"),
              L"file://///server/share/My Temp/a.jpg");

    EXPECT_EQ(FillEmailPage(
                  L"<img src=\"$$$SCREENSHOT_PATH$$$\"><a href=\"$$$SCREENSHOT_PATH$$$\">", url),
              L"<img src=\"" + url + L"\"><a href=\"" + url + L"\">");
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
