// Text boxes on the canvas: dragged out, typed into through their popup,
// shown once typing ends, wherever and at whatever zoom the picture is drawn.
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

struct HiddenCounter : CDlgTextItemEvents {
    void OnTextHidden() override { ++hidden; }
    int hidden = 0;
};

// The bounds of the plainly blue pixels; empty when there are none.
RECT InkBounds(HBITMAP bitmap) {
    const Pixels pixels(bitmap);
    RECT bounds{};
    for (int y = 0; y < pixels.Height(); ++y) {
        for (int x = 0; x < pixels.Width(); ++x) {
            const COLORREF c = pixels.At(x, y);
            const RECT dot{x, y, x + 1, y + 1};
            if (GetBValue(c) > 180 && GetRValue(c) < 100 && GetGValue(c) < 100)
                ::UnionRect(&bounds, &bounds, &dot);
        }
    }
    return bounds;
}

bool Inside(const RECT& inner, const RECT& outer) {
    RECT both{};
    return ::IntersectRect(&both, &inner, &outer) && ::EqualRect(&both, &inner);
}

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
    // A press where no tool draws ends typing.
    void EndTyping() {
        canvas.ClearTool();
        canvas.Press(630, 470);
        canvas.Release(630, 470);
        canvas.Pump();
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
    EXPECT_TRUE(::IsWindowVisible(popup));
    const RECT shrunk{101, 101, 299, 149}, shown = RectIn(canvas.Surface(), popup);
    EXPECT_TRUE(::EqualRect(&shown, &shrunk)) << "the box shrunk by a pixel";
    EXPECT_EQ(::GetFocus(), edit);
    HiddenCounter counter;
    auto& popupObject = dynamic_cast<CDlgTextItem&>(*fw::Dialog::FromHandle(popup));
    popupObject.AddListener(&counter);

    ::SetForegroundWindow(canvas.Window());
    PumpUntil([&] { return ::GetForegroundWindow() == canvas.Window(); });
    ::Sleep(500); // Wine takes the key state from the X server once focused
    TypeText(L"Hello\rworld");
    EXPECT_TRUE(PumpUntil([&] { return WindowText(edit) == L"Hello\r\nworld"; }, 5000));

    // Typing past the bottom grows popup and box by a third at once; the
    // box keeps its top and stays just around the popup.
    const int before = RectIn(canvas.Surface(), popup).bottom - 101;
    for (int line = 0; line < 3 && RectIn(canvas.Surface(), popup).bottom - 101 == before; ++line)
        SendKeys(edit, L"\rmore");
    const RECT grown = RectIn(canvas.Surface(), popup);
    EXPECT_GE(grown.bottom - grown.top, before + before / 3);
    const RECT box = item->GetViewRect();
    EXPECT_EQ(box.top, 100);
    EXPECT_EQ(box.bottom, grown.bottom + 1);
    canvas.Pump();
    SavePicture(CaptureClient(canvas.Surface()).get(), L"text_while_typing");
    // Deleting never shrinks it.
    SendKeys(edit, L"\b\b\b");
    EXPECT_EQ(RectIn(canvas.Surface(), popup).bottom, grown.bottom);
    const RECT underPopup = InkBounds(PrintSurface(canvas.Surface()).get());
    EXPECT_TRUE(::IsRectEmpty(&underPopup)) << "the box is drawn under the popup";

    // A press elsewhere ends typing: the popup hides once, the box shows the
    // text in the item's colour and nothing of it lies outside the box.
    const std::wstring typed = WindowText(edit);
    canvas.Press(600, 400);
    canvas.Release(600, 400);
    canvas.Pump();
    EXPECT_FALSE(::IsWindowVisible(popup));
    EXPECT_EQ(counter.hidden, 1);
    EXPECT_EQ(item->GetText(), typed);
    const RECT ink = InkBounds(PrintSurface(canvas.Surface()).get());
    EXPECT_GT(ink.bottom - ink.top, 40) << "three lines";
    EXPECT_TRUE(Inside(ink, box));
    SavePicture(CaptureClient(canvas.Surface()).get(), L"text_after_typing");
    popupObject.RemoveListener(&counter);
}

