// The per-user profile: values under HKEY_CURRENT_USER\<root>\<section>,
// the program's key-value store.
#pragma once

#include "framework/key_value_store.h"

#include <string>
#include <string_view>
#include <vector>

namespace fw {

class Profile final : public KeyValueStore {
public:
    Profile() = default;
    // root: the key below HKEY_CURRENT_USER, e.g. L"Software\\Maker\\App".
    explicit Profile(std::wstring root) : m_root(std::move(root)) {}

    const std::wstring& Root() const noexcept { return m_root; }
    // A profile without a root (not yet given one) reads every value as its
    // default and refuses every change.
    bool IsValid() const noexcept { return !m_root.empty(); }

    // A missing value, or one of another registry type, reads as the default
    // (a string is REG_SZ only: REG_EXPAND_SZ is another type).
    int GetInt(std::wstring_view section, std::wstring_view entry, int defaultValue) const override;
    std::wstring GetString(std::wstring_view section, std::wstring_view entry,
                           std::wstring_view defaultValue) const override;

    // Create the section key when needed; false when the registry refused.
    bool WriteInt(std::wstring_view section, std::wstring_view entry, int value) const override;
    bool WriteString(std::wstring_view section, std::wstring_view entry,
                     std::wstring_view value) const override;
    bool DeleteEntry(std::wstring_view section, std::wstring_view entry) const override;
    // The names of the values a section holds, of any type; none when it
    // does not exist.
    std::vector<std::wstring> EntryNames(std::wstring_view section) const override;

    // Removes a section with every key and value below it; an empty section
    // removes the whole profile. True also when there was nothing to remove.
    bool DeleteSection(std::wstring_view section) const override;

private:
    std::wstring SectionPath(std::wstring_view section) const;

    std::wstring m_root;
};

} // namespace fw
