// A stand-in for the user's mail program: a Simple MAPI library whose
// MAPISendMail and MAPISendMailW record the message they are given (see
// mapi_record.h) and answer success, as a mail program does once the user
// has sent, or the answer the test asks for. Built twice: with both
// functions, and as a mail program that reads only ANSI strings.
#include <windows.h>

#include "mail/mapi_unicode.h"
#include "test_mapi/mapi_record.h"

#include <mapi.h>

#include <cwchar>
#include <string>

namespace {

std::string Utf8(const wchar_t* text, int length) {
    const int needed =
        ::WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(needed > 0 ? needed : 0), '\0');
    if (needed > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, text, length, result.data(), needed, nullptr, nullptr);
    return result;
}

std::string ModulePath(HMODULE module) {
    wchar_t path[1024]{};
    const DWORD length = ::GetModuleFileNameW(module, path, 1024);
    return Utf8(path, static_cast<int>(length));
}

std::string ThisLibrary() {
    HMODULE self = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&ThisLibrary), &self);
    return ModulePath(self);
}

class Record {
public:
    void String(const std::string& field, const char* value) {
        m_text += field;
        if (!value) {
            m_text += " -\n";
            return;
        }
        // Appended piece by piece: at -O3 GCC 12 reports a literal joined
        // with + as an overlapping copy inside std::string (a false
        // positive), and -Werror=restrict stops the Release build.
        // https://gcc.gnu.org/bugzilla/show_bug.cgi?id=105329
        const std::string text(value);
        m_text += ' ';
        m_text += std::to_string(text.size());
        m_text += '\n';
        m_text += text;
        m_text += '\n';
    }
    void String(const std::string& field, const wchar_t* value) {
        String(field, value ? Utf8(value, -1).c_str() : nullptr);
    }
    void String(const std::string& field, const std::string& value) {
        String(field, value.c_str());
    }
    void Number(const std::string& field, unsigned long long value) {
        String(field, std::to_string(value));
    }
    void Presence(const std::string& field, const void* pointer) {
        String(field, pointer ? "present" : nullptr);
    }

    void Append() const {
        wchar_t path[1024]{};
        if (::GetEnvironmentVariableW(kMapiRecordVariable, path, 1024) == 0)
            return;
        HANDLE file = ::CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return;
        const std::string text = "message\n" + m_text + "end\n";
        DWORD written = 0;
        ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        ::CloseHandle(file);
    }

private:
    std::string m_text;
};

// What the test asked the call to answer, or success.
ULONG Answer() {
    wchar_t text[32]{};
    if (::GetEnvironmentVariableW(kMapiAnswerVariable, text, 32) == 0)
        return SUCCESS_SUCCESS;
    return static_cast<ULONG>(std::wcstoul(text, nullptr, 10));
}

// MapiMessage or its UTF-16 twin, whose strings are recorded as UTF-8.
template <typename Message>
ULONG RecordCall(const char* function, LHANDLE session, ULONG_PTR uiParam, const Message* message,
                 FLAGS flags, ULONG reserved) {
    Record record;
    record.String("call", function);
    record.String("library", ThisLibrary());
    HMODULE systemMapi = ::GetModuleHandleW(L"mapi32.dll");
    record.String("mapi32", systemMapi ? ModulePath(systemMapi).c_str() : nullptr);
    record.Number("session", session);
    record.Number("uiparam", uiParam);
    record.Number("flags", flags);
    record.Number("reserved", reserved);
    if (message) {
        record.Number("message.reserved", message->ulReserved);
        record.String("subject", message->lpszSubject);
        record.String("note", message->lpszNoteText);
        record.String("type", message->lpszMessageType);
        record.String("date", message->lpszDateReceived);
        record.String("conversation", message->lpszConversationID);
        record.Number("message.flags", message->flFlags);
        record.Presence("originator", message->lpOriginator);
        record.Number("recipients", message->nRecipCount);
        record.Presence("recipient.list", message->lpRecips);
        record.Number("files", message->nFileCount);
        for (ULONG i = 0; message->lpFiles && i < message->nFileCount; ++i) {
            const auto& file = message->lpFiles[i];
            const std::string prefix = "file" + std::to_string(i) + ".";
            record.Number(prefix + "reserved", file.ulReserved);
            record.Number(prefix + "flags", file.flFlags);
            record.Number(prefix + "position", file.nPosition);
            record.String(prefix + "path", file.lpszPathName);
            record.String(prefix + "name", file.lpszFileName);
            record.Presence(prefix + "type", file.lpFileType);
        }
    }
    record.Append();
    return Answer();
}

} // namespace

// Exported by the .def files under the Simple MAPI names: mapi.h declares
// MAPISendMail already (a redeclaration may not add the export attribute),
// and the Windows SDK's declares MAPISendMailW with its own message type.
extern "C" ULONG WINAPI RecordMapiSendMail(LHANDLE session, ULONG_PTR uiParam,
                                           lpMapiMessage message, FLAGS flags, ULONG reserved) {
    return RecordCall("MAPISendMail", session, uiParam, message, flags, reserved);
}

extern "C" ULONG WINAPI RecordMapiSendMailW(LHANDLE session, ULONG_PTR uiParam,
                                            mapi_unicode::Message* message, FLAGS flags,
                                            ULONG reserved) {
    return RecordCall("MAPISendMailW", session, uiParam, message, flags, reserved);
}
