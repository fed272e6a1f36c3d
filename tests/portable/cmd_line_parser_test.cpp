#include "app/cmd_line_parser.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using Switches = std::map<std::wstring, std::wstring>;

Switches Parse(std::wstring_view commandLine) {
    CCmdLineParser parser;
    parser.ParseCommandLine(commandLine);
    return parser.Switches();
}

struct ParseCase {
    const wchar_t* commandLine;
    Switches expected;
};

TEST(CmdLineParser, ParsesTheTable) {
    const ParseCase cases[] = {
        {L"", {}},
        {L"no switches here", {}},
        {L"/exit:1", {{L"exit", L"1"}}},
        {L"-EXIT:1", {{L"exit", L"1"}}},
        {L"/Exit:Yes", {{L"exit", L"Yes"}}}, // values keep their case
        // Only a colon joins a value; the blank ends the switch.
        {L"/exit 1", {{L"exit", L""}}},
        {L"/exit:0", {{L"exit", L"0"}}},
        {L"/exit:\"1\"", {{L"exit", L"1"}}},
        {L"/exit:\"1 2\" /b:c", {{L"exit", L"1 2"}, {L"b", L"c"}}},
        {L"/exit:\"\" /b", {{L"exit", L""}, {L"b", L""}}},
        // An unclosed quote takes the rest of the line.
        {L"/exit:\"1 /b:2", {{L"exit", L"1 /b:2"}}},
        {L"/exit:\"", {{L"exit", L""}}},
        // A trailing colon: an empty value.
        {L"/exit:", {{L"exit", L""}}},
        {L"/a: /b:2", {{L"a", L""}, {L"b", L"2"}}},
        {L"/exit", {{L"exit", L""}}},
        // The first occurrence wins, whatever the case of the later one.
        {L"/exit:1 /exit:0", {{L"exit", L"1"}}},
        {L"/exit:0 -EXIT:1", {{L"exit", L"0"}}},
        // Empty names are dropped; a lone marker ends nothing badly.
        {L"/:1 -exit:1", {{L"exit", L"1"}}},
        {L"/ /exit:1", {{L"exit", L"1"}}},
        {L"/", {}},
        {L"-", {}},
        {L"x /", {}},
        {L"//exit:1", {{L"/exit", L"1"}}},
        // A value runs to the blank; a marker inside it starts nothing.
        {L"/path:C:/dir/file -x", {{L"path", L"C:/dir/file"}, {L"x", L""}}},
        {L"/a:b\"c\" /d", {{L"a", L"b\"c\""}, {L"d", L""}}},
        // Text before and between switches is skipped.
        {L"program.exe   /a:1   junk -b:2", {{L"a", L"1"}, {L"b", L"2"}}},
        {L"-\u00c9XIT:\u00e9", {{L"\u00e9xit", L"\u00e9"}}},
    };
    for (const ParseCase& c : cases)
        EXPECT_EQ(Parse(c.commandLine), c.expected) << "command line: " << c.commandLine;
}

TEST(CmdLineParser, LooksNamesUpWithoutRegardToCase) {
    CCmdLineParser parser;
    parser.ParseCommandLine(L"-EXIT:1 /Mode:Fast");
    EXPECT_EQ(parser.GetSwitchValue(L"exit"), L"1");
    EXPECT_EQ(parser.GetSwitchValue(L"ExIt"), L"1");
    EXPECT_EQ(parser.GetSwitchValue(L"MODE"), L"Fast");
    EXPECT_EQ(parser.GetSwitchValue(L"missing"), std::nullopt);
    EXPECT_EQ(parser.CommandLine(), L"-EXIT:1 /Mode:Fast");

    CCmdLineParser caseSensitive(true);
    caseSensitive.ParseCommandLine(L"-EXIT:1");
    EXPECT_EQ(caseSensitive.GetSwitchValue(L"exit"), std::nullopt);
    EXPECT_EQ(caseSensitive.GetSwitchValue(L"EXIT"), L"1");
}

TEST(CmdLineParser, HandlesLongInput) {
    std::wstring line;
    for (int i = 0; i < 20000; ++i)
        line += L" /s" + std::to_wstring(i) + L":v" + std::to_wstring(i);
    line += L" /exit:" + std::wstring(100000, L'1');
    const Switches switches = Parse(line);
    EXPECT_EQ(switches.size(), 20001u);
    EXPECT_EQ(switches.at(L"s19999"), L"v19999");
    EXPECT_EQ(switches.at(L"exit").size(), 100000u);
}

// Random lines from the characters that matter: the parser must end, and
// every stored name must be one it could have cut out.
TEST(CmdLineParser, SurvivesRandomInput) {
    const std::wstring alphabet = L"/-:\" aEx1\t\\\u00e9";
    std::mt19937 random(20261208);
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 40);
    for (int round = 0; round < 20000; ++round) {
        std::wstring line;
        for (int n = length(random); n > 0; --n)
            line += alphabet[pick(random)];
        CCmdLineParser parser;
        parser.ParseCommandLine(line);
        for (const auto& [name, value] : parser.Switches()) {
            ASSERT_FALSE(name.empty()) << line;
            ASSERT_EQ(name.find_first_of(L" :"), std::wstring::npos) << line;
            ASSERT_EQ(name.find_first_of(L"E\u00c9"), std::wstring::npos) << line;
            ASSERT_NE(line.find(value), std::wstring::npos) << line;
            ASSERT_EQ(parser.GetSwitchValue(name), value) << line;
        }
    }
}

} // namespace
