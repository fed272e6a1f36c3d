// An application that knows whether another instance of it already runs in
// this session.
#pragma once

#include "framework/application.h"
#include "framework/handles.h"

#include <string>

class COneInstanceApp : public fw::Application {
public:
    // The lock is the named mutex instanceName + "_Mutex_Object".
    explicit COneInstanceApp(std::wstring instanceName);

    // TRUE for the first instance, FALSE when another instance holds the
    // lock. When the mutex cannot be created at all the answer is TRUE: one
    // run without the guarantee beats a program that never starts.
    BOOL InitInstance() override;
    // Releases the lock, then the framework's exit processing.
    int ExitInstance() override;

    const std::wstring& MutexName() const noexcept { return m_mutexName; }

private:
    std::wstring m_mutexName;
    // Held open for the whole run, only to make the name exist.
    fw::KernelHandle m_mutex;
};
