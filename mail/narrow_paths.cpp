#include "mail/narrow_paths.h"

#include "framework/text.h"

#include <windows.h>

#include <algorithm>

namespace {

// The short form of an existing folder, or empty.
std::wstring ShortFolder(const std::wstring& folder) {
    const DWORD needed = ::GetShortPathNameW(folder.c_str(), nullptr, 0);
    if (needed == 0)
        return {};
    std::wstring result(needed, L'\0');
    const DWORD length = ::GetShortPathNameW(folder.c_str(), result.data(), needed);
    if (length == 0 || length >= needed)
        return {};
    result.resize(length);
    return result;
}

} // namespace

bool SurvivesAnsiConversion(std::wstring_view text) {
    return fw::FromAnsi(fw::ToAnsi(text)) == text;
}

bool IsAscii(std::wstring_view text) {
    return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x80; });
}

std::wstring ReadablePath(const std::wstring& path, bool (*readable)(std::wstring_view)) {
    if (readable(path))
        return path;
    // Only the folder is shortened: the file's own name is what the mail
    // program shows the recipient.
    const size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos)
        return path;
    const std::wstring folder = ShortFolder(path.substr(0, slash + 1));
    if (folder.empty())
        return path;
    std::wstring shortened = folder;
    if (shortened.back() != L'\\')
        shortened += L'\\';
    shortened += path.substr(slash + 1);
    return readable(shortened) ? shortened : path;
}
