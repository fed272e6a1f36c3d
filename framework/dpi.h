// Lengths at the DPI a window is shown with. Every pixel length the program
// chooses itself (not one measured from a real window) is written for 96 DPI
// and goes through here.
#pragma once

#include <windows.h>

namespace fw {

constexpr UINT kDefaultDpi = USER_DEFAULT_SCREEN_DPI; // 96: "100 %"

// A length written for 96 DPI, at dpi; rounded to the nearest pixel, halves
// away from zero, so that a length and its negation stay symmetric.
int Scale(int length, UINT dpi) noexcept;
// The inverse: a length measured at dpi, at 96 DPI.
int Unscale(int length, UINT dpi) noexcept;
POINT Scale(POINT point, UINT dpi) noexcept;
POINT Unscale(POINT point, UINT dpi) noexcept;
// Each edge on its own, so that rectangles laid edge to edge stay so.
RECT Scale(const RECT& rect, UINT dpi) noexcept;
RECT Unscale(const RECT& rect, UINT dpi) noexcept;

// The DPI a window is shown with: GetDpiForWindow where the system has it
// (Windows 10 1607 and later), otherwise the screen's logical DPI. Never 0.
UINT DpiOf(HWND window) noexcept;

// WM_DPICHANGED: the window moves to the rectangle the system suggests
// (lParam); its WM_SIZE then lays it out again. Answers the new DPI.
UINT OnDpiChanged(HWND window, WPARAM wParam, LPARAM lParam) noexcept;

} // namespace fw
