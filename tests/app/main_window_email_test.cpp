// E-mail from the main window: the picture and its page in the temporary
// folder, handed to the mail program (the test MAPI library), and gone when
// the program ends.
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

#include <regex>

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

    ScratchRegistry m_machine{HKEY_LOCAL_MACHINE};
    MailRecorder m_recorder;
    const std::wstring m_programFolder = TempFilePath(L"lumvex mail program");
};

std::wstring TemporaryFolder() {
    wchar_t folder[MAX_PATH]{};
    ::GetTempPathW(MAX_PATH, folder);
    return folder;
}

// The page the template gives for a picture in the temporary folder.
std::string ExpectedPage(const std::wstring& picture) {
    std::wstring url = L"file:///" + picture;
    for (wchar_t& c : url)
        c = c == L'\\' ? L'/' : c;
    const std::string u = fw::ToAnsi(url);
    return "<p>" + u + "</p>\r\n<img src=\"" + u + "\" alt=\"caf\xE9\">" + u;
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
            EXPECT_TRUE(m_dialog.TemporaryFiles().empty());
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
        ASSERT_EQ(m_dialog.TemporaryFiles().size(), 2u);
        const std::wstring firstPage = m_dialog.TemporaryFiles()[0];
        const std::wstring firstPicture = m_dialog.TemporaryFiles()[1];
        EXPECT_EQ(m_recorder.Messages()[0].Text("note"), ExpectedPage(firstPicture));
        EXPECT_EQ(m_recorder.Messages()[0].Number("files"), 0u);
        EXPECT_TRUE(m_recorder.Messages()[0].Text("mapi32"));

        ASSERT_TRUE(SetDefaultMailClient(HKEY_CURRENT_USER, L"Microsoft Outlook"));
        ASSERT_TRUE(PressKeysUntil({VK_CONTROL, 'E'}, [&] {
            SendOrFail(window, WM_NULL);
            return m_recorder.Messages().size() == 2;
        })) << "Ctrl+E sends for Outlook";
        const RecordedMail mail = m_recorder.Messages()[1];
        ASSERT_EQ(mail.Number("files"), 2u);
        const std::wstring page = fw::FromAnsi(mail.Text("file0.path").value_or(""));
        const std::wstring picture = fw::FromAnsi(mail.Text("file1.path").value_or(""));

        // Both in the temporary folder, named after the tick count.
        const std::wstring folder = TemporaryFolder();
        ASSERT_EQ(page.rfind(folder, 0), 0u) << page.c_str();
        ASSERT_EQ(picture.rfind(folder, 0), 0u) << picture.c_str();
        EXPECT_TRUE(std::regex_match(page.substr(folder.size()),
                                     std::wregex(L"sendscreenshot_-?[0-9]+\\.htm")));
        EXPECT_TRUE(std::regex_match(picture.substr(folder.size()),
                                     std::wregex(L"orbicam_-?[0-9]+\\.jpg")));
        EXPECT_EQ(fw::ReadFileBytes(page), ExpectedPage(picture));
        const Picture sent = ReadImageFile(picture);
        fw::GdiBitmap flattened = m_dialog.Canvas().GetFlattenedBitmap();
        ASSERT_EQ(sent.width, 400);
        ASSERT_EQ(sent.height, 300);
        EXPECT_LT(MeanDifference(sent, ReadPixels(flattened.get())), 4.0);

        // Each page before its picture, oldest first.
        written = {firstPage, firstPicture, page, picture};
        EXPECT_EQ(m_dialog.TemporaryFiles(), written);
        for (const std::wstring& file : written)
            EXPECT_NE(::GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
    });
    ASSERT_EQ(written.size(), 4u);
    for (const std::wstring& file : written)
        EXPECT_EQ(::GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES)
            << "left behind: " << file.c_str();
}

} // namespace
