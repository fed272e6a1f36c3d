// Finding another process's top-level windows, hidden ones included.
#pragma once

#include "controls/window_text.h"

#include <windows.h>

#include <string>

// A top-level window of processId with exactly this caption and, when
// className is not null, this class; null when there is none.
HWND FindTopWindow(DWORD processId, const wchar_t* className, const wchar_t* caption);
// Polls FindTopWindow until timeoutMs have passed.
HWND WaitForTopWindow(DWORD processId, const wchar_t* className, const wchar_t* caption,
                      DWORD timeoutMs);

// The same among shown windows only.
HWND WaitForShownTopWindow(DWORD processId, const wchar_t* className, const wchar_t* caption,
                           DWORD timeoutMs);
