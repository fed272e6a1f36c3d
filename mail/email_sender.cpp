#include "mail/email_sender.h"

#include "framework/file.h"
#include "framework/handles.h"
#include "framework/text.h"
#include "mail/mail_client.h"
#include "mail/mapi_unicode.h"
#include "mail/narrow_paths.h"

#include <mapi.h>

#include <optional>
#include <vector>

namespace {

// The system's Simple MAPI library, which passes the call on to the default
// mail program.
constexpr wchar_t kSystemMapiLibrary[] = L"MAPI32.DLL";
// Attachments go where the mail program puts them, not into the text.
constexpr ULONG kNoPosition = 0xFFFFFFFF;

bool IsFullPath(const std::wstring& path) {
    const bool drive = path.size() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/');
    return drive || path.rfind(L"\\\\", 0) == 0;
}

// The library a mail program registered, by its full path, with the DLLs it
// needs looked for in its own folder; otherwise the system's, from the
// system folder only. A DLL of that name beside the program or in the
// current folder is never loaded:
// https://learn.microsoft.com/windows/win32/dlls/dynamic-link-library-security
fw::Module LoadMailLibrary(const std::wstring& registered) {
    if (IsFullPath(registered))
        return fw::Module(
            ::LoadLibraryExW(registered.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    return fw::Module(::LoadLibraryExW(kSystemMapiLibrary, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
}

template <typename Function> Function Find(HMODULE library, const char* name) {
    // Through the generic function pointer type, the one a cast from another
    // function pointer type is meant to go through.
    return reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(::GetProcAddress(library, name)));
}

// Builds the message in the character set of Text (std::string in the ANSI
// code page, or std::wstring) and hands it over. The message points into the
// strings, which outlive the call.
template <typename Message, typename FileDesc, typename Text, typename SendFunction>
ULONG HandOver(SendFunction send, HWND parent, Text subject, std::optional<Text> note,
               std::vector<Text> paths) {
    Message message{};
    message.lpszSubject = subject.data();
    if (note)
        message.lpszNoteText = note->data();
    std::vector<FileDesc> files;
    for (Text& path : paths) {
        FileDesc file{};
        file.nPosition = kNoPosition;
        file.lpszPathName = path.data();
        file.lpszFileName = path.data();
        files.push_back(file);
    }
    message.nFileCount = static_cast<ULONG>(files.size());
    message.lpFiles = files.empty() ? nullptr : files.data();
    return send(0, reinterpret_cast<ULONG_PTR>(parent), &message, MAPI_DIALOG, 0);
}

} // namespace

bool CEmailSender::Send(const std::wstring& subject, const std::wstring& pagePath,
                        const std::wstring& picturePath) {
    const bool thunderbird = IsThunderbirdMailClient(GetDefaultMailClient());
    // Thunderbird's own library, when it registered one, skips the system's
    // choice of mail program.
    const fw::Module library =
        LoadMailLibrary(thunderbird ? GetThunderbirdMapiLibrary() : std::wstring());
    if (!library)
        return false;

    std::optional<std::wstring> note;
    std::vector<std::wstring> paths;
    if (thunderbird && !pagePath.empty()) {
        // Thunderbird shows an attached page as a file to open; as the body
        // the recipient sees it as the message itself. The page is text in
        // the ANSI code page.
        note = fw::FromAnsi(fw::ReadFileBytes(pagePath).value_or(""));
    } else {
        // The page shows the picture through a file on this computer: only
        // the attached picture reaches the recipient. Paths that survive the
        // ANSI code page even when the mail program gets UTF-16: MAPI32.DLL
        // converts a UTF-16 message for a mail program that reads only ANSI.
        for (const std::wstring* path : {&pagePath, &picturePath}) {
            if (!path->empty())
                paths.push_back(ReadablePath(*path, SurvivesAnsiConversion));
        }
    }

    ULONG answer = 0;
    if (const auto sendWide =
            Find<mapi_unicode::SendMailFunction>(library.get(), "MAPISendMailW")) {
        answer = HandOver<mapi_unicode::Message, mapi_unicode::FileDesc>(
            sendWide, m_parent, subject, std::move(note), std::move(paths));
    } else if (const auto sendAnsi = Find<LPMAPISENDMAIL>(library.get(), "MAPISendMail")) {
        std::vector<std::string> ansiPaths;
        for (const std::wstring& path : paths)
            ansiPaths.push_back(fw::ToAnsi(path));
        answer = HandOver<MapiMessage, MapiFileDesc>(
            sendAnsi, m_parent, fw::ToAnsi(subject),
            note ? std::optional(fw::ToAnsi(*note)) : std::nullopt, std::move(ansiPaths));
    } else {
        return false;
    }
    return answer == SUCCESS_SUCCESS || answer == MAPI_E_USER_ABORT;
}
