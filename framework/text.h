// Text conversion between the program's UTF-16 and the outside world.
#pragma once

#include <string>
#include <string_view>

namespace fw {

// To and from the thread's ANSI code page (CP_THREAD_ACP): the encoding of
// form fields, the e-mail page and Simple MAPI strings.
std::string ToAnsi(std::wstring_view text);
std::wstring FromAnsi(std::string_view text);

std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view text);

} // namespace fw
