#include "support/main_window_layout.h"

#include "support/lumvex_dlg_test_driver.h"
#include "support/test_window.h"

#include "app/window_geometry.h"
#include "framework/dpi.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <string>

MainLayoutInput MeasureMainLayoutInput(HWND window, UINT dpi, UINT pictureDpi) {
    return CLumvexDlgTestDriver::MeasureLayoutInput(window, dpi, pictureDpi);
}

UINT ColumnPictureDpi(HWND window) {
    const RECT tools = RectIn(window, ::GetDlgItem(window, IDC_TOOLS_PICTURE));
    const RECT button = RectIn(window, ::GetDlgItem(window, IDC_TOOL_POINTER));
    for (UINT dpi = 192; dpi >= kSmallestColumnPictureDpi; dpi -= kColumnPictureDpiStep) {
        if (fw::Scale(177, dpi) == tools.right - tools.left &&
            fw::Scale(62, dpi) == button.right - button.left)
            return dpi;
    }
    return 0;
}

void ExpectControlsOnLayout(HWND window, const MainLayout& expected, const RECT& column,
                            const RECT& status, const RECT& surface, const std::string& where) {
    for (const MainControlRow& row : CLumvexDlgTestDriver::Controls()) {
        if (!row.slot)
            continue;
        // The frame as the caller worked it out.
        const RECT computed = ToRECT(expected.*row.slot);
        const RECT* rect = &computed;
        if (row.slot == &MainLayout::column)
            rect = &column;
        else if (row.slot == &MainLayout::status)
            rect = &status;
        else if (row.slot == &MainLayout::surface)
            rect = &surface;
        const int id = row.id;
        const RECT got = RectIn(window, ::GetDlgItem(window, id));
        EXPECT_TRUE(::EqualRect(&got, rect)) << "control " << id << " " << where << ": "
                                             << Describe(got) << " instead of " << Describe(*rect);
    }
}
