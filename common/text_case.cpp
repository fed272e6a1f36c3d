#include "common/text_case.h"

#include <windows.h>

namespace text {

bool EqualIgnoringCase(std::wstring_view a, std::wstring_view b) noexcept {
    return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

bool StartsWithIgnoringCase(std::wstring_view text, std::wstring_view prefix) noexcept {
    return prefix.size() <= text.size() && EqualIgnoringCase(text.substr(0, prefix.size()), prefix);
}

std::wstring LowerCase(std::wstring_view text) {
    std::wstring lower(text);
    if (!lower.empty())
        ::CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
    return lower;
}

} // namespace text
