// Prints performance figures, one per line, as "<what> <value> <unit>".
// With an argument ("canvas" or "upload") only that group runs.
#include <cstdio>
#include <cstring>

#include <windows.h>
#include <psapi.h>

#include "bench/canvas_bench.h"
#include "bench/upload_bench.h"

int main(int argc, char** argv) {
    auto wanted = [&](const char* group) { return argc < 2 || std::strcmp(argv[1], group) == 0; };
    if (wanted("canvas")) {
        RunCanvasBench(1920, 1080, stdout);
        RunCanvasBench(3840, 2160, stdout);
    }
    if (wanted("upload"))
        RunUploadBench(stdout);

    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    if (::GetProcessMemoryInfo(::GetCurrentProcess(), &memory, sizeof(memory)))
        std::printf("peak-working-set %zu MB\n", memory.PeakWorkingSetSize / (1024 * 1024));
    return 0;
}
