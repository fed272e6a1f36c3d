#include "support/scratch_registry.h"

#include "framework/handles.h"

#include <windows.h>

ScratchRegistry::ScratchRegistry()
    : m_path(L"Software\\LumvexTests\\Scratch_" + std::to_wstring(::GetCurrentProcessId())) {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
    fw::RegKey key;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_ALL_ACCESS, nullptr, key.put(), nullptr) != ERROR_SUCCESS)
        return;
    m_active = ::RegOverridePredefKey(HKEY_CURRENT_USER, key.get()) == ERROR_SUCCESS;
}

ScratchRegistry::~ScratchRegistry() {
    if (m_active)
        ::RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
    ::RegDeleteKeyW(HKEY_CURRENT_USER, m_path.c_str());
    // Fails, as it should, while another test process still has its scratch key.
    ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\LumvexTests");
}
