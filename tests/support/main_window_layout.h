// The main window's layout as a test sees it: what the layout is computed
// from, measured on the real window (of this process or another), and the
// check that each control stands on its computed rectangle.
#pragma once

#include "app/main_layout.h"

#include <windows.h>

#include <string>

// The controls' sizes as they are now, the client area, the screen, and the
// DPIs given.
MainLayoutInput MeasureMainLayoutInput(HWND window, UINT dpi = 96, UINT pictureDpi = 96);

// Every control the layout places (the frame given separately) stands on its
// rectangle; `where` names the case in the messages.
void ExpectControlsOnLayout(HWND window, const MainLayout& expected, const RECT& column,
                            const RECT& status, const RECT& surface, const std::string& where);