TEST_F(TextItemTest, ClicksEmptyBoxesUndoRedoReopeningAndDeletingWhileTyping) {
    // A click asks for the popup too, but commits nothing.
    canvas.Press(50, 50);
    canvas.Release(50, 50);
    canvas.Pump();
    EXPECT_TRUE(canvas.Panel().GetItems().empty());
    const HWND popup = NewestPopup();
    EXPECT_TRUE(::IsWindowVisible(popup));

    // The next drag takes the same item and popup. Dragged upwards, the box
    // still grows downwards from its top, and it holds still while typed in.
    canvas.Drag(100, 300, 300, 250);
    canvas.Pump();
    CTextItem* item = Item(0);
    EXPECT_EQ(NewestPopup(), popup);
    const HWND edit = ::GetDlgItem(popup, IDC_TEXT_EDIT);
    SendKeys(edit, L"Line\rLine\rLine\rLine\r");
    EXPECT_EQ(item->GetViewRect().top, 250);
    EXPECT_EQ(item->GetViewRect().bottom, RectIn(canvas.Surface(), popup).bottom + 1);
    const RECT typing = item->GetImageRect();
    item->Offset(30, 30, 30, 30);
    item->MoveHandle(500, 500, 500, 500, 5);
    const RECT after = item->GetImageRect();
    EXPECT_TRUE(::EqualRect(&typing, &after));

    EndTyping();
    const std::wstring typed = L"Line\r\nLine\r\nLine\r\nLine\r\n";
    EXPECT_EQ(item->GetText(), typed);
    EXPECT_NE(::GetFocus(), edit) << "keys typed next would change the hidden text";
    auto shown = [&](int x, int y) {
        return Pixels(PrintSurface(canvas.Surface()).get()).At(x, y);
    };
    EXPECT_TRUE(Near(shown(290, 258), RGB(255, 255, 255), 16));
    canvas.Panel().Undo();
    EXPECT_EQ(shown(290, 258), kPicture);
    canvas.Panel().Redo();
    EXPECT_TRUE(Near(shown(290, 258), RGB(255, 255, 255), 16));
    EXPECT_EQ(item->GetText(), typed);

    // The pointer's double click opens the popup again with the same text,
    // at the size the box shows it.
    canvas.Panel().SetZoom(0.5f, 0.5f);
    item->BeginEdit();
    EXPECT_TRUE(::IsWindowVisible(popup));
    EXPECT_EQ(WindowText(edit), typed);
    EXPECT_EQ(::GetFocus(), edit);
    EXPECT_EQ(RectIn(canvas.Surface(), popup).left, 51);
    LOGFONTW editFont{}, boxFont{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(edit, WM_GETFONT, 0, 0)), sizeof(editFont),
                 &editFont);
    ::GetObjectW(item->GetFont(), sizeof(boxFont), &boxFont);
    EXPECT_NEAR(editFont.lfHeight, boxFont.lfHeight / 2.0, 0.5);

    // Emptied, the box is not drawn, yet it is still hit.
    ::SetWindowTextW(edit, L"");
    EndTyping();
    EXPECT_EQ(item->GetText(), L"");
    EXPECT_EQ(shown(145, 129), kPicture);
    EXPECT_EQ(item->HitTest(200, 280), 0);

    // Deleting the box while it is typed into takes the popup along.
    item->BeginEdit();
    canvas.Panel().SetSelectedItem(item);
    canvas.Panel().DeleteSelectedItem();
    canvas.Pump();
    EXPECT_FALSE(::IsWindow(popup));
}

// The text lands inside its box at the box's scale wherever the picture is
// drawn: flattened, scrolled, repainted in part, fitted.
TEST_F(TextItemTest, TextStaysInItsBoxThroughScrollPartialRepaintZoomAndFlattening) {
    canvas.Drag(40, 40, 260, 130);
    canvas.Pump();
    SendKeys(::GetDlgItem(NewestPopup(), IDC_TEXT_EDIT),
             L"Text stays inside its box at every zoom");
    EndTyping();
    const RECT box{41, 41, 259, 129}; // inside the border

    const RECT flat = InkBounds(canvas.Panel().GetFlattenedBitmap().get());
    EXPECT_TRUE(Inside(flat, box));
    EXPECT_GT(flat.bottom - flat.top, 30) << "the text wraps onto a second line";

    CLumvexDlgEvents& scroll = canvas.Panel();
    scroll.OnScrollHorz(nullptr, 13);
    scroll.OnScrollVert(nullptr, 7);
    RECT shifted = InkBounds(PrintSurface(canvas.Surface()).get());
    ::OffsetRect(&shifted, 13, 7);
    EXPECT_TRUE(::EqualRect(&shifted, &flat));

    // A repaint of a band through the text leaves what a whole paint shows.
    ::UpdateWindow(canvas.Surface());
    const RECT band{60, 45, 150, 70};
    ::InvalidateRect(canvas.Surface(), &band, FALSE);
    ::UpdateWindow(canvas.Surface());
    const Pixels onScreen(CaptureClient(canvas.Surface()).get());
    const Pixels whole(PrintSurface(canvas.Surface()).get());
    int differing = 0;
    for (int y = 0; y < 140; ++y) {
        for (int x = 0; x < 260; ++x)
            differing += onScreen.At(x, y) != whole.At(x, y) ? 1 : 0;
    }
    EXPECT_EQ(differing, 0);

    const float fit = 0.8f;
    canvas.Panel().SetZoom(fit, fit);
    const fw::GdiBitmap fitted = PrintSurface(canvas.Surface());
    SavePicture(fitted.get(), L"text_fitted");
    // Drawn at the view's own resolution, the font is hinted at another
    // pixel size, so a line's length may differ by a few percent; where the
    // text starts, its lines and its scale stay those of the picture.
    const RECT scaled = InkBounds(fitted.get());
    EXPECT_NEAR(scaled.left, flat.left * fit, 2);
    EXPECT_NEAR(scaled.top, flat.top * fit, 2);
    EXPECT_NEAR(scaled.bottom, flat.bottom * fit, 2);
    EXPECT_NEAR(scaled.right, flat.right * fit, 2 + 0.05 * (flat.right - flat.left) * fit);
}

} // namespace
