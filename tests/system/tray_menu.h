// The real program's notification icon and its menu, used with the mouse
// and keyboard as a person would.
#pragma once

#include <windows.h>

// Where to click our icon: without a notification area on the X display,
// Wine shows the icons in a small window of its own, and a click there
// reaches the program exactly as a click in the taskbar does. {-1, -1} when
// the icon is not shown.
POINT OurTrayIcon();

// A shown pop-up menu of any process, or null.
HWND VisibleMenu();

// Opens the icon's menu with a right click and picks the entry that many
// places above the last ("Exit" is 0) with the arrow keys and Enter. False
// when the menu did not open.
bool ChooseFromTrayMenu(int placesAboveLast, DWORD timeoutMs);
