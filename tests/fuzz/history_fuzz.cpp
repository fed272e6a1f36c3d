// The history list: whatever is added or loaded, it never holds more than
// ten entries, never two equal ignoring case, never a blank or unstripped
// one; and what it stores loads back as it was.
#include "controls/history_list.h"
#include "common/text_case.h"
#include "portable/support/fuzz_input.h"

#include <cstdlib>

namespace {

void CheckHistoryRules(const CHistoryList& history) {
    const auto& entries = history.Entries();
    FUZZ_REQUIRE(entries.size() <= CHistoryList::kMaxEntries);
    for (size_t i = 0; i < entries.size(); ++i) {
        FUZZ_REQUIRE(!entries[i].empty() && StripBlanks(entries[i]) == entries[i]);
        for (size_t j = i + 1; j < entries.size(); ++j)
            FUZZ_REQUIRE(!text::EqualIgnoringCase(entries[i], entries[j]));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    // Few letters, so that texts meet ignoring case.
    constexpr std::wstring_view kAlphabet = L"aAbB \u00e9\u00c9.";
    CHistoryList history;
    while (!input.Empty()) {
        switch (input.Byte() % 3) {
        case 0: {
            const std::wstring text = input.Text(4, kAlphabet);
            const bool added = history.Add(text);
            FUZZ_REQUIRE(added == !StripBlanks(text).empty());
            if (added)
                FUZZ_REQUIRE(history.Entries().front() == StripBlanks(text));
            break;
        }
        case 1: {
            // Stored data of any content: counts and strings as they come.
            fw::Archive stored;
            const std::size_t count = input.Below(16);
            stored.WriteCount(static_cast<std::uint16_t>(count + input.Below(2)));
            for (std::size_t i = 0; i <= count; ++i)
                stored.WriteString(input.Text(4, kAlphabet));
            const CHistoryList before = history;
            fw::Archive loaded(stored.Bytes());
            if (!history.Load(loaded))
                FUZZ_REQUIRE(history.Entries() == before.Entries());
            break;
        }
        default: {
            const std::wstring current = input.Text(6);
            fw::Archive stored;
            history.Store(stored, current);
            CHistoryList copy;
            fw::Archive loaded(stored.Bytes());
            FUZZ_REQUIRE(copy.Load(loaded) == current);
            FUZZ_REQUIRE(copy.Entries() == history.Entries());
            break;
        }
        }
        CheckHistoryRules(history);
    }
    return 0;
}
