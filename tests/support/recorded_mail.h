// The test MAPI library as the user's mail program: where it is, how a mail
// program registers itself, and the messages it was given.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

// The test MAPI library (exports MAPISendMail and MAPISendMailW), a Windows
// path; and the one of a mail program that reads only ANSI strings.
std::wstring TestMapiLibrary();
std::wstring TestAnsiMapiLibrary();

// Makes name the default mail program in root's SOFTWARE\Clients\Mail.
bool SetDefaultMailClient(HKEY root, const std::wstring& name);
// Gives the mail program called name its Simple MAPI library, as its
// installer does: the system's MAPI32.DLL passes calls on to the library of
// the machine's default mail program.
bool SetMailClientLibrary(const std::wstring& name, const std::wstring& library);

// One MAPISendMail call as the library recorded it (fields: mapi_record.h).
struct RecordedMail {
    std::map<std::string, std::optional<std::string>> fields;

    // The field's text; nothing when it was a null pointer or not recorded.
    std::optional<std::string> Text(const std::string& field) const;
    // The field as a number; nothing when it is not one.
    std::optional<unsigned long long> Number(const std::string& field) const;
    bool IsNull(const std::string& field) const;
    // The field's text as the mail program read it: UTF-8 from
    // MAPISendMailW, the ANSI code page from MAPISendMail.
    std::wstring WideText(const std::string& field) const;
};

// Has the test MAPI library record into a fresh file while it lives (the
// place is in an environment variable that programs started meanwhile
// inherit).
class MailRecorder {
public:
    MailRecorder();
    ~MailRecorder();
    MailRecorder(const MailRecorder&) = delete;
    MailRecorder& operator=(const MailRecorder&) = delete;

    // Every message recorded so far, oldest first.
    std::vector<RecordedMail> Messages() const;
    // Has the mail program answer this from now on (a MAPI_ code).
    void Answer(unsigned long answer);

private:
    std::wstring m_path;
};

// The value of the first src attribute in the page, as it stands.
std::string PictureAddressIn(const std::string& page);
// The file a file URL in a page names, as a program opening the page reads
// it: character references resolved, then the URL turned into a path by
// the system. Empty when it is no file URL.
std::wstring FilePathOfAddress(const std::string& address);

// A fresh folder inside the temporary folder that GetTempPathW answers while
// this lives (through TMP and TEMP, inherited by programs started
// meanwhile); removed with the files left in it.
class ScopedTemporaryFolder {
public:
    explicit ScopedTemporaryFolder(const std::wstring& name);
    ~ScopedTemporaryFolder();
    ScopedTemporaryFolder(const ScopedTemporaryFolder&) = delete;
    ScopedTemporaryFolder& operator=(const ScopedTemporaryFolder&) = delete;

    // Ends in a backslash, as GetTempPathW's answer.
    const std::wstring& Path() const { return m_path; }

private:
    std::wstring m_path;
    std::optional<std::wstring> m_oldTmp;
    std::optional<std::wstring> m_oldTemp;
};
