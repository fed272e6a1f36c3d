// Shared by the owner-drawn buttons.
#pragma once

#include <windows.h>

// Switches a bound push button to owner-draw, so that its parent's reflected
// WM_DRAWITEM reaches the control object. True when the style changed.
bool MakeOwnerDrawn(HWND button);
