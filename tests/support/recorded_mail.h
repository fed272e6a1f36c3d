// The test MAPI library as the user's mail program: where it is, how a mail
// program registers itself, and the messages it was given.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

// The test MAPI library (exports MAPISendMail), a Windows path.
std::wstring TestMapiLibrary();

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

private:
    std::wstring m_path;
};
