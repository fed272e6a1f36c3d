// A program started by a test. Whatever still runs when the object dies is
// terminated, so a failing test leaves no process behind.
#pragma once

#include "framework/handles.h"

#include <windows.h>

#include <string>
#include <vector>

class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess() { Terminate(); }
    ChildProcess(ChildProcess&&) = default;
    ChildProcess& operator=(ChildProcess&&) = default;

    // Starts program with arguments; check with IsStarted.
    static ChildProcess Start(const std::wstring& program, const std::wstring& arguments);

    bool IsStarted() const noexcept { return static_cast<bool>(m_process); }
    DWORD Id() const noexcept { return m_id; }
    HANDLE Handle() const noexcept { return m_process.get(); }

    // True once the process has ended, false when it still runs after timeout.
    bool WaitForExit(DWORD timeoutMs) const;
    bool IsRunning() const { return !WaitForExit(0); }
    // STILL_ACTIVE while it runs.
    DWORD ExitCode() const;
    void Terminate();
    // Holds and releases the process's first thread, the one that runs a
    // program's message loop.
    bool Suspend() const;
    bool Resume() const;

private:
    fw::KernelHandle m_process;
    fw::KernelHandle m_thread;
    DWORD m_id = 0;
};

// The full path of the program under test, as Windows names it.
std::wstring ProgramPath();

// Ends every process whose program file has one of these names: leftovers of
// an earlier test that could not clean up (a message box still holding the
// single-instance lock, say). Only for names that no other program uses.
void TerminateProgramsNamed(const std::vector<std::wstring>& fileNames);
