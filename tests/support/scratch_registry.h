// Points HKEY_CURRENT_USER (or another predefined root, such as
// HKEY_LOCAL_MACHINE) of the test process at a fresh scratch key, so that
// code reading or writing the registry can be tested without touching the
// real one. Undone and removed on destruction; several scratches end in the
// reverse order of their making.
#pragma once

#include <windows.h>

#include <string>

class ScratchRegistry {
public:
    explicit ScratchRegistry(HKEY root = HKEY_CURRENT_USER);
    ~ScratchRegistry();
    ScratchRegistry(const ScratchRegistry&) = delete;
    ScratchRegistry& operator=(const ScratchRegistry&) = delete;

    bool IsActive() const noexcept { return m_active; }

private:
    HKEY m_root;
    std::wstring m_path;
    bool m_active = false;
};
