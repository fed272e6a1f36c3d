// Text boxes on the canvas: dragged out, typed into through their popup,
// shown once typing ends, wherever and at whatever zoom the picture is drawn.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "canvas/simple_item_factories.h"
#include "canvas/text_item.h"
#include "canvas/text_layout.h"
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
    const Picture pixels = ReadPixels(bitmap);
    RECT bounds{};
    for (int y = 0; y < pixels.height; ++y) {
        for (int x = 0; x < pixels.width; ++x) {
            const COLORREF c = pixels.At(x, y);
            const RECT dot{x, y, x + 1, y + 1};
            if (GetBValue(c) > 180 && GetRValue(c) < 100 && GetGValue(c) < 100)
                ::UnionRect(&bounds, &bounds, &dot);
        }
    }
    return bounds;
}

// The columns of ink (the item's blue, at least about a third covering) in
// an area of a picture; right is exclusive, and right <= left when there is
// none.
struct InkSpan {
    int left = 0;
    int right = 0;
    bool Empty() const { return right <= left; }
};
InkSpan InkIn(const Picture& pixels, const RECT& area) {
    InkSpan span{area.right, area.left};
    for (int y = std::max(0L, area.top); y < std::min<LONG>(pixels.height, area.bottom); ++y) {
        for (int x = std::max(0L, area.left); x < std::min<LONG>(pixels.width, area.right); ++x) {
            const COLORREF c = pixels.At(x, y);
            if (GetBValue(c) > 170 && GetRValue(c) < 170 && GetGValue(c) < 170) {
                span.left = std::min(span.left, x);
                span.right = std::max(span.right, x + 1);
            }
        }
    }
    return span;
}

// How wide a line of text is in a font, its trailing blanks left out.
int TextWidth(HFONT font, std::wstring text) {
    text.erase(text.find_last_not_of(L" \t") + 1);
    fw::MemoryDc dc(::CreateCompatibleDC(nullptr));
    fw::SelectionGuard select(dc.get(), font);
    SIZE size{};
    ::GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
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
    // The popup being typed into: the visible dialog on the surface (else
    // the first one).
    HWND NewestPopup() {
        HWND first = ::FindWindowExW(canvas.Surface(), nullptr, L"#32770", nullptr);
        for (HWND popup = first; popup;
             popup = ::FindWindowExW(canvas.Surface(), popup, L"#32770", nullptr)) {
            if (::IsWindowVisible(popup))
                return popup;
        }
        return first;
    }
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
    SavePicture(CaptureClient(canvas.Surface()), L"text_while_typing");
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
    SavePicture(CaptureClient(canvas.Surface()), L"text_after_typing");
    popupObject.RemoveListener(&counter);
}

