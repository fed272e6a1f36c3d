// Points HKEY_CURRENT_USER of the test process at a fresh scratch key, so
// that code writing the per-user profile can be tested without touching the
// real one. Undone and removed on destruction.
#pragma once

#include <string>

class ScratchRegistry {
public:
    ScratchRegistry();
    ~ScratchRegistry();
    ScratchRegistry(const ScratchRegistry&) = delete;
    ScratchRegistry& operator=(const ScratchRegistry&) = delete;

    bool IsActive() const noexcept { return m_active; }

private:
    std::wstring m_path;
    bool m_active = false;
};
