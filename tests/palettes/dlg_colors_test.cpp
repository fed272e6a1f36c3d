#include "palettes/dlg_colors.h"
#include "palettes/swatch_navigation.h"

#include "resource.h"
#include "support/gdi_objects.h"
#include "support/test_window.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

class CDlgColorsTestDriver {
public:
    static const wchar_t* SwatchName(int controlId) noexcept {
        return CDlgColors::SwatchName(controlId);
    }
};

namespace {

struct Swatch {
    int id;
    COLORREF colour;
};

// Screen order, row by row.
constexpr std::array<Swatch, 12> kSwatches{{
    {1035, RGB(255, 0, 10)},
    {1036, RGB(153, 0, 47)},
    {1037, RGB(255, 126, 0)},
    {1046, RGB(255, 194, 14)},
    {1038, RGB(255, 242, 0)},
    {1039, RGB(0, 0, 0)},
    {1040, RGB(168, 231, 29)},
    {1041, RGB(9, 120, 0)},
    {1042, RGB(0, 183, 240)},
    {1043, RGB(0, 32, 234)},
    {1044, RGB(46, 54, 153)},
    {1045, RGB(255, 255, 255)},
}};

// Every pixel of a control's client area has this colour.
::testing::AssertionResult IsFilledWith(HWND control, COLORREF colour) {
    PumpMessages(80);
    RECT client{};
    GetClientRect(control, &client);
    const POINT origin = ClientToScreenPoint(control, 0, 0);
    Picture shot =
        ScreenPicture(RECT{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom});
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            if (shot.At(x, y) != colour)
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") is 0x" << std::hex << shot.At(x, y)
                       << ", not 0x" << colour;
        }
    }
    return ::testing::AssertionSuccess();
}

class DlgColorsTest : public ::testing::Test {
protected:
    void SetUp() override {
        MouseMoveTo({60, 900});
        ASSERT_TRUE(palette.Create(host.Hwnd()));
        SetWindowPos(palette.Hwnd(), nullptr, 10, 10, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
        PumpMessages(100);
        canvas.paints = 0;
    }

    HWND Item(int id) const { return palette.Item(id); }

    TestHost host{RECT{300, 300, 800, 560}, RGB(210, 210, 210)};
    // A sibling of the palette standing in for the canvas.
    fw::Window sibling{::CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE, 260, 10, 220,
                                         230, host.Hwnd(), nullptr, nullptr, nullptr)};
    PaintCounter canvas{sibling.get()};
    CDlgColors palette;
};

} // namespace

TEST_F(DlgColorsTest, StartsWithTheFirstSwatchsColourInTheBox) {
    EXPECT_EQ(CDlgColors().GetCurrentColor(), RGB(255, 0, 10));
    EXPECT_EQ(palette.GetCurrentColor(), RGB(255, 0, 10));
    EXPECT_TRUE(IsFilledWith(Item(IDC_CURRENT_COLOR), RGB(255, 0, 10)));
}

TEST_F(DlgColorsTest, SwatchesShowTheirColoursInTwoRowsOfSix) {
    RECT previous{};
    for (size_t i = 0; i < kSwatches.size(); ++i) {
        HWND swatch = Item(kSwatches[i].id);
        ASSERT_TRUE(swatch) << kSwatches[i].id;
        EXPECT_TRUE(IsFilledWith(swatch, kSwatches[i].colour)) << kSwatches[i].id;
        RECT rect{};
        GetWindowRect(swatch, &rect);
        if (i % 6 != 0) {
            EXPECT_EQ(rect.top, previous.top) << kSwatches[i].id;
            EXPECT_GT(rect.left, previous.right - 1) << kSwatches[i].id << " is out of order";
        } else if (i == 6) {
            EXPECT_GT(rect.top, previous.bottom - 1);
        }
        previous = rect;
    }
    // Box and swatches sit on the slots of the panel's picture, whatever
    // the font makes of the template's dialog units.
    for (size_t slot = 0; slot <= kSwatches.size(); ++slot) {
        const RECT expected = CDlgColors::SlotRect(slot, 96);
        const RECT actual =
            RectIn(palette.Hwnd(), Item(slot == 0 ? IDC_CURRENT_COLOR : kSwatches[slot - 1].id));
        EXPECT_TRUE(EqualRect(&actual, &expected)) << "slot " << slot;
    }
}

TEST_F(DlgColorsTest, ClickingASwatchMakesItsColourCurrentWithoutRepaintingTheCanvas) {
    MouseClickAt(ScreenCentre(Item(IDC_SWATCH_R1C6)));
    EXPECT_EQ(palette.GetCurrentColor(), RGB(0, 0, 0));
    EXPECT_TRUE(IsFilledWith(Item(IDC_CURRENT_COLOR), RGB(0, 0, 0)));

    MouseClickAt(ScreenCentre(Item(IDC_SWATCH_R2C6)));
    EXPECT_EQ(palette.GetCurrentColor(), RGB(255, 255, 255));
    EXPECT_TRUE(IsFilledWith(Item(IDC_CURRENT_COLOR), RGB(255, 255, 255)));

    // The box is not a swatch.
    MouseClickAt(ScreenCentre(Item(IDC_CURRENT_COLOR)));
    EXPECT_EQ(palette.GetCurrentColor(), RGB(255, 255, 255));

    PumpMessages(100);
    EXPECT_EQ(canvas.paints, 0);
}

