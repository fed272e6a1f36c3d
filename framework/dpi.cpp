#include "framework/dpi.h"

namespace fw {

namespace {

int MulDivRounded(int value, UINT numerator, UINT denominator) noexcept {
    if (denominator == 0)
        return value;
    // 64-bit: a screen coordinate times a DPI fits easily.
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    const long long rounded =
        product >= 0 ? (product + half) / denominator : -((-product + half) / denominator);
    return static_cast<int>(rounded);
}

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

int Scale(int length, UINT dpi) noexcept {
    return MulDivRounded(length, dpi, kDefaultDpi);
}

int Unscale(int length, UINT dpi) noexcept {
    return MulDivRounded(length, kDefaultDpi, dpi);
}

POINT Scale(POINT point, UINT dpi) noexcept {
    return POINT{Scale(point.x, dpi), Scale(point.y, dpi)};
}

POINT Unscale(POINT point, UINT dpi) noexcept {
    return POINT{Unscale(point.x, dpi), Unscale(point.y, dpi)};
}

RECT Scale(const RECT& rect, UINT dpi) noexcept {
    return RECT{Scale(rect.left, dpi), Scale(rect.top, dpi), Scale(rect.right, dpi),
                Scale(rect.bottom, dpi)};
}

RECT Unscale(const RECT& rect, UINT dpi) noexcept {
    return RECT{Unscale(rect.left, dpi), Unscale(rect.top, dpi), Unscale(rect.right, dpi),
                Unscale(rect.bottom, dpi)};
}

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
