// Command-line switches: "/name:value" or "-name:value", value optionally in
// double quotes.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

class CCmdLineParser {
public:
    // A case-insensitive parser lower-cases names on insertion and lookup.
    explicit CCmdLineParser(bool caseSensitive = false) noexcept : m_caseSensitive(caseSensitive) {}

    // Adds the switches of commandLine; a name already known keeps its first
    // value. "/name" and "/name value" give the name an empty value: only a
    // colon joins a value to its name.
    void ParseCommandLine(std::wstring_view commandLine);

    // The value of a switch, or nothing when it was not given.
    std::optional<std::wstring> GetSwitchValue(std::wstring_view name) const;

    const std::wstring& CommandLine() const noexcept { return m_commandLine; }
    const std::map<std::wstring, std::wstring>& Switches() const noexcept { return m_switches; }

private:
    void Store(std::wstring_view name, std::wstring_view value);
    std::wstring NormalName(std::wstring_view name) const;

    std::wstring m_commandLine;
    std::map<std::wstring, std::wstring> m_switches;
    bool m_caseSensitive;
};