TEST_F(TextItemTest, ClicksEscapeUndoRedoReopeningScrollingAndDeletingWhileTyping) {
    // A click opens a box of a default size at the click: one line high and
    // 200 pixels wide, committed, so that what is typed is seen.
    canvas.Press(50, 50);
    canvas.Release(50, 50);
    canvas.Pump();
    ASSERT_EQ(canvas.Panel().GetItems().size(), 1u);
    const HWND clicked = NewestPopup();
    EXPECT_TRUE(::IsWindowVisible(clicked));
    const int line = LineHeightOf(Item(0)->GetFont());
    const RECT opened = RectIn(canvas.Surface(), clicked), oneLine{51, 51, 249, 51 + line};
    EXPECT_TRUE(::EqualRect(&opened, &oneLine));
    // Escape ends typing and keeps the text.
    const HWND clickedEdit = ::GetDlgItem(clicked, IDC_TEXT_EDIT);
    SendKeys(clickedEdit, L"ok");
    ::SendMessageW(clickedEdit, WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_FALSE(::IsWindowVisible(clicked));
    EXPECT_EQ(Item(0)->GetText(), L"ok");
    // Hidden, the editor never takes the keyboard back (as a closing dialog
    // would give it back to where it was when the dialog opened).
    ::SetFocus(clickedEdit);
    EXPECT_EQ(::GetFocus(), canvas.Surface());

    // Dragged upwards, the next box still grows downwards from its top, and
    // it holds still while typed in.
    canvas.Drag(100, 300, 300, 250);
    canvas.Pump();
    ASSERT_EQ(canvas.Panel().GetItems().size(), 2u);
    CTextItem* item = Item(1);
    const HWND popup = NewestPopup();
    ASSERT_NE(popup, clicked);
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
        return ReadPixels(PrintSurface(canvas.Surface()).get()).At(x, y);
    };
    EXPECT_TRUE(ColorsClose(shown(290, 258), RGB(255, 255, 255), 16));
    canvas.Panel().Undo();
    EXPECT_EQ(shown(290, 258), kPicture);
    canvas.Panel().Redo();
    EXPECT_TRUE(ColorsClose(shown(290, 258), RGB(255, 255, 255), 16));
    EXPECT_EQ(item->GetText(), typed);

    // The pointer's double click opens the popup again with the same text,
    // over the box's corner, at the size the text has in the picture.
    canvas.Panel().SetZoom(0.5f, 0.5f);
    item->BeginEdit();
    EXPECT_TRUE(::IsWindowVisible(popup));
    EXPECT_EQ(WindowText(edit), typed);
    EXPECT_EQ(::GetFocus(), edit);
    const RECT reopened = RectIn(canvas.Surface(), popup);
    EXPECT_EQ(reopened.left, 51);
    EXPECT_EQ(reopened.top, 126);
    EXPECT_EQ(reopened.right - reopened.left, 198);
    EXPECT_EQ(::SendMessageW(edit, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(item->GetFont()));
    // The popup follows its box as the view zooms and scrolls (at actual
    // size, where the picture is larger than the surface and can scroll).
    canvas.Panel().SetZoom(1.0f, 1.0f);
    EXPECT_EQ(RectIn(canvas.Surface(), popup).left, 101);
    EXPECT_EQ(RectIn(canvas.Surface(), popup).top, 251);
    CLumvexDlgEvents& scroll = canvas.Panel();
    scroll.OnScrollHorz(nullptr, 20);
    scroll.OnScrollVert(nullptr, 6);
    EXPECT_EQ(RectIn(canvas.Surface(), popup).left, 81);
    EXPECT_EQ(RectIn(canvas.Surface(), popup).top, 245);
    EXPECT_TRUE(::IsWindowVisible(popup));
    scroll.OnScrollHorz(nullptr, 0);
    scroll.OnScrollVert(nullptr, 0);
    canvas.Panel().SetZoom(0.5f, 0.5f);

    // Emptied, the box is not drawn, yet it is still hit.
    ::SetWindowTextW(edit, L"");
    EndTyping();
    EXPECT_EQ(item->GetText(), L"");
    EXPECT_EQ(shown(145, 129), kPicture);
    EXPECT_EQ(item->HitTest(200, 280), 0);

    // Deleting the box while it is typed into ends typing; undo brings the
    // box back with what was typed, at its place, and redo deletes it again.
    item->BeginEdit();
    SendKeys(edit, L"kept");
    canvas.Panel().SetSelectedItem(item);
    canvas.Panel().DeleteSelectedItem();
    canvas.Pump();
    EXPECT_FALSE(::IsWindowVisible(popup));
    ASSERT_EQ(canvas.Panel().GetItems().size(), 1u);
    canvas.Panel().Undo();
    ASSERT_EQ(canvas.Panel().GetItems().size(), 2u);
    EXPECT_EQ(Item(1), item);
    EXPECT_EQ(item->GetText(), L"kept");
    EXPECT_EQ(canvas.Panel().GetSelectedItem(), item);
    canvas.Panel().Redo();
    EXPECT_EQ(canvas.Panel().GetItems().size(), 1u);

    // Zoomed out, the editor is wider than its box: at the surface's right
    // edge it moves left, so that the ends of the lines stay in sight.
    canvas.SelectTool<CTextItemFactory>();
    canvas.Drag(500, 400, 630, 430);
    canvas.Pump();
    const RECT nearEdge = RectIn(canvas.Surface(), NewestPopup());
    RECT surface{};
    ::GetClientRect(canvas.Surface(), &surface);
    EXPECT_EQ(nearEdge.right, surface.right);
    EXPECT_EQ(nearEdge.right - nearEdge.left, 258);
}

// The text lands inside its box at the box's scale wherever the picture is
// drawn: flattened while still typed, scrolled, repainted in part, fitted.
TEST_F(TextItemTest, TextStaysInItsBoxThroughScrollPartialRepaintZoomAndFlattening) {
    canvas.Drag(40, 40, 260, 130);
    canvas.Pump();
    const HWND popup = NewestPopup();
    SendKeys(::GetDlgItem(popup, IDC_TEXT_EDIT), L"Text stays inside its box at every zoom");
    const RECT box{41, 41, 259, 129}; // inside the border

    // Still typing: the output ends typing first, and holds the box.
    const RECT flat = InkBounds(canvas.Panel().GetFlattenedBitmap().get());
    EXPECT_FALSE(::IsWindowVisible(popup));
    EXPECT_EQ(::GetFocus(), canvas.Surface());
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
    const Picture onScreen = CaptureClient(canvas.Surface());
    const Picture whole = ReadPixels(PrintSurface(canvas.Surface()).get());
    int differing = 0;
    for (int y = 0; y < 140; ++y) {
        for (int x = 0; x < 260; ++x)
            differing += onScreen.At(x, y) != whole.At(x, y) ? 1 : 0;
    }
    EXPECT_EQ(differing, 0);

    const float fit = 0.8f;
    canvas.Panel().SetZoom(fit, fit);
    const fw::GdiBitmap fitted = PrintSurface(canvas.Surface());
    SavePicture(ReadPixels(fitted.get()), L"text_fitted");
    // Drawn at the view's own resolution, the font is hinted at another
    // pixel size, so a line's length may differ by a few percent; where the
    // text starts, its lines and its scale stay those of the picture.
    const RECT scaled = InkBounds(fitted.get());
    EXPECT_NEAR(scaled.left, flat.left * fit, 2);
    EXPECT_NEAR(scaled.top, flat.top * fit, 2);
    EXPECT_NEAR(scaled.bottom, flat.bottom * fit, 2);
    EXPECT_NEAR(scaled.right, flat.right * fit, 2 + 0.05 * (flat.right - flat.left) * fit);
}

// What the editor showed is what the screen shows at every zoom and what
// the flattened picture holds: the same lines, each as long as in the
// editor, none cut at the bottom, and no key lost while typing.
TEST_F(TextItemTest, EditorScreenAtEveryZoomAndOutputShowTheSameLines) {
    // Texts that wrapped otherwise in the picture than in the editor, one
    // with a line break, one with words too long for the box; the narrow
    // box lost keys.
    const struct {
        const wchar_t* text;
        int width;
    } rows[] = {
        {L"Please check the invoice header, then resubmit", 160},
        {L"Line one\rand a second line that wraps around the box's right edge", 230},
        {L"Supercalifragilisticexpialidocious wordsthatdonotfitanywhere at all", 160},
        {L"alpha beta gamma delta epsilon zeta eta theta iota kappa lambda mu nu", 230},
        {L"Wrong VAT rate (19% instead of 7%) applied to books in cart", 160},
    };
    for (const auto& row : rows) {
        for (const float zoom : {0.5f, 0.8f, 0.9f, 1.0f, 1.37f}) {
            SCOPED_TRACE(testing::Message() << "zoom " << zoom << ", " << row.width << " px: "
                                            << std::string(row.text, row.text + wcslen(row.text)));
            canvas.Panel().SetBitmap(MakePicture(800, 600, kPicture));
            canvas.Panel().SetZoom(zoom, zoom);
            canvas.SelectTool<CTextItemFactory>();
            canvas.Drag(20, 20, 20 + row.width, 60);
            canvas.Pump();
            ASSERT_EQ(canvas.Panel().GetItems().size(), 1u);
            CTextItem* item = Item(0);
            const HWND edit = ::GetDlgItem(NewestPopup(), IDC_TEXT_EDIT);
            SendKeys(edit, row.text);
            std::wstring typed = row.text;
            for (size_t at = typed.find(L'\r'); at != std::wstring::npos;
                 at = typed.find(L'\r', at))
                typed.insert(++at, L"\n");
            EXPECT_EQ(WindowText(edit), typed) << "keys lost";
            const std::vector<EditLine> lines = EditLines(edit);
            EndTyping();

            // Line by line, as tall as the font's lines, inside the border;
            // below the last, the rest of the box holds no ink.
            const RECT box = item->GetImageRect();
            const int lineHeight = LineHeightOf(item->GetFont());
            const Picture flat = ReadPixels(canvas.Panel().GetFlattenedBitmap().get());
            const Picture screen = ReadPixels(PrintSurface(canvas.Surface()).get());
            for (size_t i = 0; i <= lines.size(); ++i) {
                const int top = box.top + 1 + static_cast<int>(i) * lineHeight;
                const int bottom = i < lines.size() ? top + lineHeight : box.bottom - 1;
                // As far as the editor shows it: its own width cuts it.
                const int inEditor = i < lines.size()
                                         ? std::min<int>(TextWidth(item->GetFont(), lines[i].text),
                                                         box.right - box.left - 2)
                                         : 0;
                const InkSpan out = InkIn(flat, RECT{box.left + 1, top, box.right - 1, bottom});
                EXPECT_NEAR(out.Empty() ? 0 : out.right - (box.left + 1), inEditor, 4)
                    << "line " << i << " of " << lines.size() << " in the picture";
                // On the screen a line is drawn in the font at the view's
                // size, where glyphs may come out a pixel wider.
                const RECT view{static_cast<LONG>(std::ceil((box.left + 1) * zoom)),
                                static_cast<LONG>(std::ceil(top * zoom)) + 1,
                                static_cast<LONG>(std::floor((box.right - 1) * zoom)),
                                static_cast<LONG>(std::floor(bottom * zoom)) - 1};
                const InkSpan shown = InkIn(screen, view);
                EXPECT_NEAR(shown.Empty() ? 0 : shown.right - view.left, inEditor * zoom,
                            4 + 0.03 * inEditor * zoom)
                    << "line " << i << " of " << lines.size() << " on the screen";
            }
        }
    }
}

} // namespace
