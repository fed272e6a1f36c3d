#include "support/scratch_registry.h"

#include "framework/handles.h"

ScratchRegistry::ScratchRegistry(HKEY root)
    : m_root(root),
      m_path(L"Software\\LumvexTests\\Scratch_" + std::to_wstring(::GetCurrentProcessId()) +
             (root == HKEY_CURRENT_USER ? L"" : L"_machine")) {
    // The scratch key itself lives in the (possibly already redirected) user
    // hive.
    ::RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
    fw::RegKey key;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_ALL_ACCESS, nullptr, key.put(), nullptr) != ERROR_SUCCESS)
        return;
    m_active = ::RegOverridePredefKey(m_root, key.get()) == ERROR_SUCCESS;
}

ScratchRegistry::~ScratchRegistry() {
    if (m_active)
        ::RegOverridePredefKey(m_root, nullptr);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
    ::RegDeleteKeyW(HKEY_CURRENT_USER, m_path.c_str());
    // Fails, as it should, while another test process still has its scratch key.
    ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\LumvexTests");
}
