#include "controls/transparent_btn.h"

#include "support/test_window.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kPicture = RGB(0, 128, 128);

COLORREF PixelAt(HWND window, int x, int y) {
    const POINT point = ClientToScreenPoint(window, x, y);
    return ScreenShot(RECT{point.x, point.y, point.x + 1, point.y + 1}).At(0, 0);
}

} // namespace

TEST(TransparentBtn, RadioButtonOnAPictureShowsThePictureBehindItsCaption) {
    MouseMoveTo({60, 900});
    TestHost host(RECT{200, 200, 500, 360}, RGB(200, 200, 200));
    // Created first, the picture is above the radio buttons in the z-order,
    // as in a dialog whose template lists it first: it paints first and the
    // buttons paint over it.
    fw::GdiBitmap picture = MakeBitmap(280, 140, [](int, int) { return kPicture; });
    HWND pictureStatic = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_BITMAP, 10,
                                         10, 280, 140, host.Hwnd(), nullptr, nullptr, nullptr);
    ASSERT_TRUE(pictureStatic);
    SendMessageW(pictureStatic, STM_SETIMAGE, IMAGE_BITMAP,
                 reinterpret_cast<LPARAM>(picture.get()));

    CTransparentBtn transparent;
    ASSERT_TRUE(transparent.Create(L"BUTTON", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON, 0,
                                   RECT{30, 30, 230, 50}, host.Hwnd(), 1022, L"Create TQ"));
    HWND plain = CreateWindowExW(0, L"BUTTON", L"Add to existing TQ",
                                 WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON, 30, 80, 200, 20,
                                 host.Hwnd(), nullptr, nullptr, nullptr);
    RedrawWindow(host.Hwnd(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages(150);

    // Right of the caption, inside the button: the picture, not a fill.
    EXPECT_EQ(PixelAt(transparent.Hwnd(), 190, 10), kPicture);
    EXPECT_NE(PixelAt(plain, 190, 10), kPicture) << "the check proves nothing";

    // Checking the radio button repaints it without a fill as well.
    SendMessageW(transparent.Hwnd(), BM_SETCHECK, BST_CHECKED, 0);
    PumpMessages(100);
    EXPECT_EQ(PixelAt(transparent.Hwnd(), 190, 10), kPicture);
    fw::WindowDc dc(transparent.Hwnd());
    EXPECT_EQ(
        SendMessageW(transparent.Hwnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.get()), 0),
        TRUE);
}
