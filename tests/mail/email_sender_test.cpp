// Sending through the user's mail program, with the test MAPI library as
// that program: registered as the machine's default mail program behind the
// system's MAPI32.DLL, or as Thunderbird's own library.
#include "mail/email_sender.h"
#include "mail/mail_client.h"
#include "mail/narrow_paths.h"

#include "framework/file.h"
#include "framework/text.h"

#include "support/recorded_mail.h"
#include "support/registry_value.h"
#include "support/scratch_registry.h"
#include "support/test_window.h"

#include <gtest/gtest.h>

#include <mapi.h>

#include <utility>

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

    bool Send(const std::wstring& page) {
        CEmailSender sender;
        return sender.Send(L"", page, m_picture);
    }

    // A copy of a test library under another name, for Thunderbird.
    std::wstring ThunderbirdLibrary(const std::wstring& library) {
        m_libraryCopy = TempFilePath(L"lumvex thunderbird mapi.dll");
        EXPECT_TRUE(::CopyFileW(library.c_str(), m_libraryCopy.c_str(), FALSE));
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
    EXPECT_TRUE(Send(m_page));

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
        EXPECT_EQ(mail.WideText(file + "path"), attached[i]);
        EXPECT_EQ(mail.WideText(file + "name"), attached[i]);
        EXPECT_EQ(mail.Number(file + "position"), 0xFFFFFFFFu);
        EXPECT_EQ(mail.Number(file + "flags"), 0u);
        EXPECT_EQ(mail.Number(file + "reserved"), 0u);
        EXPECT_TRUE(mail.IsNull(file + "type"));
    }
}

// Whatever the user's folders are called, what the mail program is given to
// attach is there: in UTF-16 for a mail program that reads it, and in the
// ANSI code page, to which the system's MAPI32.DLL converts the message for
// one that does not.
TEST_F(EmailSenderTest, TheAttachedFilesOpenInAnyFolderWhateverTheMailProgramReads) {
    const ScopedTemporaryFolder folder(L"lumvex Łukasz Дмитрий #1 %41");
    ASSERT_FALSE(SurvivesAnsiConversion(folder.Path())) << "the code page has these letters";
    const std::wstring files[] = {folder.Path() + L"sendscreenshot_1.htm",
                                  folder.Path() + L"orbicam_1.jpg"};
    const std::string contents[] = {kPageText, "picture"};
    for (int i = 0; i < 2; ++i)
        ASSERT_TRUE(fw::WriteFileBytes(files[i], contents[i]));

    const std::pair<std::wstring, const char*> programs[] = {
        {TestMapiLibrary(), "MAPISendMailW"}, {TestAnsiMapiLibrary(), "MAPISendMail"}};
    for (const auto& [library, call] : programs) {
        ASSERT_TRUE(SetMailClientLibrary(L"Microsoft Outlook", library));
        CEmailSender sender;
        EXPECT_TRUE(sender.Send(L"", files[0], files[1]));
        const std::vector<RecordedMail> messages = m_recorder.Messages();
        ASSERT_FALSE(messages.empty());
        const RecordedMail& mail = messages.back();
        EXPECT_EQ(mail.Text("call"), call);
        ASSERT_EQ(mail.Number("files"), 2u);
        for (int i = 0; i < 2; ++i) {
            const std::string file = "file" + std::to_string(i) + ".";
            const std::wstring path = mail.WideText(file + "path");
            EXPECT_EQ(fw::ReadFileBytes(path), contents[i]) << call << " " << fw::ToUtf8(path);
            EXPECT_EQ(mail.WideText(file + "name"), path);
            // The recipient sees the file's own name.
            EXPECT_EQ(path.substr(path.find_last_of(L'\\')),
                      files[i].substr(files[i].find_last_of(L'\\')));
        }
    }
    EXPECT_EQ(m_recorder.Messages().size(), 2u);
}

