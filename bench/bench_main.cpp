// Prints performance figures, one per line, as "<size> <name> <value>" with
// values in milliseconds or MB.
// With an argument ("canvas", "memory", "upload" or "soak") only that group
// runs. The soak (soak_bench.h), minutes long, runs only when asked for.
#include <cstdio>
#include <cstring>

#include <windows.h>
#include <psapi.h>

#include "bench/canvas_bench.h"
#include "bench/memory_bench.h"
#include "bench/soak_bench.h"
#include "bench/upload_bench.h"

int main(int argc, char** argv) {
    auto wanted = [&](const char* group) { return argc < 2 || std::strcmp(argv[1], group) == 0; };
    if (wanted("canvas")) {
        RunCanvasBench(1920, 1080, stdout);
        RunCanvasBench(3840, 2160, stdout);
    }
    if (wanted("memory"))
        RunMemoryBench(stdout);
    if (wanted("upload"))
        RunUploadBench(stdout);
    if (argc >= 2 && std::strcmp(argv[1], "soak") == 0)
        RunSoakBench(stdout);

    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    if (::GetProcessMemoryInfo(::GetCurrentProcess(), &memory, sizeof(memory)))
        std::printf("bench peak-working-set %zu\n", memory.PeakWorkingSetSize / (1024 * 1024));
    return 0;
}
