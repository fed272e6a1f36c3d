#include "mail/screenshot_email.h"

#include "mail/email_page.h"

#include "framework/file.h"
#include "framework/text.h"

#include "support/recorded_mail.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

// The address, percent-decoded, holds the path's UTF-8 as the system
// converts it, unpaired surrogates included.
TEST(ScreenshotEmail, TheAddressHoldsThePathInTheSystemsUtf8) {
    const std::wstring paths[] = {L"C:\\\u00e9\u4e2d\U0001F600 #%.jpg",
                                  {L'a', wchar_t(0xDE00), wchar_t(0xD800), L'b', wchar_t(0xD83D),
                                   wchar_t(0xDE00), wchar_t(0xDBFF)}};
    for (const std::wstring& path : paths) {
        const std::wstring url = PictureFileUrl(path);
        ASSERT_EQ(url.rfind(L"file:///", 0), 0u);
        std::string decoded;
        for (size_t i = 8; i < url.size(); ++i) {
            if (url[i] == L'%') {
                decoded += static_cast<char>(std::stoi(url.substr(i + 1, 2), nullptr, 16));
                i += 2;
            } else {
                decoded += url[i] == L'/' ? '\\' : static_cast<char>(url[i]);
            }
        }
        EXPECT_EQ(decoded, fw::ToUtf8(path)) << path.size();
    }
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
