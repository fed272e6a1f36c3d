#pragma once

// Colour palette panel
#define IDD_COLORS 154        // CDlgColors, child of the main window's palette placeholder
#define IDB_COLORS_PANEL 195  // palette background, "Color" heading
#define IDC_CURRENT_COLOR 1026 // box showing the current colour
#define IDC_SWATCH_R1C1 1035   // RGB(255, 0, 10), the initial colour
#define IDC_SWATCH_R1C2 1036   // RGB(153, 0, 47)
#define IDC_SWATCH_R1C3 1037   // RGB(255, 126, 0)
#define IDC_SWATCH_R1C5 1038   // RGB(255, 242, 0)
#define IDC_SWATCH_R1C6 1039   // RGB(0, 0, 0)
#define IDC_SWATCH_R2C1 1040   // RGB(168, 231, 29)
#define IDC_SWATCH_R2C2 1041   // RGB(9, 120, 0)
#define IDC_SWATCH_R2C3 1042   // RGB(0, 183, 240)
#define IDC_SWATCH_R2C4 1043   // RGB(0, 32, 234)
#define IDC_SWATCH_R2C5 1044   // RGB(46, 54, 153)
#define IDC_SWATCH_R2C6 1045   // RGB(255, 255, 255)
#define IDC_SWATCH_R1C4 1046   // RGB(255, 194, 14)
