#include "button_test_drivers.h"

#include "support/test_window.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

using State = BitmapButton::ColorState;

constexpr COLORREF kNormal = RGB(40, 60, 90);
constexpr COLORREF kHover = RGB(90, 140, 220);
constexpr COLORREF kFocus = RGB(20, 120, 60);

class BitmapButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        MouseMoveTo({60, 900});
        ASSERT_TRUE(button.Create(L"BUTTON", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 0,
                                  RECT{20, 20, 170, 50}, host.Hwnd(), 1032, L"Undo"));
    }

    TestHost host{RECT{200, 200, 500, 300}, RGB(200, 200, 200)};
    BitmapButton button;
};

} // namespace

TEST_F(BitmapButtonTest, PaintsTheColourPairOfItsState) {
    button.SetColors(State::Normal, kNormal, RGB(255, 255, 255));
    button.SetColors(State::Hover, kHover, RGB(0, 0, 0));
    button.SetColors(State::Focus, kFocus, RGB(255, 255, 255));
    EXPECT_EQ(PixelAt(button.Hwnd(), 6, 6), kNormal);

    MouseMoveTo(ScreenCentre(button.Hwnd()));
    ASSERT_TRUE(PumpUntil([&] { return BitmapButtonTestDriver::IsHovering(button); }));
    EXPECT_EQ(PixelAt(button.Hwnd(), 6, 6), kHover);

    MouseMoveTo({60, 900});
    ASSERT_TRUE(PumpUntil([&] { return !BitmapButtonTestDriver::IsHovering(button); }));
    SetFocus(button.Hwnd());
    EXPECT_EQ(PixelAt(button.Hwnd(), 6, 6), kFocus);
}

TEST_F(BitmapButtonTest, TooltipIsCreatedOnceWithItsTextAndWidth) {
    EXPECT_FALSE(BitmapButtonTestDriver::ToolTip(button));
    button.SetTooltipText(L"Undo the last change");
    HWND tooltip = BitmapButtonTestDriver::ToolTip(button);
    ASSERT_TRUE(tooltip);
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETMAXTIPWIDTH, 0, 0), 400);
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);

    button.SetTooltipText(L"Undo");
    EXPECT_EQ(BitmapButtonTestDriver::ToolTip(button), tooltip);
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);
    wchar_t text[64] = L"";
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = host.Hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(button.Hwnd());
    tool.lpszText = text;
    SendMessageW(tooltip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, L"Undo");

    DestroyWindow(button.Hwnd());
    EXPECT_FALSE(IsWindow(tooltip));
}

TEST_F(BitmapButtonTest, DrawsItselfAndRemembersBeingTheDefaultButton) {
    const LONG_PTR style = GetWindowLongPtrW(button.Hwnd(), GWL_STYLE);
    EXPECT_EQ(style & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_TRUE(BitmapButtonTestDriver::IsDefault(button));
    EXPECT_TRUE(SendMessageW(button.Hwnd(), WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON);

    // The dialog manager moves the default look away and back.
    SendMessageW(button.Hwnd(), BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    EXPECT_FALSE(BitmapButtonTestDriver::IsDefault(button));
    EXPECT_TRUE(SendMessageW(button.Hwnd(), WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON);
    EXPECT_EQ(GetWindowLongPtrW(button.Hwnd(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    SendMessageW(button.Hwnd(), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_TRUE(BitmapButtonTestDriver::IsDefault(button));
    EXPECT_EQ(GetWindowLongPtrW(button.Hwnd(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
}
