#include "system/tray_menu.h"

#include "support/test_window.h"

#include <string>

POINT OurTrayIcon() {
    HWND tray = ::FindWindowW(L"__winex11_standalone_tray", nullptr);
    if (!tray || !::IsWindowVisible(tray))
        return {-1, -1};
    // Ours is the only icon, in the first cell.
    return ClientToScreenPoint(tray, ::GetSystemMetrics(SM_CXSMICON) / 2 + 2,
                               ::GetSystemMetrics(SM_CYSMICON) / 2 + 2);
}

HWND VisibleMenu() {
    HWND found = nullptr;
    ::EnumWindows(
        [](HWND window, LPARAM data) {
            wchar_t name[16]{};
            ::GetClassNameW(window, name, 16);
            if (std::wstring(name) != L"#32768" || !::IsWindowVisible(window))
                return TRUE;
            *reinterpret_cast<HWND*>(data) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

bool ChooseFromTrayMenu(int placesAboveLast, DWORD timeoutMs) {
    MouseMoveTo(OurTrayIcon());
    INPUT right[2]{};
    right[0].type = right[1].type = INPUT_MOUSE;
    right[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    right[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    ::SendInput(2, right, sizeof(INPUT));
    if (!PumpUntil([] { return VisibleMenu() != nullptr; }, timeoutMs))
        return false;
    // Up from nothing selected lands on the last entry; separators are
    // skipped.
    for (int i = 0; i <= placesAboveLast; ++i)
        PressKeys({VK_UP});
    PressKeys({VK_RETURN});
    return true;
}
