// E-mail from the main window: the picture and its page in the temporary
// folder, handed to the mail program (the test MAPI library), and gone when
// the program ends. The temporary folder is named as a user's can be, with
// letters outside the code page and what URLs treat specially.
#include "main_window_driver.h"

#include "framework/file.h"
#include "framework/text.h"

#include "support/message_box_catcher.h"
#include "support/picture.h"
#include "support/recorded_mail.h"
#include "support/test_window.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <mapi.h>

#include <regex>
#include <utility>

namespace {

// Three placeholders and a letter outside ASCII (e acute in the Western code
// pages), in the template's ANSI code page.
const std::string kTemplate =
    "<p>$$$SCREENSHOT_PATH$$$</p>\r\n<img src=\"$$$SCREENSHOT_PATH$$$\" alt=\"caf\xE9\">"
    "$$$SCREENSHOT_PATH$$$";

class MainWindowEmail : public MainWindowFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_machine.IsActive());
        ::CreateDirectoryW(m_programFolder.c_str(), nullptr);
        ASSERT_TRUE(fw::WriteFileBytes(m_programFolder + L"\\sendscreenshot.htm", kTemplate));
        m_settings.programFolder = m_programFolder;
        // The machine's mail program, behind MAPI32.DLL.
        ASSERT_TRUE(SetDefaultMailClient(HKEY_LOCAL_MACHINE, L"Microsoft Outlook"));
        ASSERT_TRUE(SetMailClientLibrary(L"Microsoft Outlook", TestMapiLibrary()));
    }
    void TearDown() override {
        ::DeleteFileW((m_programFolder + L"\\sendscreenshot.htm").c_str());
        ::RemoveDirectoryW(m_programFolder.c_str());
    }

    const ScopedTemporaryFolder m_temporary{L"lumvex Łukasz Дмитрий #1 %41"};
    ScratchRegistry m_machine{HKEY_LOCAL_MACHINE};
    MailRecorder m_recorder;
    const std::wstring m_programFolder = TempFilePath(L"lumvex mail program");
};

// The page the template gives, and the file its address names.
struct SentPage {
    bool asTemplate = false;
    std::wstring picture;
};
SentPage ReadPage(const std::string& page) {
    const std::string u = PictureAddressIn(page);
    return {page == "<p>" + u + "</p>\r\n<img src=\"" + u + "\" alt=\"caf\xE9\">" + u,
            FilePathOfAddress(u)};
}

