#include "support/main_window_layout.h"

#include "support/test_window.h"

#include "common/pictures.h"
#include "framework/picture.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

MainLayoutInput MeasureMainLayoutInput(HWND window, UINT dpi, UINT pictureDpi) {
    auto size = [window](int id) {
        const RECT r = RectIn(window, ::GetDlgItem(window, id));
        return Size{r.right - r.left, r.bottom - r.top};
    };
    RECT client{};
    ::GetClientRect(window, &client);
    MainLayoutInput in;
    in.client = {client.right, client.bottom};
    in.dpi = dpi;
    in.pictureDpi = pictureDpi;
    // The logo as drawn at that scale: the window may show it smaller.
    const SIZE logo = fw::BitmapSize(LoadPicture(IDB_LOGO, pictureDpi).get());
    in.logo = {logo.cx, logo.cy};
    in.toolsPicture = size(IDC_TOOLS_PICTURE);
    in.toolButton = size(IDC_TOOL_POINTER);
    in.undoRedoButton = size(IDC_UNDO);
    in.palette = size(IDC_PALETTE_HOST);
    in.actualSizeButton = size(IDC_ZOOM_ACTUAL);
    in.fitButton = size(IDC_ZOOM_FIT);
    in.submitPanel = size(IDC_SUBMIT_HOST);
    in.horzScrollHeight = size(IDC_HSCROLL).cy;
    in.vertScrollWidth = size(IDC_VSCROLL).cx;
    in.columnScrollWidth = in.vertScrollWidth;
    return in;
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
    const std::pair<int, const RECT*> placed[] = {
        {IDC_TOOL_COLUMN, &column},
        {IDC_STATUS_HOST, &status},
        {IDC_DRAWING_SURFACE, &surface},
        {IDC_HSCROLL, &expected.horzScroll},
        {IDC_VSCROLL, &expected.vertScroll},
        {IDC_LOGO, &expected.logo},
        {IDC_TOOLS_PICTURE, &expected.toolsPicture},
        {IDC_TOOL_POINTER, &expected.pointer},
        {IDC_TOOL_HIGHLIGHT, &expected.highlight},
        {IDC_TOOL_TEXT, &expected.text},
        {IDC_TOOL_ARROW, &expected.arrow},
        {IDC_TOOL_CROP, &expected.crop},
        {IDC_TOOL_PEN, &expected.pen},
        {IDC_UNDO, &expected.undo},
        {IDC_REDO, &expected.redo},
        {IDC_PALETTE_HOST, &expected.palette},
        {IDC_ZOOM_ACTUAL, &expected.actualSize},
        {IDC_ZOOM_FIT, &expected.fit},
        {IDC_SUBMIT_HOST, &expected.submit},
    };
    for (const auto& [id, rect] : placed) {
        const RECT got = RectIn(window, ::GetDlgItem(window, id));
        EXPECT_TRUE(::EqualRect(&got, rect)) << "control " << id << " " << where << ": "
                                             << Describe(got) << " instead of " << Describe(*rect);
    }
}
