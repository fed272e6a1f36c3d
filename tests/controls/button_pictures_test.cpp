// Draws the buttons in each state side by side and, when LUMVEX_PICTURES
// names a folder, saves the picture there for a person to look at.
#include "button_test_drivers.h"

#include "support/test_window.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A rounded blue card with a lighter top half; magenta outside the corners.
ButtonBitmaps RoundedPictures(int width, int height, COLORREF top, COLORREF bottom) {
    auto inside = [=](int x, int y) {
        const int radius = 8;
        const int cx = x < radius ? radius : x >= width - radius ? width - radius - 1 : x;
        const int cy = y < radius ? radius : y >= height - radius ? height - radius - 1 : y;
        return std::hypot(x - cx, y - cy) <= radius;
    };
    ButtonBitmaps pictures;
    pictures.normal =
        MakeBitmap(width, height, [=](int, int y) { return y < height / 2 ? top : bottom; });
    pictures.pressed =
        MakeBitmap(width, height, [=](int, int y) { return y < height / 2 ? bottom : top; });
    pictures.hover = MakeBitmap(width, height, [=](int, int) { return top; });
    pictures.mask = MakeBitmap(width, height, [=](int x, int y) -> COLORREF {
        return inside(x, y) ? RGB(0, 0, 0) : RGB(255, 0, 255);
    });
    return pictures;
}

} // namespace

TEST(ButtonPictures, NormalHoverPushedAndDisabledWithCaptions) {
    MouseMoveTo({60, 900});
    TestHost host(RECT{100, 100, 620, 260}, RGB(230, 236, 244));
    const wchar_t* captions[] = {L"Submit", L"Hover", L"Pushed", L"Disabled",
                                 L"Send the screenshot by e-mail"};
    CButtonRgn buttons[5];
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(buttons[i].Create(L"BUTTON", WS_CHILD | WS_VISIBLE, 0,
                                      RECT{10 + i * 100, 20, 100 + i * 100, 50}, host.Hwnd(),
                                      1500 + i, captions[i]));
        buttons[i].SetBitmaps(RoundedPictures(90, 32, RGB(70, 140, 230), RGB(30, 90, 190)));
        buttons[i].SetCaptionColor(RGB(255, 255, 255));
    }
    EnableWindow(buttons[3].Hwnd(), FALSE);
    SendMessageW(buttons[2].Hwnd(), BM_SETSTATE, TRUE, 0);
    MouseMoveTo(ScreenCentre(buttons[1].Hwnd()));
    EXPECT_TRUE(PumpUntil([&] { return CButtonRgnTestDriver::IsHovering(buttons[1]); }));

    BitmapButton plain;
    ASSERT_TRUE(plain.Create(L"BUTTON", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 0,
                             RECT{10, 80, 160, 110}, host.Hwnd(), 1510, L"Save To Disk"));
    plain.SetIcons(fw::Icon(CopyIcon(LoadIconW(nullptr, IDI_INFORMATION))),
                   fw::Icon(CopyIcon(LoadIconW(nullptr, IDI_WARNING))));
    BitmapButton coloured;
    ASSERT_TRUE(coloured.Create(L"BUTTON", WS_CHILD | WS_VISIBLE, 0, RECT{180, 80, 330, 110},
                                host.Hwnd(), 1511, L"Fit to Window"));
    coloured.SetColors(BitmapButton::ColorState::Normal, RGB(40, 60, 90), RGB(255, 255, 255));
    PumpMessages(200);

    RECT area{};
    GetWindowRect(host.Hwnd(), &area);
    Picture shot = ScreenPicture(area);
    // The cut-away corner of the first button shows the host behind it.
    EXPECT_EQ(shot.At(10, 20), RGB(230, 236, 244));
    const std::wstring folder = PictureDirectory();
    if (!folder.empty()) {
        EXPECT_TRUE(SavePng(shot, folder + L"\\buttons.png"));
    }
}
