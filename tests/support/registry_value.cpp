#include "support/registry_value.h"

#include "framework/handles.h"

#include <cstring>
#include <utility>

std::optional<std::wstring> RegistryValue::AsString() const {
    if (type != REG_SZ)
        return std::nullopt;
    std::wstring text(data.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
    if (const size_t end = text.find(L'\0'); end != std::wstring::npos)
        text.resize(end);
    return text;
}

std::optional<DWORD> RegistryValue::AsDword() const {
    if (type != REG_DWORD || data.size() != sizeof(DWORD))
        return std::nullopt;
    DWORD value = 0;
    std::memcpy(&value, data.data(), sizeof(value));
    return value;
}

std::optional<RegistryValue> ReadRegistryValue(const std::wstring& key, const std::wstring& name,
                                               HKEY root) {
    fw::RegKey opened;
    if (::RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE, opened.put()) != ERROR_SUCCESS)
        return std::nullopt;
    RegistryValue value;
    DWORD size = 0;
    if (::RegQueryValueExW(opened.get(), name.c_str(), nullptr, &value.type, nullptr, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    value.data.resize(size);
    if (::RegQueryValueExW(opened.get(), name.c_str(), nullptr, &value.type, value.data.data(),
                           &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.data.resize(size);
    return value;
}

std::optional<std::wstring> ReadRegistryString(const std::wstring& key, const std::wstring& name) {
    const std::optional<RegistryValue> value = ReadRegistryValue(key, name);
    return value ? value->AsString() : std::nullopt;
}

std::optional<DWORD> ReadRegistryDword(const std::wstring& key, const std::wstring& name) {
    const std::optional<RegistryValue> value = ReadRegistryValue(key, name);
    return value ? value->AsDword() : std::nullopt;
}

bool RegistryKeyExists(const std::wstring& key) {
    fw::RegKey opened;
    return ::RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_QUERY_VALUE, opened.put()) ==
           ERROR_SUCCESS;
}

bool WriteRegistryValue(const std::wstring& key, const std::wstring& name, DWORD type,
                        const void* data, DWORD size, HKEY root) {
    fw::RegKey created;
    if (::RegCreateKeyExW(root, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                          nullptr, created.put(), nullptr) != ERROR_SUCCESS)
        return false;
    return ::RegSetValueExW(created.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data),
                            size) == ERROR_SUCCESS;
}

bool WriteRegistryString(const std::wstring& key, const std::wstring& name,
                         const std::wstring& value, HKEY root) {
    return WriteRegistryValue(key, name, REG_SZ, value.c_str(),
                              static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)), root);
}

bool WriteRegistryDword(const std::wstring& key, const std::wstring& name, DWORD value) {
    return WriteRegistryValue(key, name, REG_DWORD, &value, sizeof(value));
}

SavedRegistryValue::SavedRegistryValue(HKEY root, std::wstring key, std::wstring name)
    : m_root(root), m_key(std::move(key)), m_name(std::move(name)),
      m_saved(ReadRegistryValue(m_key, m_name, m_root)) {}

SavedRegistryValue::~SavedRegistryValue() {
    if (m_saved)
        WriteRegistryValue(m_key, m_name, m_saved->type, m_saved->data.data(),
                           static_cast<DWORD>(m_saved->data.size()), m_root);
    else
        ::RegDeleteKeyValueW(m_root, m_key.c_str(), m_name.c_str());
}

bool DeleteRegistryTree(const std::wstring& key, HKEY root) {
    const LSTATUS status = ::RegDeleteTreeW(root, key.c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        return false;
    const LSTATUS keyStatus = ::RegDeleteKeyW(root, key.c_str());
    return keyStatus == ERROR_SUCCESS || keyStatus == ERROR_FILE_NOT_FOUND;
}
