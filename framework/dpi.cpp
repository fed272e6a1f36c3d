#include "framework/dpi.h"

namespace fw {

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

GetDpiForWindowFn DpiForWindowFunction() noexcept {
    // Looked up once: older systems lack it, and the program must still start.
    // https://learn.microsoft.com/en-us/windows/win32/api/winuser/nf-winuser-getdpiforwindow
    static const GetDpiForWindowFn function = [] {
        HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
        return user32 ? reinterpret_cast<GetDpiForWindowFn>(
                            reinterpret_cast<void*>(::GetProcAddress(user32, "GetDpiForWindow")))
                      : nullptr;
    }();
    return function;
}

} // namespace

UINT DpiOf(HWND window) noexcept {
    if (window) {
        if (GetDpiForWindowFn function = DpiForWindowFunction()) {
            if (const UINT dpi = function(window); dpi != 0)
                return dpi;
        }
    }
    UINT dpi = 0;
    if (HDC screen = ::GetDC(nullptr)) {
        dpi = static_cast<UINT>(::GetDeviceCaps(screen, LOGPIXELSX));
        ::ReleaseDC(nullptr, screen);
    }
    return dpi != 0 ? dpi : kDefaultDpi;
}

UINT OnDpiChanged(HWND window, WPARAM wParam, LPARAM lParam) noexcept {
    if (const auto* suggested = reinterpret_cast<const RECT*>(lParam)) {
        ::SetWindowPos(window, nullptr, suggested->left, suggested->top,
                       suggested->right - suggested->left, suggested->bottom - suggested->top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const UINT dpi = HIWORD(wParam);
    return dpi != 0 ? dpi : DpiOf(window);
}

} // namespace fw
