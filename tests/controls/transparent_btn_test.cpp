#include "controls/transparent_btn.h"

#include "support/test_window.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kPicture = RGB(0, 128, 128);

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

TEST(TransparentBtn, DrawsItsGlyphAndCaptionAndRestoresTheGlyphWhenUnchecked) {
    MouseMoveTo({60, 900});
    TestHost host(RECT{200, 200, 500, 360}, RGB(200, 200, 200));
    fw::GdiBitmap picture = MakeBitmap(280, 140, [](int, int) { return kPicture; });
    HWND pictureStatic = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_BITMAP, 10,
                                         10, 280, 140, host.Hwnd(), nullptr, nullptr, nullptr);
    ASSERT_TRUE(pictureStatic);
    SendMessageW(pictureStatic, STM_SETIMAGE, IMAGE_BITMAP,
                 reinterpret_cast<LPARAM>(picture.get()));
    CTransparentBtn first;
    ASSERT_TRUE(first.Create(L"BUTTON", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON | WS_GROUP, 0,
                             RECT{30, 30, 230, 50}, host.Hwnd(), 1022, L"Create TQ"));
    CTransparentBtn second;
    ASSERT_TRUE(second.Create(L"BUTTON", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON, 0,
                              RECT{30, 80, 230, 100}, host.Hwnd(), 1023, L"Add to existing TQ"));
    PumpMessages(150);

    // Only glyph and caption differ from the picture: the glyph at the left,
    // the caption after it.
    auto shoot = [&](const CTransparentBtn& button) {
        RECT area{};
        GetWindowRect(button.Hwnd(), &area);
        return ScreenPicture(area);
    };
    auto differingColumns = [](const Picture& shot, int from, int to) {
        int count = 0;
        for (int x = from; x < to; ++x) {
            for (int y = 0; y < shot.height; ++y) {
                if (shot.At(x, y) != kPicture) {
                    ++count;
                    break;
                }
            }
        }
        return count;
    };
    const Picture unchecked = shoot(first);
    EXPECT_GT(differingColumns(unchecked, 0, 12), 8) << "no glyph";
    EXPECT_GT(differingColumns(unchecked, 16, 80), 20) << "no caption";
    EXPECT_EQ(differingColumns(unchecked, 150, 200), 0);

    // Checking changes the glyph; checking the other button of the group
    // unchecks this one, which must look exactly as before (no dot left).
    SendMessageW(first.Hwnd(), BM_SETCHECK, BST_CHECKED, 0);
    PumpMessages(100);
    const Picture checked = shoot(first);
    bool glyphChanged = false;
    for (int x = 0; x < 16 && !glyphChanged; ++x)
        for (int y = 0; y < checked.height && !glyphChanged; ++y)
            glyphChanged = checked.At(x, y) != unchecked.At(x, y);
    EXPECT_TRUE(glyphChanged);

    const std::wstring folder = PictureDirectory();
    if (!folder.empty()) {
        RECT area{};
        GetWindowRect(host.Hwnd(), &area);
        EXPECT_TRUE(SavePng(ScreenPicture(area), folder + L"\\transparent_radio.png"));
    }

    SendMessageW(second.Hwnd(), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(first.Hwnd(), BM_SETCHECK, BST_UNCHECKED, 0);
    PumpMessages(100);
    const Picture again = shoot(first);
    for (int x = 0; x < again.width; ++x)
        for (int y = 0; y < again.height; ++y)
            ASSERT_EQ(again.At(x, y), unchecked.At(x, y)) << x << "," << y;
}
