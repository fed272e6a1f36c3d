// Which mail program the user has chosen as the default.
#pragma once

#include <string>

// The name of the default mail program (the default value of
// SOFTWARE\Clients\Mail, per user first, then for the machine), or empty.
std::wstring GetDefaultMailClient();

// True when the mail program is one whose Ctrl+E sending the main window
// supports: its name contains "Outlook" (case-sensitive).
bool IsOutlookMailClient(const std::wstring& name);
