// Paths for readers that take text in a narrower character set than the file
// system's: Simple MAPI's ANSI strings, and a file URL that a Windows program
// may decode in the ANSI code page rather than as UTF-8.
#pragma once

#include <string>
#include <string_view>

// True when the text goes to the thread's ANSI code page and back unchanged
// (no best-fit "L" for "Ł", no "?" for a Cyrillic letter).
bool SurvivesAnsiConversion(std::wstring_view text);

bool IsAscii(std::wstring_view text);

// The path where readable(path); otherwise its folder in the short (8.3) form
// followed by its own name, where that is readable; otherwise the path
// itself, which then only a UTF-16 reader opens (a volume can have short
// names switched off). Both forms name the same file.
std::wstring ReadablePath(const std::wstring& path, bool (*readable)(std::wstring_view));
