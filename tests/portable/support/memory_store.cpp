#include "portable/support/memory_store.h"

#include "common/text_case.h"

#include <algorithm>

namespace {

// Whether path is section itself or a section below it.
bool IsAtOrBelow(std::wstring_view path, std::wstring_view section) {
    if (section.empty())
        return true;
    if (!text::StartsWithIgnoringCase(path, section))
        return false;
    return path.size() == section.size() || path[section.size()] == L'\\';
}

} // namespace

const MemoryStore::Value* MemoryStore::Find(std::wstring_view section,
                                            std::wstring_view entry) const {
    for (const Section& s : m_sections) {
        if (!text::EqualIgnoringCase(s.name, section))
            continue;
        for (const Value& value : s.values) {
            if (text::EqualIgnoringCase(value.name, entry))
                return &value;
        }
    }
    return nullptr;
}

MemoryStore::Value& MemoryStore::Put(std::wstring_view section, std::wstring_view entry) const {
    auto s = std::find_if(m_sections.begin(), m_sections.end(), [&](const Section& c) {
        return text::EqualIgnoringCase(c.name, section);
    });
    if (s == m_sections.end())
        s = m_sections.insert(m_sections.end(), Section{std::wstring(section), {}});
    auto value = std::find_if(s->values.begin(), s->values.end(), [&](const Value& v) {
        return text::EqualIgnoringCase(v.name, entry);
    });
    if (value == s->values.end())
        value = s->values.insert(s->values.end(), Value{std::wstring(entry), Type::Other, 0, {}});
    return *value;
}

bool MemoryStore::Admit() const noexcept {
    if (m_changesLeft) {
        if (*m_changesLeft == 0) {
            m_stopped = true;
            return false;
        }
        --*m_changesLeft;
    }
    return true;
}

int MemoryStore::GetInt(std::wstring_view section, std::wstring_view entry,
                        int defaultValue) const {
    const Value* value = Find(section, entry);
    return value && value->type == Type::Int ? value->number : defaultValue;
}

std::wstring MemoryStore::GetString(std::wstring_view section, std::wstring_view entry,
                                    std::wstring_view defaultValue) const {
    const Value* value = Find(section, entry);
    if (!value || value->type != Type::String)
        return std::wstring(defaultValue);
    return value->text.substr(0, value->text.find(L'\0'));
}

bool MemoryStore::WriteInt(std::wstring_view section, std::wstring_view entry, int value) const {
    if (Admit()) {
        Value& stored = Put(section, entry);
        stored.type = Type::Int;
        stored.number = value;
    }
    return true;
}

bool MemoryStore::WriteString(std::wstring_view section, std::wstring_view entry,
                              std::wstring_view value) const {
    if (Admit()) {
        Value& stored = Put(section, entry);
        stored.type = Type::String;
        stored.text = value;
    }
    return true;
}

void MemoryStore::WriteOther(std::wstring_view section, std::wstring_view entry) {
    Put(section, entry).type = Type::Other;
}

bool MemoryStore::DeleteEntry(std::wstring_view section, std::wstring_view entry) const {
    if (!Admit())
        return true;
    for (Section& s : m_sections) {
        if (text::EqualIgnoringCase(s.name, section))
            std::erase_if(s.values,
                          [&](const Value& v) { return text::EqualIgnoringCase(v.name, entry); });
    }
    return true;
}

std::vector<std::wstring> MemoryStore::EntryNames(std::wstring_view section) const {
    std::vector<std::wstring> names;
    for (const Section& s : m_sections) {
        if (text::EqualIgnoringCase(s.name, section)) {
            for (const Value& value : s.values)
                names.push_back(value.name);
        }
    }
    return names;
}

bool MemoryStore::DeleteSection(std::wstring_view section) const {
    if (Admit())
        std::erase_if(m_sections, [&](const Section& s) { return IsAtOrBelow(s.name, section); });
    return true;
}

std::vector<std::wstring> MemoryStore::SectionNames() const {
    std::vector<std::wstring> names;
    for (const Section& s : m_sections)
        names.push_back(s.name);
    return names;
}
