// Which mail program the user has chosen, as the registry records it.
#pragma once

#include <string>

// The name of the default mail program (the default value of
// SOFTWARE\Clients\Mail, per user first, then for the machine), or empty.
std::wstring GetDefaultMailClient();

// True when the mail program is one whose Ctrl+E sending the main window
// supports: its name contains "Outlook" (case-sensitive).
bool IsOutlookMailClient(const std::wstring& name);

// True when the mail program's name contains "Thunderbird" (case-sensitive):
// it gets the page as the message body instead of as an attachment.
bool IsThunderbirdMailClient(const std::wstring& name);

// The Simple MAPI library that Thunderbird registered for the machine (its
// "DLLPath", used as stored), or empty when there is none.
std::wstring GetThunderbirdMapiLibrary();
