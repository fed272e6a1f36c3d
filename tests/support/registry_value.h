// Reads and writes raw registry values, below HKEY_CURRENT_USER unless a
// root is given, for tests that check what the program stored and with which
// type.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

struct RegistryValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;

    // The value as a string when it is REG_SZ, up to its terminator.
    std::optional<std::wstring> AsString() const;
    // The value as a number when it is REG_DWORD.
    std::optional<DWORD> AsDword() const;
};

// The value, or nothing when the key or value is missing.
std::optional<RegistryValue> ReadRegistryValue(const std::wstring& key, const std::wstring& name,
                                               HKEY root = HKEY_CURRENT_USER);
// Typed reads: nothing when the value is missing or of another type.
std::optional<std::wstring> ReadRegistryString(const std::wstring& key, const std::wstring& name);
std::optional<DWORD> ReadRegistryDword(const std::wstring& key, const std::wstring& name);
bool RegistryKeyExists(const std::wstring& key);

bool WriteRegistryValue(const std::wstring& key, const std::wstring& name, DWORD type,
                        const void* data, DWORD size, HKEY root = HKEY_CURRENT_USER);
bool WriteRegistryString(const std::wstring& key, const std::wstring& name,
                         const std::wstring& value, HKEY root = HKEY_CURRENT_USER);
bool WriteRegistryDword(const std::wstring& key, const std::wstring& name, DWORD value);

// A registry value that a test changes, put back as it was (or removed) when
// the object goes.
class SavedRegistryValue {
public:
    SavedRegistryValue(HKEY root, std::wstring key, std::wstring name);
    ~SavedRegistryValue();
    SavedRegistryValue(const SavedRegistryValue&) = delete;
    SavedRegistryValue& operator=(const SavedRegistryValue&) = delete;

private:
    HKEY m_root;
    std::wstring m_key;
    std::wstring m_name;
    std::optional<RegistryValue> m_saved;
};

// Removes the key and everything below it; true also when it was missing.
bool DeleteRegistryTree(const std::wstring& key, HKEY root = HKEY_CURRENT_USER);
