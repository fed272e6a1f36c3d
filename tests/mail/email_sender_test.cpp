// Sending through the user's mail program, with the test MAPI library as
// that program: registered as the machine's default mail program behind the
// system's MAPI32.DLL, or as Thunderbird's own library.
#include "mail/email_sender.h"
#include "mail/mail_client.h"

#include "framework/file.h"
#include "framework/text.h"

#include "support/recorded_mail.h"
#include "support/registry_value.h"
#include "support/scratch_registry.h"
#include "support/test_window.h"

#include <gtest/gtest.h>

#include <mapi.h>

namespace {

// Text in the ANSI code page, lines and an accented letter (e acute in the
// Western code pages) included.
const std::string kPageText = "<html>\r\n<p>caf\xE9</p>\r\n</html>\r\n";

class EmailSenderTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_user.IsActive());
        ASSERT_TRUE(m_machine.IsActive());
        ASSERT_TRUE(fw::WriteFileBytes(m_page, kPageText));
        // The machine's mail program, reached through MAPI32.DLL.
        ASSERT_TRUE(SetDefaultMailClient(HKEY_LOCAL_MACHINE, L"Microsoft Outlook"));
        ASSERT_TRUE(SetMailClientLibrary(L"Microsoft Outlook", TestMapiLibrary()));
    }
    void TearDown() override {
        ::DeleteFileW(m_page.c_str());
        if (!m_libraryCopy.empty())
            ::DeleteFileW(m_libraryCopy.c_str());
    }

    void Send(const std::wstring& page) {
        CEmailSender sender;
        sender.Send(L"", page, m_picture);
    }

    // A copy of the test library under another name, for Thunderbird.
    std::wstring ThunderbirdLibrary() {
        m_libraryCopy = TempFilePath(L"lumvex thunderbird mapi.dll");
        EXPECT_TRUE(::CopyFileW(TestMapiLibrary().c_str(), m_libraryCopy.c_str(), FALSE));
        return m_libraryCopy;
    }

    ScratchRegistry m_user;
    ScratchRegistry m_machine{HKEY_LOCAL_MACHINE};
    MailRecorder m_recorder;
    const std::wstring m_page = TempFilePath(L"lumvex_sendscreenshot_1.htm");
    // Never read: only its name travels.
    const std::wstring m_picture = TempFilePath(L"lumvex_orbicam_1.jpg");
    std::wstring m_libraryCopy;
};

// What every message has, whoever receives it.
void ExpectPlainDialogMessage(const RecordedMail& mail) {
    EXPECT_EQ(mail.Number("session"), 0u);
    EXPECT_EQ(mail.Number("uiparam"), 0u) << "the compose window has no owner";
    EXPECT_EQ(mail.Number("flags"), static_cast<unsigned>(MAPI_DIALOG));
    EXPECT_EQ(mail.Number("reserved"), 0u);
    EXPECT_EQ(mail.Number("message.reserved"), 0u);
    EXPECT_EQ(mail.Text("subject"), "");
    for (const char* absent : {"type", "date", "conversation", "originator", "recipient.list"})
        EXPECT_TRUE(mail.IsNull(absent)) << absent;
    EXPECT_EQ(mail.Number("message.flags"), 0u);
    EXPECT_EQ(mail.Number("recipients"), 0u) << "the user chooses the recipients";
}

TEST_F(EmailSenderTest, AMailProgramInGeneralGetsThePageThenThePictureAttached) {
    Send(m_page);

    const std::vector<RecordedMail> messages = m_recorder.Messages();
    ASSERT_EQ(messages.size(), 1u);
    const RecordedMail& mail = messages[0];
    EXPECT_TRUE(mail.Text("mapi32")) << "the system's MAPI32.DLL passed the message on";
    ExpectPlainDialogMessage(mail);
    EXPECT_TRUE(mail.IsNull("note"));
    ASSERT_EQ(mail.Number("files"), 2u);
    const std::wstring attached[] = {m_page, m_picture};
    for (int i = 0; i < 2; ++i) {
        const std::string file = "file" + std::to_string(i) + ".";
        EXPECT_EQ(mail.Text(file + "path"), fw::ToAnsi(attached[i]));
        EXPECT_EQ(mail.Text(file + "name"), fw::ToAnsi(attached[i]));
        EXPECT_EQ(mail.Number(file + "position"), 0xFFFFFFFFu);
        EXPECT_EQ(mail.Number(file + "flags"), 0u);
        EXPECT_EQ(mail.Number(file + "reserved"), 0u);
        EXPECT_TRUE(mail.IsNull(file + "type"));
    }
}

TEST_F(EmailSenderTest, ThunderbirdGetsThePageAsTheTextFromItsOwnLibrary) {
    ASSERT_TRUE(SetDefaultMailClient(HKEY_CURRENT_USER, L"Mozilla Thunderbird"));
    const std::wstring library = ThunderbirdLibrary();
    ASSERT_TRUE(SetMailClientLibrary(L"Mozilla Thunderbird", library));
    Send(m_page);

    const std::vector<RecordedMail> messages = m_recorder.Messages();
    ASSERT_EQ(messages.size(), 1u);
    const RecordedMail& mail = messages[0];
    EXPECT_EQ(fw::FromUtf8(mail.Text("library").value_or("")), library);
    EXPECT_TRUE(mail.IsNull("mapi32")) << "loaded directly, not through MAPI32.DLL";
    ExpectPlainDialogMessage(mail);
    EXPECT_EQ(mail.Text("note"), kPageText);
    EXPECT_EQ(mail.Number("files"), 0u) << "no attachment";
}

TEST_F(EmailSenderTest, ALibraryThatIsMissingOrNoMailProgramsSendsNothing) {
    ASSERT_TRUE(SetDefaultMailClient(HKEY_CURRENT_USER, L"Mozilla Thunderbird"));
    wchar_t system[MAX_PATH]{};
    ::GetSystemDirectoryW(system, MAX_PATH);
    for (const std::wstring& library :
         {TempFilePath(L"lumvex none.dll"), std::wstring(system) + L"\\version.dll"}) {
        ASSERT_TRUE(SetMailClientLibrary(L"Mozilla Thunderbird", library));
        Send(m_page);
    }
    EXPECT_TRUE(m_recorder.Messages().empty());
}

TEST_F(EmailSenderTest, TheUsersMailProgramComesBeforeTheMachines) {
    const std::wstring key = L"SOFTWARE\\Clients\\Mail";
    EXPECT_EQ(GetDefaultMailClient(), L"Microsoft Outlook");
    ASSERT_TRUE(SetDefaultMailClient(HKEY_CURRENT_USER, L"Mozilla Thunderbird"));
    EXPECT_EQ(GetDefaultMailClient(), L"Mozilla Thunderbird");
    // A user value that is no proper string counts as none.
    const DWORD number = 7;
    ASSERT_TRUE(WriteRegistryValue(key, L"", REG_DWORD, &number, sizeof(number)));
    EXPECT_EQ(GetDefaultMailClient(), L"Microsoft Outlook");
    const wchar_t unterminated[] = {L'M', L'a', L'i', L'l'};
    ASSERT_TRUE(WriteRegistryValue(key, L"", REG_SZ, unterminated, sizeof(unterminated)));
    EXPECT_EQ(GetDefaultMailClient(), L"Microsoft Outlook");

    ASSERT_TRUE(DeleteRegistryTree(key, HKEY_LOCAL_MACHINE));
    EXPECT_EQ(GetDefaultMailClient(), L"");
}

} // namespace
