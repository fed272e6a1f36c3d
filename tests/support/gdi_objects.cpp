#include "gdi_objects.h"

#include <windows.h>
#include <winternl.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

// One entry of the GDI handle table the PEB points to (24 bytes on x64 on
// Windows and Wine alike): the owner's process id at byte 8, the object type
// at byte 14, zero type meaning a free entry.
struct GdiHandleEntry {
    std::uint64_t object;
    std::uint16_t processId;
    std::uint16_t count;
    std::uint16_t unique;
    std::uint8_t type;
    std::uint8_t flags;
    std::uint64_t user;
};
static_assert(sizeof(GdiHandleEntry) == 24);

constexpr std::size_t kPebGdiHandleTableOffset = 0xF8; // x64 PEB
constexpr int kGdiHandleTableSize = 0x10000;

// The process environment block, found through ntdll at run time.
const std::byte* ProcessEnvironmentBlock() {
    using QueryProcess = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<QueryProcess>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION info{};
    if (!query ||
        query(::GetCurrentProcess(), ProcessBasicInformation, &info, sizeof(info), nullptr) != 0)
        return nullptr;
    return reinterpret_cast<const std::byte*>(info.PebBaseAddress);
}

int CountHandleTableEntries() {
    const std::byte* peb = ProcessEnvironmentBlock();
    if (!peb)
        return -1;
    const auto* table =
        *reinterpret_cast<const GdiHandleEntry* const*>(peb + kPebGdiHandleTableOffset);
    if (!table)
        return -1;
    // Wine keeps one table per process and leaves the owner at zero.
    const auto self = static_cast<std::uint16_t>(::GetCurrentProcessId());
    int count = 0;
    for (int i = 0; i < kGdiHandleTableSize; ++i) {
        if (table[i].type != 0 && (table[i].processId == self || table[i].processId == 0))
            ++count;
    }
    return count;
}

} // namespace

int GdiObjectCount() {
    ::SetLastError(ERROR_SUCCESS);
    const DWORD count = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    if (count != 0 || ::GetLastError() != ERROR_CALL_NOT_IMPLEMENTED)
        return static_cast<int>(count);
    return CountHandleTableEntries();
}

void FillWindowDcCache() {
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 8, 8, nullptr, nullptr,
                                    nullptr, nullptr);
    std::vector<HDC> dcs;
    for (int i = 0; i < 64; ++i)
        dcs.push_back(::GetDC(window));
    for (HDC dc : dcs)
        ::ReleaseDC(window, dc);
    ::DestroyWindow(window);
}

std::string GdiGrowth::Describe() const {
    return "GDI objects after the warm-up and two spans of " + std::to_string(span) +
           " rounds: " + std::to_string(warm) + ", " + std::to_string(middle) + ", " +
           std::to_string(last);
}

GdiGrowth MeasureGdiGrowth(const std::function<void()>& round, int warmUp, int span,
                           const std::function<void()>& settle) {
    FillWindowDcCache();
    auto countAfter = [&](int rounds) {
        for (int i = 0; i < rounds; ++i)
            round();
        settle();
        return GdiObjectCount();
    };
    GdiGrowth growth;
    growth.span = span;
    growth.warm = countAfter(warmUp);
    growth.middle = countAfter(span);
    growth.last = countAfter(span);
    return growth;
}