TEST_F(DlgColorsTest, NoColourShowsTheButtonFace) {
    palette.SetCurrentColor(CDlgColors::kNoColor);
    EXPECT_EQ(palette.GetCurrentColor(), CDlgColors::kNoColor);
    EXPECT_TRUE(IsFilledWith(Item(IDC_CURRENT_COLOR), GetSysColor(COLOR_BTNFACE)));
}

TEST_F(DlgColorsTest, ChangingColoursAgainAndAgainLeaksNothing) {
    palette.SetCurrentColor(RGB(1, 2, 3));
    UpdateWindow(palette.Hwnd());
    PumpMessages(50);
    const int before = GdiObjectCount();
    ASSERT_GT(before, 0) << "no way to count GDI objects here";
    for (int i = 0; i < 60; ++i) {
        palette.SetCurrentColor(kSwatches[i % kSwatches.size()].colour);
        UpdateWindow(Item(IDC_CURRENT_COLOR));
    }
    PumpMessages(50);
    EXPECT_EQ(GdiObjectCount(), before);
}

TEST_F(DlgColorsTest, PictureAfterPickingLightBlue) {
    MouseClickAt(ScreenCentre(Item(IDC_SWATCH_R2C3)));
    PumpMessages(100);
    RECT area{};
    GetWindowRect(palette.Hwnd(), &area);
    InflateRect(&area, 10, 10);
    Picture shot = ScreenPicture(area);
    EXPECT_EQ(palette.GetCurrentColor(), RGB(0, 183, 240));
    const std::wstring folder = PictureDirectory();
    if (!folder.empty()) {
        EXPECT_TRUE(SavePng(shot, folder + L"\\palette.png"));
    }
}

// Tab reaches one swatch, the current colour's, which Space or Enter picks;
// screen readers read each swatch's colour.
TEST_F(DlgColorsTest, TheCurrentColoursSwatchIsTheTabStopAndKeysPickTheFocusedOne) {
    auto tabStops = [&] {
        std::vector<int> ids;
        for (const Swatch& swatch : kSwatches) {
            if (GetWindowLongPtrW(Item(swatch.id), GWL_STYLE) & WS_TABSTOP)
                ids.push_back(swatch.id);
        }
        return ids;
    };
    EXPECT_EQ(tabStops(), std::vector<int>{IDC_SWATCH_R1C1});
    SendMessageW(Item(IDC_SWATCH_R2C4), WM_KEYDOWN, VK_SPACE, 1);
    EXPECT_EQ(palette.GetCurrentColor(), RGB(0, 32, 234));
    EXPECT_EQ(tabStops(), std::vector<int>{IDC_SWATCH_R2C4});
    SendMessageW(Item(IDC_SWATCH_R1C6), WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(palette.GetCurrentColor(), RGB(0, 0, 0));
    // A colour of no swatch leaves the first one to Tab to.
    palette.SetCurrentColor(RGB(1, 2, 3));
    EXPECT_EQ(tabStops(), std::vector<int>{IDC_SWATCH_R1C1});

    std::vector<std::wstring> names;
    for (const Swatch& swatch : kSwatches) {
        wchar_t text[32]{};
        GetWindowTextW(Item(swatch.id), text, 32);
        EXPECT_STREQ(text, CDlgColorsTestDriver::SwatchName(swatch.id));
        names.push_back(text);
    }
    EXPECT_EQ(names.front(), L"Red");
    EXPECT_EQ(names[5], L"Black");
    EXPECT_EQ(names.back(), L"White");
}

TEST(SwatchNavigation, ArrowsMoveThroughTheGridAndWrap) {
    struct Case {
        size_t from;
        WPARAM key;
        size_t to;
    };
    // Two rows of six.
    const Case grid[] = {
        {0, VK_RIGHT, 1}, {5, VK_RIGHT, 6}, {11, VK_RIGHT, 0}, {0, VK_LEFT, 11}, {6, VK_LEFT, 5},
        {2, VK_DOWN, 8},  {8, VK_DOWN, 2},  {8, VK_UP, 2},     {2, VK_UP, 8},    {4, VK_HOME, 0},
        {4, VK_END, 11},  {4, VK_SPACE, 4}, {4, VK_TAB, 4},
    };
    for (const Case& c : grid)
        EXPECT_EQ(SwatchInDirection(c.from, c.key, 6, 12), c.to) << c.from << " key " << c.key;
    // A short last row: up and down skip the places it lacks.
    EXPECT_EQ(SwatchInDirection(4, VK_DOWN, 6, 8), 4u);
    EXPECT_EQ(SwatchInDirection(1, VK_DOWN, 6, 8), 7u);
    EXPECT_EQ(SwatchInDirection(7, VK_UP, 6, 8), 1u);
    EXPECT_EQ(SwatchInDirection(3, VK_RIGHT, 6, 0), 3u);
}
