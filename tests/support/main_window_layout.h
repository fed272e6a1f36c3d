// The main window's layout as a test sees it: what the layout is computed
// from, measured on the real window (of this process or another), and the
// check that each control stands on its computed rectangle.
#pragma once

#include "app/main_layout.h"

#include <windows.h>

#include <string>

// What the layout is computed from, measured as the window itself measures
// it (the controls' sizes as they are now, the logo's as drawn, the client
// area), at the DPIs given.
MainLayoutInput MeasureMainLayoutInput(HWND window, UINT dpi = 96, UINT pictureDpi = 96);

// The one scale the column's pictures are shown at, read off the tools
// picture and a tool button (177 and 62 pixels wide at 96 DPI); 0 when the
// two disagree.
UINT ColumnPictureDpi(HWND window);

// Every control the layout places (the frame given separately) stands on its
// rectangle; `where` names the case in the messages.
void ExpectControlsOnLayout(HWND window, const MainLayout& expected, const RECT& column,
                            const RECT& status, const RECT& surface, const std::string& where);
