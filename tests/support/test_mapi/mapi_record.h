// What the test MAPI library writes for every message it is given, where, and
// what it answers.
//
// The file named by the first environment variable below (inherited by
// programs a test starts) gets one record per MAPISendMail or MAPISendMailW
// call, appended:
//
//     message\n
//     <field> <byte count>\n<bytes>\n     a string, or a number as text
//     <field> -\n                         a null pointer
//     ...
//     end\n
//
// Fields: "call" (the function called; MAPISendMailW's strings are written
// as UTF-8), "library" (the file the call reached), "mapi32" (the system's
// MAPI32.DLL when it is loaded in the caller's process), "session",
// "uiparam", "flags", "reserved"; the message's "message.reserved",
// "subject", "note", "type", "date", "conversation", "message.flags",
// "originator" (present or -), "recipients" (the count), "recipient.list"
// (present or -) and "files" (the count); for each file n from 0
// "file<n>.reserved", "file<n>.flags", "file<n>.position", "file<n>.path",
// "file<n>.name" and "file<n>.type" (present or -).
#pragma once

inline constexpr wchar_t kMapiRecordVariable[] = L"LUMVEX_TEST_MAPI_RECORD";
// The call's answer as a decimal number; success when it is not set.
inline constexpr wchar_t kMapiAnswerVariable[] = L"LUMVEX_TEST_MAPI_ANSWER";
