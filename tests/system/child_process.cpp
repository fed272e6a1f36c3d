#include "system/child_process.h"

#include "framework/text.h"

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
    const char* path = LUMVEX_PROGRAM_PATH;
    // Under Wine the build hands us a Unix path; Wine's kernel32 translates it.
    using ToDosName = wchar_t*(CDECL*)(const char*);
    const auto translate = reinterpret_cast<ToDosName>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    if (path[0] == '/' && translate) {
        if (wchar_t* dosName = translate(path)) {
            std::wstring result(dosName);
            ::HeapFree(::GetProcessHeap(), 0, dosName);
            return result;
        }
    }
    return fw::FromUtf8(path);
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
