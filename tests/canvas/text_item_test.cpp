// Text boxes on the canvas: dragged out, typed into through their popup,
// shown once typing ends, undone and redone.
#include <gtest/gtest.h>

#include <string>

#include "canvas/text_item.h"
#include "canvas/text_item_factory.h"
#include "canvas_harness.h"
#include "controls/window_text.h"
#include "resource.h"
#include "support/test_window.h"

using namespace canvas_test;

namespace {

constexpr COLORREF kPicture = RGB(90, 120, 150);
constexpr COLORREF kInk = RGB(0, 0, 230);

// Hears the popup beside its item.
struct HiddenCounter : CDlgTextItemEvents {
    void OnTextHidden() override { ++hidden; }
    int hidden = 0;
};

class TextItemTest : public testing::Test {
protected:
    void SetUp() override {
        canvas.Panel().SetBitmap(MakePicture(800, 600, kPicture));
        canvas.SelectTool<CTextItemFactory>();
        canvas.SetColor(kInk);
    }

    CTextItem* Item(std::size_t i) {
        return dynamic_cast<CTextItem*>(canvas.Panel().GetItems().at(i).get());
    }
    // The popup of the newest text item: the first dialog on the surface.
    HWND NewestPopup() { return ::FindWindowExW(canvas.Surface(), nullptr, L"#32770", nullptr); }
    static CDlgTextItem& PopupObject(HWND popup) {
        return dynamic_cast<CDlgTextItem&>(*fw::Dialog::FromHandle(popup));
    }
    // Ink pixels of the surface as painted now, inside and outside a view
    // rectangle.
    std::pair<int, int> InkInsideAndOutside(const RECT& box) {
        const Pixels shown(PrintSurface(canvas.Surface()).get());
        int inside = 0, outside = 0;
        for (int y = 0; y < shown.Height(); ++y) {
            for (int x = 0; x < shown.Width(); ++x) {
                if (!Near(shown.At(x, y), kInk, 60))
                    continue;
                ++(::PtInRect(&box, POINT{x, y}) ? inside : outside);
            }
        }
        return {inside, outside};
    }

    CanvasHarness canvas;
};

TEST_F(TextItemTest, ABoxIsTypedIntoWithRealKeysGrowsWithItsTextAndShowsItOnceTypingEnds) {
    canvas.Drag(100, 100, 300, 150);
    canvas.Pump();
    ASSERT_EQ(canvas.Panel().GetItems().size(), 1u);
    CTextItem* item = Item(0);
    const HWND popup = NewestPopup();
    const HWND edit = ::GetDlgItem(popup, IDC_TEXT_EDIT);
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(::IsWindowVisible(popup));
    EXPECT_TRUE(item->IsEditing());
    EXPECT_EQ(RectIn(canvas.Surface(), popup).top, 101) << "the box shrunk by a pixel";
    EXPECT_EQ(RectIn(canvas.Surface(), popup).right, 299);
    EXPECT_EQ(::GetFocus(), edit);
    HiddenCounter counter;
    PopupObject(popup).AddListener(&counter);

    ::SetForegroundWindow(canvas.Window());
    PumpUntil([&] { return ::GetForegroundWindow() == canvas.Window(); });
    ::Sleep(500); // Wine takes the key state from the X server once focused
    TypeText(L"Hello\rworld");
    EXPECT_TRUE(PumpUntil([&] { return WindowText(edit) == L"Hello\r\nworld"; }, 5000))
        << "typed: " << testing::PrintToString(WindowText(edit));

    // Typing past the bottom grows popup and box by a third at once; the
    // box keeps its top and stays just around the popup.
    const int before = RectIn(canvas.Surface(), popup).bottom - 101;
    for (int line = 0; line < 3 && RectIn(canvas.Surface(), popup).bottom - 101 == before; ++line)
        SendKeys(edit, L"\rmore");
    const RECT grown = RectIn(canvas.Surface(), popup);
    EXPECT_GE(grown.bottom - grown.top, before + before / 3);
    RECT box = item->GetViewRect();
    EXPECT_EQ(box.top, 100);
    EXPECT_EQ(box.bottom, grown.bottom + 1);
    SavePicture(CaptureClient(canvas.Surface()).get(), L"text_while_typing");
    // Deleting never shrinks it.
    for (int i = 0; i < 3; ++i)
        SendKeys(edit, L"\b");
    EXPECT_EQ(RectIn(canvas.Surface(), popup).bottom, grown.bottom);
    EXPECT_EQ(InkInsideAndOutside(box).first, 0) << "the box is not drawn while typing";

    // A press elsewhere ends typing: the popup hides once, the box shows
    // the text in the item's colour and nothing of it lies outside.
    const std::wstring typed = WindowText(edit);
    canvas.Press(600, 500);
    canvas.Release(600, 500);
    canvas.Pump();
    EXPECT_FALSE(::IsWindowVisible(popup));
    EXPECT_NE(::GetFocus(), edit) << "keys would go on changing the hidden text";
    EXPECT_EQ(counter.hidden, 1);
    EXPECT_EQ(item->GetText(), typed);
    EXPECT_EQ(typed.rfind(L"Hello\r\nworld\r\nm", 0), 0u);
    auto [inside, outside] = InkInsideAndOutside(box);
    EXPECT_GT(inside, 40);
    EXPECT_EQ(outside, 0);
    SavePicture(CaptureClient(canvas.Surface()).get(), L"text_after_typing");
    PopupObject(popup).RemoveListener(&counter);
}

} // namespace