TEST_F(MainWindowEmail, TheButtonAlwaysAndCtrlEForOutlookSendThePageAndThePicture) {
    std::vector<std::wstring> written;
    Run([&](HWND window) {
        {
            // Nothing captured yet: no picture, so no mail either.
            MessageBoxCatcher catcher(L"Error");
            SendOrFail(window, WM_EMAIL_SCREENSHOT);
            const CaughtMessageBox& box = catcher.Wait();
            EXPECT_TRUE(box.found);
            EXPECT_EQ(box.text, L"The screenshot could not be saved.");
            EXPECT_TRUE(m_recorder.Messages().empty());
            EXPECT_TRUE(m_driver.TemporaryFiles().empty());
        }

        ShowWithCapture(window);
        Drag(window, {100, 100}, {500, 400}); // a crop of 400 x 300
        SendOrFail(window, WM_COMMAND, IDC_TOOL_ARROW);
        Drag(window, {150, 150}, {450, 350});

        // Ctrl+E leaves other mail programs alone; the undo pressed after it
        // shows that both keys have been handled.
        ASSERT_TRUE(SetDefaultMailClient(HKEY_CURRENT_USER, L"Mozilla Thunderbird"));
        PressKeys({VK_CONTROL, 'E'});
        ASSERT_EQ(ItemsAfterKeys(window, {VK_CONTROL, 'Z'}, 1), 1u);
        EXPECT_TRUE(m_recorder.Messages().empty()) << "Ctrl+E sends only for Outlook";

        // The e-mail button sends to whatever the mail program is:
        // Thunderbird gets the page as the message text, through MAPI32.DLL
        // when it registered no library of its own.
        SendOrFail(window, WM_EMAIL_SCREENSHOT);
        ASSERT_EQ(m_recorder.Messages().size(), 1u);
        ASSERT_EQ(m_driver.TemporaryFiles().size(), 2u);
        const std::wstring firstPage = m_driver.TemporaryFiles()[0];
        const std::wstring firstPicture = m_driver.TemporaryFiles()[1];
        const SentPage note = ReadPage(fw::ToAnsi(m_recorder.Messages()[0].WideText("note")));
        EXPECT_TRUE(note.asTemplate);
        EXPECT_TRUE(fw::ReadFileBytes(note.picture) == fw::ReadFileBytes(firstPicture))
            << fw::ToUtf8(note.picture);
        EXPECT_EQ(m_recorder.Messages()[0].Number("files"), 0u);
        EXPECT_TRUE(m_recorder.Messages()[0].Text("mapi32"));

        ASSERT_TRUE(SetDefaultMailClient(HKEY_CURRENT_USER, L"Microsoft Outlook"));
        ASSERT_TRUE(PressKeysUntil({VK_CONTROL, 'E'}, [&] {
            SendOrFail(window, WM_NULL);
            return m_recorder.Messages().size() == 2;
        })) << "Ctrl+E sends for Outlook";
        const RecordedMail mail = m_recorder.Messages()[1];
        ASSERT_EQ(mail.Number("files"), 2u);
        ASSERT_EQ(m_driver.TemporaryFiles().size(), 4u);
        const std::wstring page = m_driver.TemporaryFiles()[2];
        const std::wstring picture = m_driver.TemporaryFiles()[3];
        // What the mail program opens is the page and the picture.
        for (const auto& [field, file] : {std::pair("file0.path", page), {"file1.path", picture}})
            EXPECT_TRUE(fw::ReadFileBytes(mail.WideText(field)) == fw::ReadFileBytes(file))
                << fw::ToUtf8(mail.WideText(field));

        // Both in the temporary folder, named after the tick count.
        const std::wstring folder = m_temporary.Path();
        ASSERT_EQ(page.rfind(folder, 0), 0u) << page.c_str();
        ASSERT_EQ(picture.rfind(folder, 0), 0u) << picture.c_str();
        EXPECT_TRUE(std::regex_match(page.substr(folder.size()),
                                     std::wregex(L"sendscreenshot_-?[0-9]+\\.htm")));
        EXPECT_TRUE(std::regex_match(picture.substr(folder.size()),
                                     std::wregex(L"orbicam_-?[0-9]+\\.jpg")));
        const SentPage sentPage = ReadPage(fw::ReadFileBytes(page).value_or(""));
        EXPECT_TRUE(sentPage.asTemplate);
        EXPECT_TRUE(fw::ReadFileBytes(sentPage.picture) == fw::ReadFileBytes(picture))
            << fw::ToUtf8(sentPage.picture);
        const Picture sent = ReadImageFile(picture);
        fw::GdiBitmap flattened = m_driver.Canvas().GetFlattenedBitmap();
        ASSERT_EQ(sent.width, 400);
        ASSERT_EQ(sent.height, 300);
        EXPECT_LT(MeanDifference(sent, ReadPixels(flattened.get())), 4.0);

        // A mail program that refuses the message is reported.
        m_recorder.Answer(MAPI_E_FAILURE);
        {
            MessageBoxCatcher catcher(L"Error");
            SendOrFail(window, WM_EMAIL_SCREENSHOT);
            const CaughtMessageBox& box = catcher.Wait();
            EXPECT_TRUE(box.found);
            EXPECT_EQ(box.text, L"The e-mail could not be handed to the mail program.");
        }
        EXPECT_EQ(m_recorder.Messages().size(), 3u);

        // Each page before its picture, oldest first.
        ASSERT_EQ(m_driver.TemporaryFiles().size(), 6u);
        written = {firstPage, firstPicture, page, picture};
        written.insert(written.end(), m_driver.TemporaryFiles().begin() + 4,
                       m_driver.TemporaryFiles().end());
        EXPECT_EQ(m_driver.TemporaryFiles(), written);
        for (const std::wstring& file : written)
            EXPECT_NE(::GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
    });
    ASSERT_EQ(written.size(), 6u);
    for (const std::wstring& file : written)
        EXPECT_EQ(::GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES)
            << "left behind: " << file.c_str();
}

} // namespace
