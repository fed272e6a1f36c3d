#include "controls/color_static_st.h"

#include "support/gdi_objects.h"
#include "support/test_window.h"

#include <gtest/gtest.h>

class CColorStaticSTTestDriver {
public:
    static COLORREF Background(const CColorStaticST& control) noexcept {
        return control.m_background;
    }
};

namespace {

using Index = CColorStaticST::ColorIndex;

constexpr COLORREF kBackdrop = RGB(200, 200, 200);

// Text pixels of a yellow caption on a dark background, smoothed edges
// included.
bool IsYellowish(COLORREF colour) {
    return GetRValue(colour) > 128 && GetGValue(colour) > 128 && GetBValue(colour) < 128;
}

template <typename Match> int CountPixels(HWND window, Match match) {
    PumpMessages(80);
    RECT rect{};
    GetWindowRect(window, &rect);
    Picture shot = ScreenPicture(rect);
    int count = 0;
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x)
            count += match(shot.At(x, y)) ? 1 : 0;
    }
    return count;
}

class ColorStaticTest : public ::testing::Test {
protected:
    void SetUp() override { MouseMoveTo({60, 900}); }

    TestHost host{RECT{200, 200, 500, 400}, kBackdrop};
};

} // namespace

TEST_F(ColorStaticTest, BackgroundColourFillsTheWholeControlEvenWithoutACaption) {
    CColorStaticST swatch;
    ASSERT_TRUE(swatch.Create(L"STATIC", WS_CHILD | WS_VISIBLE | WS_BORDER | SS_NOTIFY, 0,
                              RECT{20, 20, 40, 40}, host.Hwnd(), 1300));
    EXPECT_EQ(PixelAt(swatch.Hwnd(), 9, 9), GetSysColor(COLOR_BTNFACE));

    swatch.SetColors(Index::Background, RGB(0, 0, 0));
    EXPECT_EQ(CColorStaticSTTestDriver::Background(swatch), RGB(0, 0, 0));
    RECT client{};
    GetClientRect(swatch.Hwnd(), &client);
    EXPECT_EQ(PixelAt(swatch.Hwnd(), 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(PixelAt(swatch.Hwnd(), client.right - 1, client.bottom - 1), RGB(0, 0, 0));

    swatch.SetColors(Index::Background, RGB(9, 120, 0));
    EXPECT_EQ(PixelAt(swatch.Hwnd(), 9, 9), RGB(9, 120, 0));
}

TEST_F(ColorStaticTest, CaptionIsDrawnInTheTextColourOnTheBackgroundColour) {
    CColorStaticST label;
    ASSERT_TRUE(label.Create(L"STATIC", WS_CHILD | WS_VISIBLE | SS_LEFT, 0, RECT{20, 60, 220, 90},
                             host.Hwnd(), 1301, L"Uploading to: server"));
    // Dialog controls carry the dialog's regular-weight font.
    const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageW(label.Hwnd(), WM_SETFONT, font, FALSE);
    label.SetColors(Index::Background, RGB(10, 30, 60));
    label.SetColors(Index::Text, RGB(255, 255, 0));
    label.SetBold(true);
    RedrawWindow(label.Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const int bold = CountPixels(label.Hwnd(), IsYellowish);
    EXPECT_GT(bold, 20);
    EXPECT_EQ(PixelAt(label.Hwnd(), 199, 29), RGB(10, 30, 60));

    // The same caption in a regular weight covers fewer pixels.
    CColorStaticST regular;
    ASSERT_TRUE(regular.Create(L"STATIC", WS_CHILD | WS_VISIBLE | SS_LEFT, 0,
                               RECT{20, 100, 220, 130}, host.Hwnd(), 1302,
                               L"Uploading to: server"));
    SendMessageW(regular.Hwnd(), WM_SETFONT, font, FALSE);
    regular.SetColors(Index::Background, RGB(10, 30, 60));
    regular.SetColors(Index::Text, RGB(255, 255, 0));
    EXPECT_LT(CountPixels(regular.Hwnd(), IsYellowish), bold);
}

TEST_F(ColorStaticTest, ShowsItsCursor) {
    CColorStaticST link;
    ASSERT_TRUE(link.Create(L"STATIC", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 0, RECT{20, 20, 120, 40},
                            host.Hwnd(), 1303, L"Tell someone !"));
    HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    link.SetStaticCursor(hand);
    EXPECT_EQ(SendMessageW(link.Hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(link.Hwnd()),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              TRUE);
    EXPECT_EQ(GetCursor(), hand);
}

TEST_F(ColorStaticTest, RepeatedColourChangesLeakNothingAndTheBrushDiesWithTheControl) {
    CColorStaticST swatch;
    ASSERT_TRUE(swatch.Create(L"STATIC", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, RECT{20, 20, 60, 60},
                              host.Hwnd(), 1304, L"x"));
    swatch.SetColors(Index::Background, RGB(1, 2, 3));
    UpdateWindow(swatch.Hwnd());
    PumpMessages(50);
    const int before = GdiObjectCount();
    ASSERT_GT(before, 0) << "no way to count GDI objects here";
    for (int i = 0; i < 100; ++i) {
        swatch.SetColors(Index::Background, RGB(i, 255 - i, i * 2));
        swatch.SetColors(Index::Text, RGB(255 - i, i, 0));
        UpdateWindow(swatch.Hwnd());
    }
    PumpMessages(50);
    EXPECT_EQ(GdiObjectCount(), before);

    DestroyWindow(swatch.Hwnd());
    EXPECT_LT(GdiObjectCount(), before) << "the brush and font outlive the control";
}

// A swatch or link the keyboard reaches: a cue while it has the focus, Enter
// and Space click it once; a colour field's text only names it.
TEST_F(ColorStaticTest, FocusedSwatchShowsACueAndEnterOrSpaceClickIt) {
    constexpr COLORREF kBlue = RGB(46, 54, 153);
    CColorStaticST swatch;
    ASSERT_TRUE(swatch.Create(L"STATIC", WS_CHILD | WS_VISIBLE | WS_BORDER | SS_NOTIFY | WS_TABSTOP,
                              0, RECT{20, 20, 60, 60}, host.Hwnd(), 1305, L"Dark blue"));
    swatch.SetColorField(true);
    swatch.SetColors(Index::Background, kBlue);
    EXPECT_EQ(ClientPixelsOtherThan(swatch.Hwnd(), kBlue), 0) << "its name is drawn";

    SetFocus(swatch.Hwnd());
    EXPECT_GT(ClientPixelsOtherThan(swatch.Hwnd(), kBlue), 30) << "no focus cue";
    const MSG enter{swatch.Hwnd(), WM_KEYDOWN, VK_RETURN, 1, 0, {}};
    EXPECT_TRUE(
        SendMessageW(swatch.Hwnd(), WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)) &
        DLGC_WANTMESSAGE);
    SendMessageW(swatch.Hwnd(), WM_KEYDOWN, VK_RETURN, 1);
    SendMessageW(swatch.Hwnd(), WM_KEYDOWN, VK_SPACE, 1);
    SendMessageW(swatch.Hwnd(), WM_KEYDOWN, VK_SPACE, 1 | (1 << 30)); // held: a repeat
    EXPECT_EQ(host.CommandCount(1305, STN_CLICKED), 2);

    SetFocus(host.Hwnd());
    EXPECT_EQ(ClientPixelsOtherThan(swatch.Hwnd(), kBlue), 0) << "the cue stays";

    // A static that reports no clicks is no link.
    CColorStaticST label;
    ASSERT_TRUE(label.Create(L"STATIC", WS_CHILD | WS_VISIBLE | SS_LEFT, 0, RECT{20, 80, 120, 100},
                             host.Hwnd(), 1306, L"Posting URL"));
    SendMessageW(label.Hwnd(), WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(host.CommandCount(1306, STN_CLICKED), 0);
}
