#include "mail/email_sender.h"

#include "framework/file.h"
#include "framework/handles.h"
#include "framework/text.h"
#include "mail/mail_client.h"

#include <mapi.h>

#include <vector>

namespace {

// The system's Simple MAPI library, which passes the call on to the default
// mail program.
constexpr wchar_t kSystemMapiLibrary[] = L"MAPI32.DLL";
// Attachments go where the mail program puts them, not into the text.
constexpr ULONG kNoPosition = 0xFFFFFFFF;

} // namespace

void CEmailSender::Send(const std::wstring& subject, const std::wstring& pagePath,
                        const std::wstring& picturePath) {
    std::wstring library = kSystemMapiLibrary;
    const bool thunderbird = IsThunderbirdMailClient(GetDefaultMailClient());
    if (thunderbird) {
        // Thunderbird's own library, when it registered one, skips the
        // system's choice of mail program.
        if (std::wstring registered = GetThunderbirdMapiLibrary(); !registered.empty())
            library = std::move(registered);
    }
    fw::Module module(::LoadLibraryW(library.c_str()));
    if (!module)
        return;
    const auto sendMail = reinterpret_cast<LPMAPISENDMAIL>(
        reinterpret_cast<void*>(::GetProcAddress(module.get(), "MAPISendMail")));
    if (!sendMail)
        return;

    // Simple MAPI speaks the ANSI code page. The message points into these
    // strings, which outlive the call.
    std::string ansiSubject = fw::ToAnsi(subject);
    std::string noteText;
    std::vector<std::string> paths;
    MapiMessage message{};
    message.lpszSubject = ansiSubject.data();
    if (thunderbird && !pagePath.empty()) {
        // Thunderbird shows an attached page as a file to open; as the body
        // the recipient sees it as the message itself.
        if (const auto bytes = fw::ReadFileBytes(pagePath))
            noteText = fw::ToAnsi(fw::FromAnsi(*bytes));
        message.lpszNoteText = noteText.data();
    } else {
        // The page shows the picture through a file on this computer: only
        // the attached picture reaches the recipient.
        for (const std::wstring* path : {&pagePath, &picturePath}) {
            if (!path->empty())
                paths.push_back(fw::ToAnsi(*path));
        }
    }
    std::vector<MapiFileDesc> files;
    for (std::string& path : paths) {
        MapiFileDesc file{};
        file.nPosition = kNoPosition;
        file.lpszPathName = path.data();
        file.lpszFileName = path.data();
        files.push_back(file);
    }
    message.nFileCount = static_cast<ULONG>(files.size());
    message.lpFiles = files.empty() ? nullptr : files.data();

    sendMail(0, reinterpret_cast<ULONG_PTR>(m_parent), &message, MAPI_DIALOG, 0);
}
