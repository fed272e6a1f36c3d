// Text compared and folded without regard to case, unit by unit as the
// system compares names (ordinal, the same in every locale). The window-free
// units ask this of the platform: the program does it with the system's
// tables, the native build with the C library's.
#pragma once

#include <string>
#include <string_view>

namespace text {

// Whether a and b are the same text ignoring case.
bool EqualIgnoringCase(std::wstring_view a, std::wstring_view b) noexcept;
// Whether text begins with prefix, ignoring case.
bool StartsWithIgnoringCase(std::wstring_view text, std::wstring_view prefix) noexcept;
// The text in lower case.
std::wstring LowerCase(std::wstring_view text);

} // namespace text
