// The UTF-16 form of Simple MAPI's MAPISendMail, which the MinGW-w64 headers
// do not declare. Same layout as MapiMessageW, MapiRecipDescW and
// MapiFileDescW in the Windows SDK's mapi.h, under names of our own so that
// the two never meet:
// https://learn.microsoft.com/windows/win32/api/mapi/nc-mapi-mapisendmailw
#pragma once

#include <windows.h>

#include <mapi.h>

namespace mapi_unicode {

struct RecipDesc {
    ULONG ulReserved;
    ULONG ulRecipClass;
    PWSTR lpszName;
    PWSTR lpszAddress;
    ULONG ulEIDSize;
    PVOID lpEntryID;
};

struct FileDesc {
    ULONG ulReserved;
    ULONG flFlags;
    ULONG nPosition;
    PWSTR lpszPathName;
    PWSTR lpszFileName;
    PVOID lpFileType;
};

struct Message {
    ULONG ulReserved;
    PWSTR lpszSubject;
    PWSTR lpszNoteText;
    PWSTR lpszMessageType;
    PWSTR lpszDateReceived;
    PWSTR lpszConversationID;
    FLAGS flFlags;
    RecipDesc* lpOriginator;
    ULONG nRecipCount;
    RecipDesc* lpRecips;
    ULONG nFileCount;
    FileDesc* lpFiles;
};

using SendMailFunction = ULONG(WINAPI*)(LHANDLE session, ULONG_PTR uiParam, Message* message,
                                        FLAGS flags, ULONG reserved);

} // namespace mapi_unicode
