#include "controls/history_list.h"

#include <gtest/gtest.h>

namespace {

using Entries = std::vector<std::wstring>;

TEST(HistoryList, KeepsTenStrippedEntriesNewestFirstWithoutCopies) {
    CHistoryList history;
    EXPECT_FALSE(history.Add(L"   "));
    EXPECT_FALSE(history.Add(L""));
    EXPECT_TRUE(history.Entries().empty());

    for (int i = 0; i < 12; ++i)
        history.Add(L" host" + std::to_wstring(i) + L".example.com ");
    ASSERT_EQ(history.Entries().size(), CHistoryList::kMaxEntries);
    EXPECT_EQ(history.Entries().front(), L"host11.example.com");
    EXPECT_EQ(history.Entries().back(), L"host2.example.com");

    // An older entry equal ignoring case moves to the top, spelt as typed.
    history.Add(L"HOST5.Example.com");
    EXPECT_EQ(history.Entries().size(), CHistoryList::kMaxEntries);
    EXPECT_EQ(history.Entries()[0], L"HOST5.Example.com");
    EXPECT_EQ(history.Entries()[1], L"host11.example.com");
    EXPECT_EQ(history.FindExact(L"host5.example.com"), 0u);

    // Completion: the first entry beginning with the text, ignoring case.
    EXPECT_EQ(history.FindPrefix(L"Host1"), 1u);
    EXPECT_EQ(history.FindPrefix(L"host9."), history.FindExact(L"host9.example.com"));
    EXPECT_EQ(history.FindPrefix(L"nowhere"), std::nullopt);
    EXPECT_EQ(history.FindPrefix(L""), std::nullopt);
}

TEST(HistoryList, LoadsByTheSameRulesAndKeepsItsEntriesWhenDataEndsEarly) {
    fw::Archive stored;
    stored.WriteCount(14);
    for (const wchar_t* entry : {L"a.com", L" A.COM ", L"", L"  "})
        stored.WriteString(entry);
    for (int i = 0; i < 10; ++i)
        stored.WriteString(L"h" + std::to_wstring(i));
    stored.WriteString(L"typed");

    CHistoryList history;
    history.Add(L"old.example.com");
    fw::Archive loaded(stored.Bytes());
    EXPECT_EQ(history.Load(loaded), L"typed");
    Entries expected{L"a.com"};
    for (int i = 0; i < 9; ++i)
        expected.push_back(L"h" + std::to_wstring(i));
    EXPECT_EQ(history.Entries(), expected);

    // Stored and loaded again: the same entries and text.
    fw::Archive again;
    history.Store(again, L"half");
    CHistoryList copy;
    fw::Archive reread(again.Bytes());
    EXPECT_EQ(copy.Load(reread), L"half");
    EXPECT_EQ(copy.Entries(), expected);

    // Cut short anywhere: nothing changes.
    std::vector<std::byte> cut = again.Bytes();
    cut.resize(cut.size() - 1);
    fw::Archive shortened(std::move(cut));
    EXPECT_EQ(copy.Load(shortened), std::nullopt);
    EXPECT_EQ(copy.Entries(), expected);
}

} // namespace
