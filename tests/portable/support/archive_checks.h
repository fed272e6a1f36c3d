// One round of values through an archive, shared by the tests that store in
// memory and on a COM stream.
#pragma once

#include "framework/archive.h"

#include <string>

namespace archive_checks {

// Longer than one piece of the reader, so that pieces join correctly; and a
// character beyond the first 65,536, which goes as two units.
inline const std::wstring kLongText = std::wstring(5000, L'\u4e2d') + L"\U0001F600";

inline void WriteValues(fw::Archive& archive) {
    archive.WriteCount(3);
    archive.WriteString(L"");
    archive.WriteString(L"http://server/path?x=1");
    archive.WriteString(kLongText);
}

// Reads what WriteValues wrote; false at the first difference.
inline bool ReadsValuesBack(fw::Archive& archive) {
    std::uint16_t count = 0;
    std::wstring empty = L"x", address, text;
    if (!archive.ReadCount(count) || !archive.ReadString(empty) || !archive.ReadString(address) ||
        !archive.ReadString(text))
        return false;
    // Nothing more: a further read fails and leaves its value alone.
    std::uint16_t more = 7;
    return count == 3 && empty.empty() && address == L"http://server/path?x=1" &&
           text == kLongText && !archive.ReadCount(more) && more == 7 && archive.Failed();
}

} // namespace archive_checks
