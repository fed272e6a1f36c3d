#include "mail/mail_client.h"

#include "framework/handles.h"

#include <windows.h>

#include <vector>

namespace {

constexpr wchar_t kMailClients[] = L"SOFTWARE\\Clients\\Mail";
constexpr wchar_t kThunderbird[] = L"SOFTWARE\\Clients\\Mail\\Mozilla Thunderbird";
constexpr DWORD kMaxValueChars = 65535;

// A string value that must be REG_SZ or REG_EXPAND_SZ, of even size and, when
// not empty, stored with its terminating zero; anything else reads as empty.
std::wstring ReadStringValue(HKEY root, const wchar_t* subKey, const wchar_t* valueName) {
    fw::RegKey key;
    if (::RegOpenKeyExW(root, subKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return {};
    std::vector<wchar_t> buffer(kMaxValueChars + 1, L'\0');
    DWORD type = 0;
    DWORD size = kMaxValueChars * sizeof(wchar_t);
    if (::RegQueryValueExW(key.get(), valueName, nullptr, &type,
                           reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
        return {};
    if ((type != REG_SZ && type != REG_EXPAND_SZ) || size % sizeof(wchar_t) != 0)
        return {};
    const size_t chars = size / sizeof(wchar_t);
    if (chars > 0 && buffer[chars - 1] != L'\0')
        return {};
    return std::wstring(buffer.data());
}

} // namespace

std::wstring GetDefaultMailClient() {
    std::wstring name = ReadStringValue(HKEY_CURRENT_USER, kMailClients, nullptr);
    if (name.empty())
        name = ReadStringValue(HKEY_LOCAL_MACHINE, kMailClients, nullptr);
    return name;
}

bool IsOutlookMailClient(const std::wstring& name) {
    return name.find(L"Outlook") != std::wstring::npos;
}

bool IsThunderbirdMailClient(const std::wstring& name) {
    return name.find(L"Thunderbird") != std::wstring::npos;
}

std::wstring GetThunderbirdMapiLibrary() {
    return ReadStringValue(HKEY_LOCAL_MACHINE, kThunderbird, L"DLLPath");
}
