// The rules of a most-recent-first history of typed entries (the server
// addresses a combo box offers), over a list of strings: the combo box only
// shows it.
#pragma once

#include "framework/archive.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CHistoryList {
public:
    static constexpr std::size_t kMaxEntries = 10;

    const std::vector<std::wstring>& Entries() const noexcept { return m_entries; }

    // Puts the text, without leading and trailing blanks, first; an older
    // entry equal to it ignoring case goes, and so do entries beyond the
    // maximum. Blank text is no entry: false, and nothing changes.
    bool Add(std::wstring_view text);

    // The first entry equal to text ignoring case.
    std::optional<std::size_t> FindExact(std::wstring_view text) const noexcept;
    // The first entry that begins with prefix, ignoring case; nothing for an
    // empty prefix.
    std::optional<std::size_t> FindPrefix(std::wstring_view prefix) const noexcept;

    // The entries and the text being typed, in that order.
    void Store(fw::Archive& archive, std::wstring_view current) const;
    // Replaces the entries with stored ones, the newest first and by the
    // same rules as Add (stored data a hand or a damage made may hold more,
    // blanks or copies). Nothing changes and nothing is answered when the
    // data ends early.
    std::optional<std::wstring> Load(fw::Archive& archive);

private:
    std::vector<std::wstring> m_entries;
};

// text without the blanks around it.
std::wstring_view StripBlanks(std::wstring_view text) noexcept;