TEST_F(EmailSenderTest, ThunderbirdGetsThePageAsTheTextFromItsOwnLibrary) {
    ASSERT_TRUE(SetDefaultMailClient(HKEY_CURRENT_USER, L"Mozilla Thunderbird"));
    const std::pair<std::wstring, const char*> libraries[] = {
        {TestMapiLibrary(), "MAPISendMailW"}, {TestAnsiMapiLibrary(), "MAPISendMail"}};
    for (const auto& [original, call] : libraries) {
        const std::wstring library = ThunderbirdLibrary(original);
        ASSERT_TRUE(SetMailClientLibrary(L"Mozilla Thunderbird", library));
        EXPECT_TRUE(Send(m_page));

        const std::vector<RecordedMail> messages = m_recorder.Messages();
        ASSERT_FALSE(messages.empty());
        const RecordedMail& mail = messages.back();
        EXPECT_EQ(mail.Text("call"), call);
        EXPECT_EQ(fw::FromUtf8(mail.Text("library").value_or("")), library);
        EXPECT_TRUE(mail.IsNull("mapi32")) << "loaded directly, not through MAPI32.DLL";
        ExpectPlainDialogMessage(mail);
        EXPECT_EQ(mail.WideText("note"), fw::FromAnsi(kPageText));
        EXPECT_EQ(mail.Number("files"), 0u) << "no attachment";
    }
    EXPECT_EQ(m_recorder.Messages().size(), 2u);
}

// Only the user cancelling is no failure; everything else is the caller's to
// report.
TEST_F(EmailSenderTest, AMailProgramThatIsMissingOrRefusesIsAFailure) {
    const std::pair<ULONG, bool> answers[] = {{SUCCESS_SUCCESS, true},
                                              {MAPI_E_USER_ABORT, true},
                                              {MAPI_E_FAILURE, false},
                                              {MAPI_E_ATTACHMENT_NOT_FOUND, false}};
    for (const auto& [answer, taken] : answers) {
        m_recorder.Answer(answer);
        EXPECT_EQ(Send(m_page), taken) << answer;
    }
    ASSERT_EQ(m_recorder.Messages().size(), 4u);

    ASSERT_TRUE(SetDefaultMailClient(HKEY_CURRENT_USER, L"Mozilla Thunderbird"));
    wchar_t system[MAX_PATH]{};
    ::GetSystemDirectoryW(system, MAX_PATH);
    for (const std::wstring& library :
         {TempFilePath(L"lumvex none.dll"), std::wstring(system) + L"\\version.dll"}) {
        ASSERT_TRUE(SetMailClientLibrary(L"Mozilla Thunderbird", library));
        EXPECT_FALSE(Send(m_page)) << fw::ToUtf8(library);
    }
    EXPECT_EQ(m_recorder.Messages().size(), 4u);
}

// A DLL loaded by its bare name is looked for in the program's folder first:
// a MAPI32.DLL put there must not get the user's mail. (Wine runs its own
// MAPI32 even then, but under the name of the file it found.)
TEST_F(EmailSenderTest, TheSystemsMailLibraryIsNeverOneBesideTheProgram) {
    wchar_t program[MAX_PATH]{};
    ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring planted = program;
    planted = planted.substr(0, planted.find_last_of(L'\\') + 1) + L"MAPI32.DLL";
    ASSERT_TRUE(::CopyFileW(TestAnsiMapiLibrary().c_str(), planted.c_str(), FALSE));
    const bool sent = Send(m_page);
    ::DeleteFileW(planted.c_str());

    EXPECT_TRUE(sent);
    const std::vector<RecordedMail> messages = m_recorder.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(fw::FromUtf8(messages[0].Text("library").value_or("")), TestMapiLibrary());
    wchar_t system[MAX_PATH]{};
    ::GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring loaded = fw::FromUtf8(messages[0].Text("mapi32").value_or(""));
    EXPECT_EQ(::lstrcmpiW(loaded.c_str(), (std::wstring(system) + L"\\mapi32.dll").c_str()), 0)
        << fw::ToUtf8(loaded);
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
