// A key-value store in memory that answers as the per-user profile does
// where the settings rules depend on it: section and entry names compared
// without regard to case (a name keeps the spelling it was created with),
// sections nested by backslash, one type per value, a string read up to its
// first null character. It can also stand for a process ended in the middle
// of its changes.
#pragma once

#include "framework/key_value_store.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class MemoryStore final : public fw::KeyValueStore {
public:
    int GetInt(std::wstring_view section, std::wstring_view entry, int defaultValue) const override;
    std::wstring GetString(std::wstring_view section, std::wstring_view entry,
                           std::wstring_view defaultValue) const override;
    bool WriteInt(std::wstring_view section, std::wstring_view entry, int value) const override;
    bool WriteString(std::wstring_view section, std::wstring_view entry,
                     std::wstring_view value) const override;
    bool DeleteEntry(std::wstring_view section, std::wstring_view entry) const override;
    std::vector<std::wstring> EntryNames(std::wstring_view section) const override;
    bool DeleteSection(std::wstring_view section) const override;

    // A value of a type that reads neither as an int nor as a string, as
    // binary data or a string to expand in the registry. Not a change.
    void WriteOther(std::wstring_view section, std::wstring_view entry);

    // Every change after the next `count` is dropped, answered as done: the
    // process that made them was ended there.
    void StopAfterChanges(std::size_t count) noexcept { m_changesLeft = count; }
    // Whether a change was dropped.
    bool Stopped() const noexcept { return m_stopped; }
    // The sections that hold values or once did, as first spelt.
    std::vector<std::wstring> SectionNames() const;

private:
    enum class Type { Int, String, Other };
    struct Value {
        std::wstring name;
        Type type = Type::Other;
        int number = 0;
        std::wstring text;
    };
    struct Section {
        std::wstring name;
        std::vector<Value> values;
    };

    const Value* Find(std::wstring_view section, std::wstring_view entry) const;
    Value& Put(std::wstring_view section, std::wstring_view entry) const;
    // Whether a change may go ahead (and counts it).
    bool Admit() const noexcept;

    // The contents are the stored values, not the store's own state: they
    // change through a const store as the registry does through a profile.
    mutable std::vector<Section> m_sections;
    mutable std::optional<std::size_t> m_changesLeft;
    mutable bool m_stopped = false;
};
