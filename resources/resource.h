#pragma once

// Dialog templates
#define IDD_MAIN 102

// Controls of the main window
#define IDC_DRAWING_SURFACE 1034

// Private window messages (WM_USER + n)
#define WM_EXIT_APP 0x0464
