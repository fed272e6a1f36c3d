// The DPI a window is shown with, and following it when it changes. The
// scaling itself is framework/dpi_scale.h.
#pragma once

#include "framework/dpi_scale.h"

#include <windows.h>

namespace fw {

// The DPI a window is shown with: GetDpiForWindow where the system has it
// (Windows 10 1607 and later), otherwise the screen's logical DPI. Never 0.
UINT DpiOf(HWND window) noexcept;

// WM_DPICHANGED: the window moves to the rectangle the system suggests
// (lParam); its WM_SIZE then lays it out again. Answers the new DPI.
UINT OnDpiChanged(HWND window, WPARAM wParam, LPARAM lParam) noexcept;

} // namespace fw
