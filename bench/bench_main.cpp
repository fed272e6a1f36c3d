// Prints performance figures, one per line, as "<what> <value> <unit>".
#include <cstdio>

#include <windows.h>
#include <psapi.h>

#include "bench/canvas_bench.h"

int main() {
    RunCanvasBench(1920, 1080, stdout);
    RunCanvasBench(3840, 2160, stdout);

    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    if (::GetProcessMemoryInfo(::GetCurrentProcess(), &memory, sizeof(memory)))
        std::printf("peak-working-set %zu MB\n", memory.PeakWorkingSetSize / (1024 * 1024));
    return 0;
}
