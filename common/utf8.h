// UTF-8 from the program's wide text: UTF-16 where wchar_t is 16 bits (a
// surrogate pair is one character), code points where it is 32. A lone
// surrogate, or a value past U+10FFFF, becomes U+FFFD.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The character that starts at text[at]; units tells how many wchar_t it
// takes.
char32_t CodePointAt(std::wstring_view text, std::size_t at, std::size_t& units) noexcept;
void AppendUtf8(char32_t c, std::string& out);
std::string ToUtf8(std::wstring_view text);
