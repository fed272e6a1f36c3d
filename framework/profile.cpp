#include "framework/profile.h"

#include "framework/handles.h"

#include <windows.h>

#include <vector>

namespace fw {
namespace {

RegKey OpenSection(const std::wstring& path, REGSAM access) {
    RegKey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, access, key.put()) != ERROR_SUCCESS)
        key.reset();
    return key;
}

RegKey CreateSection(const std::wstring& path) {
    RegKey key;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_SET_VALUE | KEY_QUERY_VALUE, nullptr, key.put(),
                          nullptr) != ERROR_SUCCESS)
        key.reset();
    return key;
}

} // namespace

// Every operation checks IsValid first: without a root the path would name
// HKEY_CURRENT_USER itself (or a path the registry rejects), and a write there
// would land in the top of the user's registry.
std::wstring Profile::SectionPath(std::wstring_view section) const {
    std::wstring path = m_root;
    if (!section.empty()) {
        path += L'\\';
        path += section;
    }
    return path;
}

int Profile::GetInt(std::wstring_view section, std::wstring_view entry, int defaultValue) const {
    if (!IsValid())
        return defaultValue;
    RegKey key = OpenSection(SectionPath(section), KEY_QUERY_VALUE);
    if (!key)
        return defaultValue;
    const std::wstring name(entry);
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value),
                           &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(value))
        return defaultValue;
    return static_cast<int>(value);
}

std::wstring Profile::GetString(std::wstring_view section, std::wstring_view entry,
                                std::wstring_view defaultValue) const {
    if (!IsValid())
        return std::wstring(defaultValue);
    RegKey key = OpenSection(SectionPath(section), KEY_QUERY_VALUE);
    if (!key)
        return std::wstring(defaultValue);
    const std::wstring name(entry);
    // The value may change between the size query and the read: retry then.
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD type = 0;
        DWORD size = 0;
        if (::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size) !=
                ERROR_SUCCESS ||
            type != REG_SZ)
            return std::wstring(defaultValue);
        std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
        DWORD read = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        const LSTATUS status = ::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type,
                                                  reinterpret_cast<BYTE*>(buffer.data()), &read);
        if (status == ERROR_MORE_DATA)
            continue;
        if (status != ERROR_SUCCESS || type != REG_SZ)
            return std::wstring(defaultValue);
        // Stored strings need not end in a terminator; never read past the data.
        std::wstring value(buffer.data(), read / sizeof(wchar_t));
        if (const size_t end = value.find(L'\0'); end != std::wstring::npos)
            value.resize(end);
        return value;
    }
    return std::wstring(defaultValue);
}

bool Profile::WriteInt(std::wstring_view section, std::wstring_view entry, int value) const {
    if (!IsValid())
        return false;
    RegKey key = CreateSection(SectionPath(section));
    if (!key)
        return false;
    const std::wstring name(entry);
    const DWORD data = static_cast<DWORD>(value);
    return ::RegSetValueExW(key.get(), name.c_str(), 0, REG_DWORD,
                            reinterpret_cast<const BYTE*>(&data), sizeof(data)) == ERROR_SUCCESS;
}

bool Profile::WriteString(std::wstring_view section, std::wstring_view entry,
                          std::wstring_view value) const {
    if (!IsValid())
        return false;
    RegKey key = CreateSection(SectionPath(section));
    if (!key)
        return false;
    const std::wstring name(entry);
    const std::wstring data(value);
    const DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(data.c_str()), bytes) == ERROR_SUCCESS;
}

bool Profile::DeleteEntry(std::wstring_view section, std::wstring_view entry) const {
    if (!IsValid())
        return false;
    RegKey key = OpenSection(SectionPath(section), KEY_SET_VALUE);
    if (!key)
        return true;
    const std::wstring name(entry);
    const LSTATUS status = ::RegDeleteValueW(key.get(), name.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

std::vector<std::wstring> Profile::EntryNames(std::wstring_view section) const {
    std::vector<std::wstring> names;
    if (!IsValid())
        return names;
    RegKey key = OpenSection(SectionPath(section), KEY_QUERY_VALUE);
    if (!key)
        return names;
    DWORD longest = 0;
    if (::RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           &longest, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return names;
    std::vector<wchar_t> name(longest + 1);
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(name.size());
        const LSTATUS status = ::RegEnumValueW(key.get(), index, name.data(), &length, nullptr,
                                               nullptr, nullptr, nullptr);
        if (status == ERROR_MORE_DATA && name.size() < 32768) {
            // A longer name came meanwhile: look at this index again.
            name.resize(name.size() * 2);
            --index;
            continue;
        }
        if (status != ERROR_SUCCESS)
            break;
        names.emplace_back(name.data(), length);
    }
    return names;
}

bool Profile::DeleteSection(std::wstring_view section) const {
    if (!IsValid())
        return false;
    const std::wstring path = SectionPath(section);
    const LSTATUS status = ::RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        return false;
    // RegDeleteTreeW with a subkey removes the key itself as well; make sure.
    const LSTATUS keyStatus = ::RegDeleteKeyW(HKEY_CURRENT_USER, path.c_str());
    return keyStatus == ERROR_SUCCESS || keyStatus == ERROR_FILE_NOT_FOUND;
}

} // namespace fw
