#include "bench/memory_bench.h"

#include <cstdio>

#include <windows.h>
#include <psapi.h>

#include "resource.h"
#include "support/build_paths.h"
#include "system/child_process.h"

namespace {

constexpr wchar_t kMainCaption[] = L"Tessaly Quillon ";
constexpr wchar_t kBareClass[] = L"LumvexBareWindow";
constexpr DWORD kStartTimeoutMs = 20000;
// Start-up work (lazy loading, caches) has settled by then.
constexpr DWORD kSettleMs = 3000;

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

void End(ChildProcess& program, HWND window, UINT message) {
    ::PostMessageW(window, message, 0, 0);
    if (!program.WaitForExit(10000))
        program.Terminate();
}

} // namespace

void RunMemoryBench(std::FILE* out) {
    char size[32] = {};
    std::snprintf(size, sizeof(size), "%dx%d", ::GetSystemMetrics(SM_CXSCREEN),
                  ::GetSystemMetrics(SM_CYSCREEN));

    ChildProcess bare = ChildProcess::Start(WindowsPathOfBuildFile(LUMVEX_BARE_WINDOW_PATH), L"");
    HWND bareWindow = bare.IsStarted() ? WaitForWindow(kBareClass, nullptr) : nullptr;
    if (!bareWindow) {
        std::fprintf(out, "%s bare-window-working-set missing: the program did not start\n", size);
    } else {
        ::Sleep(kSettleMs);
        std::fprintf(out, "%s bare-window-working-set %.1f\n", size, WorkingSetMb(bare.Handle()));
        End(bare, bareWindow, WM_CLOSE);
    }
    std::fflush(out);

    if (::FindWindowW(nullptr, kMainCaption)) {
        std::fprintf(out, "%s idle-working-set missing: the program already runs\n", size);
        return;
    }
    ChildProcess lumvex = ChildProcess::Start(ProgramPath(), L"");
    HWND main = lumvex.IsStarted() ? WaitForWindow(nullptr, kMainCaption) : nullptr;
    if (!main) {
        std::fprintf(out, "%s idle-working-set missing: the program did not start\n", size);
        return;
    }
    ::Sleep(kSettleMs);
    std::fprintf(out, "%s idle-working-set %.1f\n", size, WorkingSetMb(lumvex.Handle()));
    std::fflush(out);

    // A click on the tray icon: the screen is captured and shown.
    ::PostMessageW(main, WM_TRAY_NOTIFY, 0, WM_LBUTTONDOWN);
    for (DWORD waited = 0; waited < kStartTimeoutMs && !::IsWindowVisible(main); waited += 50)
        ::Sleep(50);
    ::Sleep(kSettleMs);
    std::fprintf(out, "%s capture-working-set %.1f\n", size, WorkingSetMb(lumvex.Handle()));
    std::fflush(out);
    End(lumvex, main, WM_EXIT_APP);
}
