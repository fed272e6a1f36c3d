#include "system/child_process.h"

#include "support/build_paths.h"

#include <tlhelp32.h>

#include <vector>

ChildProcess ChildProcess::Start(const std::wstring& program, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    ChildProcess child;
    if (!::CreateProcessW(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &info))
        return child;
    child.m_thread.reset(info.hThread);
    child.m_process.reset(info.hProcess);
    child.m_id = info.dwProcessId;
    return child;
}

bool ChildProcess::WaitForExit(DWORD timeoutMs) const {
    return !m_process || ::WaitForSingleObject(m_process.get(), timeoutMs) == WAIT_OBJECT_0;
}

DWORD ChildProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (m_process)
        ::GetExitCodeProcess(m_process.get(), &code);
    return code;
}

void ChildProcess::Terminate() {
    if (!m_process)
        return;
    if (!WaitForExit(0)) {
        ::TerminateProcess(m_process.get(), 1);
        WaitForExit(5000);
    }
    m_thread.reset();
    m_process.reset();
}

bool ChildProcess::Suspend() const {
    return m_thread && ::SuspendThread(m_thread.get()) != static_cast<DWORD>(-1);
}

bool ChildProcess::Resume() const {
    return m_thread && ::ResumeThread(m_thread.get()) != static_cast<DWORD>(-1);
}

std::wstring ProgramPath() {
    return WindowsPathOfBuildFile(LUMVEX_PROGRAM_PATH);
}

void TerminateProgramsNamed(const std::vector<std::wstring>& fileNames) {
    // Fails with INVALID_HANDLE_VALUE, like CreateFileW.
    fw::FileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more;
         more = ::Process32NextW(snapshot.get(), &entry)) {
        bool listed = false;
        for (const std::wstring& name : fileNames)
            listed = listed || ::lstrcmpiW(entry.szExeFile, name.c_str()) == 0;
        if (!listed || entry.th32ProcessID == ::GetCurrentProcessId())
            continue;
        fw::KernelHandle process(
            ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID));
        if (process) {
            ::TerminateProcess(process.get(), 1);
            ::WaitForSingleObject(process.get(), 5000);
        }
    }
}
