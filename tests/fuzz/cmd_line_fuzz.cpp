// The command line: whatever the text, every switch found has a name; and a
// command line built from switches parses back to exactly those switches.
#include "app/cmd_line_parser.h"
#include "portable/support/fuzz_input.h"

#include <cstdlib>
#include <map>

namespace {

// "/name" or /name:"value" for each switch, blank-separated.
std::wstring BuildCommandLine(const std::map<std::wstring, std::wstring>& switches) {
    std::wstring line = L"lumvex.exe";
    for (const auto& [name, value] : switches) {
        line += L" /" + name;
        if (!value.empty())
            line += L":\"" + value + L'"';
    }
    return line;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);

    // Any text: nothing stored without a name.
    {
        FuzzInput raw(data, size);
        CCmdLineParser parser;
        parser.ParseCommandLine(raw.RestAsText());
        for (const auto& [name, value] : parser.Switches())
            FUZZ_REQUIRE(!name.empty());
    }

    // Names of letters, digits and '_' (case-sensitive, so as typed); values
    // of anything but the closing quote.
    constexpr std::wstring_view kNameAlphabet =
        L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_";
    std::map<std::wstring, std::wstring> switches;
    const std::size_t count = input.Below(6);
    for (std::size_t i = 0; i < count; ++i) {
        std::wstring name = input.Text(12, kNameAlphabet);
        std::wstring value = input.Text(40);
        std::erase(value, L'"');
        if (!name.empty())
            switches.try_emplace(std::move(name), std::move(value));
    }
    CCmdLineParser parser(true);
    parser.ParseCommandLine(BuildCommandLine(switches));
    FUZZ_REQUIRE(parser.Switches() == switches);
    return 0;
}
