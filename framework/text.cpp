#include "framework/text.h"

#include <windows.h>

#include <climits>

namespace fw {
namespace {

std::string Narrow(UINT codePage, std::wstring_view text) {
    if (text.empty() || text.size() > INT_MAX)
        return {};
    const int length = static_cast<int>(text.size());
    const int needed =
        ::WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(needed > 0 ? needed : 0), '\0');
    if (needed > 0)
        ::WideCharToMultiByte(codePage, 0, text.data(), length, result.data(), needed, nullptr,
                              nullptr);
    return result;
}

std::wstring Widen(UINT codePage, std::string_view text) {
    if (text.empty() || text.size() > INT_MAX)
        return {};
    const int length = static_cast<int>(text.size());
    const int needed = ::MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
    std::wstring result(static_cast<size_t>(needed > 0 ? needed : 0), L'\0');
    if (needed > 0)
        ::MultiByteToWideChar(codePage, 0, text.data(), length, result.data(), needed);
    return result;
}

} // namespace

std::string ToAnsi(std::wstring_view text) {
    return Narrow(CP_THREAD_ACP, text);
}
std::wstring FromAnsi(std::string_view text) {
    return Widen(CP_THREAD_ACP, text);
}
std::string ToUtf8(std::wstring_view text) {
    return Narrow(CP_UTF8, text);
}
std::wstring FromUtf8(std::string_view text) {
    return Widen(CP_UTF8, text);
}

} // namespace fw
