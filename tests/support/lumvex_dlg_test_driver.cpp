#include "support/lumvex_dlg_test_driver.h"

#include "common/pictures.h"

MainLayoutInput CLumvexDlgTestDriver::MeasureLayoutInput(HWND window, UINT dpi, UINT pictureDpi) {
    PictureCache pictures;
    return CLumvexDlg::MeasureLayoutInput(window, dpi, pictureDpi, pictures);
}
