#include "controls/history_list.h"

#include "common/text_case.h"

std::wstring_view StripBlanks(std::wstring_view text) noexcept {
    const auto first = text.find_first_not_of(L' ');
    if (first == std::wstring_view::npos)
        return {};
    const auto last = text.find_last_not_of(L' ');
    return text.substr(first, last - first + 1);
}

bool CHistoryList::Add(std::wstring_view text) {
    const std::wstring_view entry = StripBlanks(text);
    if (entry.empty())
        return false;
    if (const auto older = FindExact(entry))
        m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(*older));
    m_entries.insert(m_entries.begin(), std::wstring(entry));
    if (m_entries.size() > kMaxEntries)
        m_entries.resize(kMaxEntries);
    return true;
}

std::optional<std::size_t> CHistoryList::FindExact(std::wstring_view text) const noexcept {
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (text::EqualIgnoringCase(m_entries[i], text))
            return i;
    }
    return std::nullopt;
}

std::optional<std::size_t> CHistoryList::FindPrefix(std::wstring_view prefix) const noexcept {
    if (prefix.empty())
        return std::nullopt;
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (text::StartsWithIgnoringCase(m_entries[i], prefix))
            return i;
    }
    return std::nullopt;
}

void CHistoryList::Store(fw::Archive& archive, std::wstring_view current) const {
    archive.WriteCount(static_cast<std::uint16_t>(m_entries.size()));
    for (const std::wstring& entry : m_entries)
        archive.WriteString(entry);
    archive.WriteString(current);
}

std::optional<std::wstring> CHistoryList::Load(fw::Archive& archive) {
    std::uint16_t count = 0;
    if (!archive.ReadCount(count))
        return std::nullopt;
    // Every stored entry is read, also those past the ones kept, so that
    // the current text is found.
    CHistoryList loaded;
    for (std::uint16_t i = 0; i < count; ++i) {
        std::wstring entry;
        if (!archive.ReadString(entry))
            return std::nullopt;
        const std::wstring_view stripped = StripBlanks(entry);
        if (loaded.m_entries.size() < kMaxEntries && !stripped.empty() &&
            !loaded.FindExact(stripped))
            loaded.m_entries.emplace_back(stripped);
    }
    std::wstring current;
    if (!archive.ReadString(current))
        return std::nullopt;
    m_entries = std::move(loaded.m_entries);
    return current;
}
