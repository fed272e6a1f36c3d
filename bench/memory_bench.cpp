#include "bench/memory_bench.h"

#include <string>
#include <vector>

#include <windows.h>
#include <psapi.h>

#include "framework/handles.h"
#include "resource.h"

namespace {

constexpr wchar_t kMainCaption[] = L"Tessaly Quillon ";
constexpr wchar_t kBareClass[] = L"LumvexBareWindow";
constexpr DWORD kStartTimeoutMs = 20000;
// Start-up work (lazy loading, caches) has settled by then.
constexpr DWORD kSettleMs = 3000;

std::wstring BesideBench(const wchar_t* name) {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.erase(folder.find_last_of(L'\\') + 1);
    return folder + name;
}

struct Process {
    fw::KernelHandle process;
    fw::KernelHandle thread;
};

Process Start(const std::wstring& program) {
    std::wstring commandLine = L"\"" + program + L"\"";
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    Process started;
    if (::CreateProcessW(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                         nullptr, &startup, &info)) {
        started.process.reset(info.hProcess);
        started.thread.reset(info.hThread);
    }
    return started;
}

HWND WaitForWindow(const wchar_t* windowClass, const wchar_t* caption) {
    for (DWORD waited = 0; waited < kStartTimeoutMs; waited += 50) {
        if (HWND window = ::FindWindowW(windowClass, caption))
            return window;
        ::Sleep(50);
    }
    return nullptr;
}

double WorkingSetMb(HANDLE process) {
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    if (!::GetProcessMemoryInfo(process, &memory, sizeof(memory)))
        return 0.0;
    return static_cast<double>(memory.WorkingSetSize) / (1024.0 * 1024.0);
}

void End(Process& program, HWND window, UINT message) {
    ::PostMessageW(window, message, 0, 0);
    if (::WaitForSingleObject(program.process.get(), 10000) != WAIT_OBJECT_0)
        ::TerminateProcess(program.process.get(), 1);
}

} // namespace

void RunMemoryBench(std::FILE* out) {
    char size[32] = {};
    std::snprintf(size, sizeof(size), "%dx%d", ::GetSystemMetrics(SM_CXSCREEN),
                  ::GetSystemMetrics(SM_CYSCREEN));

    Process bare = Start(BesideBench(L"lumvex_bare_window.exe"));
    HWND bareWindow = bare.process ? WaitForWindow(kBareClass, nullptr) : nullptr;
    if (!bareWindow) {
        std::fprintf(out, "%s bare-window-working-set missing: the program did not start\n", size);
    } else {
        ::Sleep(kSettleMs);
        std::fprintf(out, "%s bare-window-working-set %.1f\n", size,
                     WorkingSetMb(bare.process.get()));
        End(bare, bareWindow, WM_CLOSE);
    }
    std::fflush(out);

    if (::FindWindowW(nullptr, kMainCaption)) {
        std::fprintf(out, "%s idle-working-set missing: the program already runs\n", size);
        return;
    }
    Process lumvex = Start(BesideBench(L"lumvex.exe"));
    HWND main = lumvex.process ? WaitForWindow(nullptr, kMainCaption) : nullptr;
    if (!main) {
        std::fprintf(out, "%s idle-working-set missing: the program did not start\n", size);
        return;
    }
    ::Sleep(kSettleMs);
    std::fprintf(out, "%s idle-working-set %.1f\n", size, WorkingSetMb(lumvex.process.get()));
    std::fflush(out);

    // A click on the tray icon: the screen is captured and shown.
    ::PostMessageW(main, WM_TRAY_NOTIFY, 0, WM_LBUTTONDOWN);
    for (DWORD waited = 0; waited < kStartTimeoutMs && !::IsWindowVisible(main); waited += 50)
        ::Sleep(50);
    ::Sleep(kSettleMs);
    std::fprintf(out, "%s capture-working-set %.1f\n", size, WorkingSetMb(lumvex.process.get()));
    std::fflush(out);
    End(lumvex, main, WM_EXIT_APP);
}
