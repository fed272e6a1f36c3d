#include "user_objects.h"

#include <windows.h>

#include <cstdint>

namespace {

// Wine numbers its USER handles from 0x20 in steps of two in the low word;
// the high word is a generation, and zero there stands for any generation.
constexpr std::uintptr_t kFirstUserHandle = 0x0020;
constexpr std::uintptr_t kLastUserHandle = 0xFFEE;

bool IsOwnWindow(HWND window, DWORD self) {
    DWORD owner = 0;
    return ::GetWindowThreadProcessId(window, &owner) != 0 && owner == self;
}

// An icon or cursor of this process; asking for its parts makes copies of
// its bitmaps, deleted again.
bool IsIcon(HICON icon) {
    ICONINFO info{};
    if (!::GetIconInfo(icon, &info))
        return false;
    if (info.hbmMask)
        ::DeleteObject(info.hbmMask);
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    return true;
}

int CountUserHandles() {
    const DWORD self = ::GetCurrentProcessId();
    int count = 0;
    for (std::uintptr_t value = kFirstUserHandle; value <= kLastUserHandle; value += 2) {
        void* handle = reinterpret_cast<void*>(value);
        if (::IsWindow(static_cast<HWND>(handle))) {
            count += IsOwnWindow(static_cast<HWND>(handle), self) ? 1 : 0;
        } else if (::IsMenu(static_cast<HMENU>(handle)) ||
                   ::CopyAcceleratorTableW(static_cast<HACCEL>(handle), nullptr, 0) > 0 ||
                   IsIcon(static_cast<HICON>(handle))) {
            ++count;
        }
    }
    return count;
}

} // namespace

int UserObjectCount() {
    ::SetLastError(ERROR_SUCCESS);
    const DWORD count = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    if (count != 0 || ::GetLastError() != ERROR_CALL_NOT_IMPLEMENTED)
        return static_cast<int>(count);
    return CountUserHandles();
}
