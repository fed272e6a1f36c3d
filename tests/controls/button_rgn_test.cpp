#include "button_test_drivers.h"

#include "support/gdi_objects.h"
#include "support/test_window.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <array>
#include <string>

namespace {

constexpr int kButtonId = 1400;
constexpr COLORREF kBackdrop = RGB(200, 200, 200);
constexpr COLORREF kNormal = RGB(0, 0, 200);
constexpr COLORREF kPressed = RGB(200, 0, 0);
constexpr COLORREF kHover = RGB(0, 160, 0);
constexpr COLORREF kDisabled = RGB(90, 90, 90);
constexpr int kCorner = 10; // cut-away corners of the mask

fw::GdiBitmap Solid(int width, int height, COLORREF colour) {
    return MakeBitmap(width, height, [colour](int, int) { return colour; });
}

// Four solid pictures and, when asked, a mask with magenta corners.
ButtonBitmaps Pictures(int width, int height, bool withMask) {
    ButtonBitmaps pictures;
    pictures.normal = Solid(width, height, kNormal);
    pictures.pressed = Solid(width, height, kPressed);
    pictures.hover = Solid(width, height, kHover);
    pictures.disabled = Solid(width, height, kDisabled);
    if (withMask) {
        pictures.mask = MakeBitmap(width, height, [=](int x, int y) -> COLORREF {
            const bool corner =
                (x < kCorner || x >= width - kCorner) && (y < kCorner || y >= height - kCorner);
            return corner ? RGB(255, 0, 255) : RGB(0, 0, 0);
        });
    }
    return pictures;
}

bool IsPushed(HWND button) {
    return (SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
}

class ButtonRgnTest : public ::testing::Test {
protected:
    void SetUp() override {
        MouseMoveTo({60, 900}); // well away from the windows
        ASSERT_TRUE(host.Hwnd());
        ASSERT_TRUE(button.Create(L"BUTTON", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0,
                                  RECT{40, 40, 160, 80}, host.Hwnd(), kButtonId));
    }

    HWND Button() const { return button.Hwnd(); }
    int Clicks() const { return host.CommandCount(kButtonId, BN_CLICKED); }
    // A point of the host's client area well away from the button.
    POINT Elsewhere() const { return ClientToScreenPoint(host.Hwnd(), 300, 250); }

    TestHost host{RECT{200, 200, 600, 500}, kBackdrop};
    CButtonRgn button;
};

// The point size the button chose for its caption, after a paint.
int FittedSize(CButtonRgn& button, const wchar_t* caption) {
    SetWindowTextW(button.Hwnd(), caption);
    RedrawWindow(button.Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return CButtonRgnTestDriver::CaptionPointSize(button);
}

// How wide the caption is in the button's font at a point size.
int CaptionWidth(const wchar_t* caption, int pointSize) {
    LOGFONTW font{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    lstrcpynW(font.lfFaceName, L"Arial", LF_FACESIZE);
    font.lfWidth = 0;
    fw::WindowDc screen(nullptr);
    font.lfHeight = -MulDiv(pointSize, GetDeviceCaps(screen.get(), LOGPIXELSY), 72);
    fw::GdiFont handle(CreateFontIndirectW(&font));
    fw::SelectionGuard select(screen.get(), handle.get());
    SIZE extent{};
    GetTextExtentPoint32W(screen.get(), caption, lstrlenW(caption), &extent);
    return extent.cx;
}

} // namespace

TEST_F(ButtonRgnTest, CaptionIsDrawnAtTheLargestPointSizeUpToNineThatFits) {
    // The button is 120 pixels wide: a caption fits when its width + 4 is
    // below 116.
    EXPECT_EQ(FittedSize(button, L"OK"), 9);

    const wchar_t* longCaption = L"Send the screenshot by e-mail";
    const int size = FittedSize(button, longCaption);
    ASSERT_LT(size, 9);
    EXPECT_LT(CaptionWidth(longCaption, size) + 4, 116);
    EXPECT_GE(CaptionWidth(longCaption, size + 1) + 4, 116);

    // A new caption is fitted again, from nine points.
    EXPECT_EQ(FittedSize(button, L"Undo"), 9);
    EXPECT_EQ(FittedSize(button, L"A caption that cannot fit a button of this width at all, "
                                 L"not even at the smallest point size there is"),
              1);
}

TEST_F(ButtonRgnTest, MaskShapesTheButtonSoItsCornersShowAndClickWhatIsBehind) {
    button.SetBitmaps(Pictures(80, 30, true));
    RECT window{};
    GetWindowRect(Button(), &window);
    EXPECT_EQ(window.right - window.left, 80);
    EXPECT_EQ(window.bottom - window.top, 30);
    const POINT topLeft = ClientToScreenPoint(host.Hwnd(), 40, 40);
    EXPECT_EQ(window.left, topLeft.x) << "resizing must not move the button";

    fw::GdiRegion shape(CreateRectRgn(0, 0, 0, 0));
    ASSERT_EQ(GetWindowRgn(Button(), shape.get()), COMPLEXREGION);
    EXPECT_FALSE(PtInRegion(shape.get(), 2, 2));
    EXPECT_FALSE(PtInRegion(shape.get(), 77, 27));
    EXPECT_TRUE(PtInRegion(shape.get(), 40, 15));
    EXPECT_TRUE(PtInRegion(shape.get(), 40, 1));
    EXPECT_TRUE(PtInRegion(shape.get(), 12, 2));

    EXPECT_EQ(PixelAt(Button(), 2, 2), kBackdrop);
    EXPECT_EQ(PixelAt(Button(), 40, 15), kNormal);

    MouseClickAt(ClientToScreenPoint(Button(), 2, 2));
    MouseClickAt(ClientToScreenPoint(Button(), 77, 27));
    EXPECT_EQ(Clicks(), 0);
    MouseClickAt(ClientToScreenPoint(Button(), 40, 15));
    EXPECT_EQ(Clicks(), 1);
}

TEST_F(ButtonRgnTest, DraggingOffAndBackOnFollowsThePushedLookAndOnlyAReleaseOnItClicks) {
    button.SetBitmaps(Pictures(80, 30, true));
    const POINT centre = ClientToScreenPoint(Button(), 40, 15);

    MouseMoveTo(centre);
    MouseButton(true);
    EXPECT_TRUE(CButtonRgnTestDriver::IsTracking(button));
    EXPECT_TRUE(IsPushed(Button()));
    EXPECT_EQ(PixelAt(Button(), 40, 15), kPressed);

    MouseMoveTo(Elsewhere());
    EXPECT_FALSE(IsPushed(Button()));
    EXPECT_EQ(PixelAt(Button(), 40, 15), kNormal);

    MouseMoveTo(centre);
    EXPECT_TRUE(IsPushed(Button()));
    EXPECT_EQ(PixelAt(Button(), 40, 15), kPressed);

    // A cut-away corner is inside the client rectangle but off the button.
    MouseMoveTo(ClientToScreenPoint(Button(), 2, 2));
    EXPECT_FALSE(IsPushed(Button()));

    MouseMoveTo(Elsewhere());
    MouseButton(false);
    EXPECT_FALSE(CButtonRgnTestDriver::IsTracking(button));
    EXPECT_EQ(Clicks(), 0);

    MouseMoveTo(centre);
    MouseButton(true);
    MouseMoveTo(Elsewhere());
    MouseMoveTo(centre);
    MouseButton(false);
    EXPECT_EQ(Clicks(), 1);
    EXPECT_FALSE(IsPushed(Button()));
}

TEST_F(ButtonRgnTest, DoubleClickIsTwoClicks) {
    button.SetBitmaps(Pictures(80, 30, false));
    MouseMoveTo(ScreenCentre(Button()));
    MouseButton(true);
    MouseButton(false);
    MouseButton(true);
    MouseButton(false);
    EXPECT_EQ(Clicks(), 2);
    EXPECT_EQ(host.CommandCount(kButtonId, BN_DOUBLECLICKED), 0);
}

TEST_F(ButtonRgnTest, HoverPictureShowsWhileThePointerIsOverTheButton) {
    button.SetBitmaps(Pictures(80, 30, false));
    EXPECT_EQ(PixelAt(Button(), 40, 5), kNormal);

    MouseMoveTo(ScreenCentre(Button()));
    EXPECT_TRUE(PumpUntil([&] { return CButtonRgnTestDriver::IsHovering(button); }));
    EXPECT_EQ(PixelAt(Button(), 40, 5), kHover);

    MouseMoveTo(Elsewhere());
    EXPECT_TRUE(PumpUntil([&] { return !CButtonRgnTestDriver::IsHovering(button); }));
    EXPECT_EQ(PixelAt(Button(), 40, 5), kNormal);

    // Pressing ends the hover look: the pressed picture shows.
    MouseMoveTo(ScreenCentre(Button()));
    EXPECT_TRUE(PumpUntil([&] { return CButtonRgnTestDriver::IsHovering(button); }));
    MouseButton(true);
    EXPECT_FALSE(CButtonRgnTestDriver::IsHovering(button));
    EXPECT_EQ(PixelAt(Button(), 40, 5), kPressed);
    MouseButton(false);
}

TEST_F(ButtonRgnTest, MissingPicturesFillWithButtonFaceAndDisabledHasItsOwn) {
    // Without any picture the button face shows.
    button.SetBitmaps(ButtonBitmaps{});
    EXPECT_EQ(PixelAt(Button(), 20, 5), GetSysColor(COLOR_BTNFACE));

    button.SetBitmaps(Pictures(120, 40, false));
    EnableWindow(Button(), FALSE);
    EXPECT_EQ(PixelAt(Button(), 20, 5), kDisabled);
    EnableWindow(Button(), TRUE);
    EXPECT_EQ(PixelAt(Button(), 20, 5), kNormal);
}

TEST_F(ButtonRgnTest, ReplacedPicturesAreFreedAndRepeatedReplacementLeaksNothing) {
    SetWindowTextW(Button(), L"Caption");
    ButtonBitmaps first = Pictures(80, 30, true);
    const std::array<HGDIOBJ, 5> firstHandles{first.normal.get(), first.pressed.get(),
                                              first.hover.get(), first.disabled.get(),
                                              first.mask.get()};
    button.SetBitmaps(std::move(first));
    PumpMessages(50);
    button.SetBitmaps(Pictures(80, 30, true));
    for (HGDIOBJ handle : firstHandles)
        EXPECT_EQ(GetObjectType(handle), 0u) << "a replaced picture is still alive";

    const int before = GdiObjectCount();
    ASSERT_GT(before, 0) << "no way to count GDI objects here";
    for (int i = 0; i < 40; ++i) {
        button.SetBitmaps(Pictures(80, 30, i % 2 == 0));
        RedrawWindow(Button(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    button.SetBitmaps(Pictures(80, 30, true));
    RedrawWindow(Button(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages(50);
    EXPECT_EQ(GdiObjectCount(), before);

    // The last pictures die with the control.
    HGDIOBJ lastNormal = nullptr;
    {
        CButtonRgn other;
        ASSERT_TRUE(other.Create(L"BUTTON", WS_CHILD | WS_VISIBLE, 0, RECT{200, 40, 280, 70},
                                 host.Hwnd(), kButtonId + 1));
        ButtonBitmaps last = Pictures(80, 30, false);
        lastNormal = last.normal.get();
        other.SetBitmaps(std::move(last));
        PumpMessages(50);
        EXPECT_NE(GetObjectType(lastNormal), 0u);
    }
    EXPECT_EQ(GetObjectType(lastNormal), 0u);
}

namespace {

// Answers for the window as Windows does once it hides focus cues (after
// the mouse was used); Wine never hides them.
LRESULT CALLBACK HidesFocusCues(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR) {
    if (message == WM_QUERYUISTATE)
        return UISF_HIDEFOCUS;
    return DefSubclassProc(window, message, wParam, lParam);
}

} // namespace

// A keyboard user sees which button has the focus, also after the button
// changed its pictures (a tool chosen); the caption of a button whose
// pictures carry the label is not drawn over them.
TEST_F(ButtonRgnTest, FocusCueShowsOnTheFocusedButtonUntilCuesAreHidden) {
    SetWindowPos(Button(), nullptr, 0, 0, 80, 30, SWP_NOMOVE | SWP_NOZORDER);
    SetWindowTextW(Button(), L"Caption");
    button.SetDrawsCaption(false);
    button.SetBitmaps(Pictures(80, 30, false));
    EXPECT_EQ(ClientPixelsOtherThan(Button(), kNormal), 0) << "a caption or cue without the focus";

    SetFocus(Button());
    const int cue = ClientPixelsOtherThan(Button(), kNormal);
    EXPECT_GT(cue, 60) << "no focus cue";
    button.SetBitmaps(Pictures(80, 30, false));
    EXPECT_EQ(ClientPixelsOtherThan(Button(), kNormal), cue) << "new pictures lost the cue";

    ASSERT_TRUE(SetWindowSubclass(Button(), HidesFocusCues, 1, 0));
    InvalidateRect(Button(), nullptr, FALSE);
    EXPECT_EQ(ClientPixelsOtherThan(Button(), kNormal), 0) << "the cue shows while cues are hidden";
    RemoveWindowSubclass(Button(), HidesFocusCues, 1);
    SendMessageW(Button(), WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    EXPECT_EQ(ClientPixelsOtherThan(Button(), kNormal), cue);

    SetFocus(host.Hwnd());
    EXPECT_EQ(ClientPixelsOtherThan(Button(), kNormal), 0);
}

// The dialog manager presses the default button on Enter unless the focused
// control asks for the key: the focused button does, and clicks once.
TEST_F(ButtonRgnTest, EnterIsTheFocusedButtonsOwnClick) {
    const MSG enter{Button(), WM_KEYDOWN, VK_RETURN, 1, 0, {}};
    const MSG space{Button(), WM_KEYDOWN, VK_SPACE, 1, 0, {}};
    EXPECT_TRUE(SendMessageW(Button(), WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)) &
                DLGC_WANTMESSAGE);
    EXPECT_FALSE(SendMessageW(Button(), WM_GETDLGCODE, VK_SPACE, reinterpret_cast<LPARAM>(&space)) &
                 DLGC_WANTMESSAGE);
    EXPECT_FALSE(SendMessageW(Button(), WM_GETDLGCODE, 0, 0) & DLGC_WANTMESSAGE);

    SendMessageW(Button(), WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(Clicks(), 1);
    SendMessageW(Button(), WM_KEYDOWN, VK_RETURN, 1 | (1 << 30)); // held: a repeat
    EXPECT_EQ(Clicks(), 1);
    EnableWindow(Button(), FALSE);
    SendMessageW(Button(), WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(Clicks(), 1);
}
