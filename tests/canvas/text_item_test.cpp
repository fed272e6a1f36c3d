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
    EXPECT_EQ(counter.hidden, 1);
    EXPECT_EQ(item->GetText(), typed);
    EXPECT_EQ(typed.rfind(L"Hello\r\nworld\r\nm", 0), 0u);
    auto [inside, outside] = InkInsideAndOutside(box);
    EXPECT_GT(inside, 40);
    EXPECT_EQ(outside, 0);
    SavePicture(CaptureClient(canvas.Surface()).get(), L"text_after_typing");
    PopupObject(popup).RemoveListener(&counter);
}

TEST_F(TextItemTest, AClickOpensThePopupButCommitsNothingAndAnEmptyBoxIsNotDrawnButHit) {
    canvas.Press(50, 50);
    canvas.Release(50, 50);
    canvas.Pump();
    EXPECT_TRUE(canvas.Panel().GetItems().empty());
    EXPECT_TRUE(::IsWindowVisible(NewestPopup())) << "a click asks for the popup as well";

    // The next drag takes the same item, and its popup, over the new box.
    canvas.Drag(100, 100, 300, 200);
    canvas.Pump();
    ASSERT_EQ(canvas.Panel().GetItems().size(), 1u);
    EXPECT_EQ(RectIn(canvas.Surface(), NewestPopup()).left, 101);
    canvas.ClearTool();
    canvas.Press(600, 500); // ends typing with nothing typed
    canvas.Release(600, 500);
    canvas.Pump();
    EXPECT_EQ(Item(0)->GetText(), L"");
    EXPECT_EQ(Pixels(PrintSurface(canvas.Surface()).get()).At(200, 150), kPicture)
        << "an empty box is not drawn";
    EXPECT_EQ(Item(0)->HitTest(200, 150), 0);
    EXPECT_EQ(Item(0)->HitTest(350, 150), -1);
}

TEST_F(TextItemTest, UndoRedoAndReopeningKeepTheTextAndTypingHoldsTheBoxInPlace) {
    canvas.Drag(100, 300, 300, 250); // upwards: the first point is the lower one
    canvas.Pump();
    CTextItem* item = Item(0);
    const HWND popup = NewestPopup();
    const HWND edit = ::GetDlgItem(popup, IDC_TEXT_EDIT);
    for (int line = 0; line < 4; ++line)
        SendKeys(edit, L"Line\r");
    EXPECT_EQ(item->GetViewRect().top, 250) << "the box grows downwards from its top";
    EXPECT_EQ(item->GetViewRect().bottom, RectIn(canvas.Surface(), popup).bottom + 1);

    // Neither moves nor resizes while typing.
    const RECT typing = item->GetImageRect();
    item->Offset(30, 30, 30, 30);
    item->MoveHandle(500, 500, 500, 500, 5);
    const RECT after = item->GetImageRect();
    EXPECT_TRUE(::EqualRect(&typing, &after));

    canvas.ClearTool();
    canvas.Press(700, 550);
    canvas.Release(700, 550);
    canvas.Pump();
    const std::wstring typed = L"Line\r\nLine\r\nLine\r\nLine\r\n";
    EXPECT_EQ(item->GetText(), typed);
    EXPECT_NE(::GetFocus(), edit) << "keys typed next would change the hidden text";
    auto white = [&] { return Pixels(PrintSurface(canvas.Surface()).get()).At(290, 258); };
    EXPECT_TRUE(Near(white(), RGB(255, 255, 255), 16));
    canvas.Panel().Undo();
    EXPECT_EQ(white(), kPicture);
    canvas.Panel().Redo();
    EXPECT_TRUE(Near(white(), RGB(255, 255, 255), 16));
    EXPECT_EQ(item->GetText(), typed);

    // The pointer's double click opens the popup again with the same text,
    // at the size the box shows it.
    canvas.Panel().SetZoom(0.5f, 0.5f);
    item->BeginEdit();
    EXPECT_TRUE(::IsWindowVisible(popup));
    EXPECT_EQ(WindowText(edit), typed);
    EXPECT_EQ(::GetFocus(), edit);
    EXPECT_EQ(RectIn(canvas.Surface(), popup).left, 51);
    LOGFONTW shown{}, drawn{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(edit, WM_GETFONT, 0, 0)), sizeof(shown),
                 &shown);
    ::GetObjectW(item->GetFont(), sizeof(drawn), &drawn);
    EXPECT_NEAR(shown.lfHeight, drawn.lfHeight / 2.0, 0.5);

    // Deleting the box while it is typed into takes the popup along.
    canvas.Panel().SetSelectedItem(item);
    canvas.Panel().DeleteSelectedItem();
    canvas.Pump();
    EXPECT_FALSE(::IsWindow(popup));
    EXPECT_TRUE(canvas.Panel().GetItems().empty());
}

} // namespace
