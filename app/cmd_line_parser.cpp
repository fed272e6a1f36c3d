#include "app/cmd_line_parser.h"

#include "common/text_case.h"

std::wstring CCmdLineParser::NormalName(std::wstring_view name) const {
    return m_caseSensitive ? std::wstring(name) : text::LowerCase(name);
}

void CCmdLineParser::Store(std::wstring_view name, std::wstring_view value) {
    if (name.empty())
        return;
    m_switches.try_emplace(NormalName(name), value);
}

void CCmdLineParser::ParseCommandLine(std::wstring_view text) {
    m_commandLine = text;
    constexpr auto npos = std::wstring_view::npos;
    size_t position = 0;
    for (;;) {
        const size_t marker = text.find_first_of(L"-/", position);
        if (marker == npos || marker + 1 >= text.size())
            return;
        const size_t nameStart = marker + 1;
        const size_t separator = text.find_first_of(L" :", nameStart);
        if (separator == npos) {
            Store(text.substr(nameStart), {});
            return;
        }
        const std::wstring_view name = text.substr(nameStart, separator - nameStart);
        if (text[separator] == L' ' || separator + 1 == text.size()) {
            Store(name, {});
            position = separator + 1;
            continue;
        }

        // A colon with text after it: the value is quoted or runs to a blank.
        size_t valueStart = separator + 1;
        wchar_t terminator = L' ';
        if (text[valueStart] == L'"') {
            ++valueStart;
            terminator = L'"';
        }
        const size_t valueEnd = text.find(terminator, valueStart);
        if (valueEnd == npos) {
            Store(name, text.substr(valueStart));
            return;
        }
        Store(name, text.substr(valueStart, valueEnd - valueStart));
        position = valueEnd + 1;
    }
}

std::optional<std::wstring> CCmdLineParser::GetSwitchValue(std::wstring_view name) const {
    const auto found = m_switches.find(NormalName(name));
    if (found == m_switches.end())
        return std::nullopt;
    return found->second;
}
