// Named values kept between runs: integers and strings under an entry name
// in a section, a section being a path such as L"Settings\\Common". The
// program keeps them in the per-user profile (fw::Profile); what reads and
// writes settings works through this interface and needs no window.
//
// What a store promises, since the settings rules rely on it:
// - entry and section names are compared without regard to case;
// - a value has one type: a string never reads as an int, nor the reverse,
//   and a value of another type, or a missing one, reads as the default;
// - each write and delete is whole or not done at all;
// - operations are const: a store refers to values it does not hold itself.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace fw {

class KeyValueStore {
public:
    virtual ~KeyValueStore() = default;

    virtual int GetInt(std::wstring_view section, std::wstring_view entry,
                       int defaultValue) const = 0;
    virtual std::wstring GetString(std::wstring_view section, std::wstring_view entry,
                                   std::wstring_view defaultValue) const = 0;

    // Create the section when needed; false when the store refused.
    virtual bool WriteInt(std::wstring_view section, std::wstring_view entry, int value) const = 0;
    virtual bool WriteString(std::wstring_view section, std::wstring_view entry,
                             std::wstring_view value) const = 0;
    // True also when there was no such entry.
    virtual bool DeleteEntry(std::wstring_view section, std::wstring_view entry) const = 0;
    // The names of the entries a section holds, of any type; none when it
    // does not exist.
    virtual std::vector<std::wstring> EntryNames(std::wstring_view section) const = 0;
    // Removes a section with every section below it; an empty section
    // removes everything. True also when there was nothing to remove.
    virtual bool DeleteSection(std::wstring_view section) const = 0;

protected:
    KeyValueStore() = default;
    KeyValueStore(const KeyValueStore&) = default;
    KeyValueStore& operator=(const KeyValueStore&) = default;
};

} // namespace fw
