#include "controls/auto_size_edit.h"
#include "controls/edit_ex.h"
#include "controls/focused_edit.h"
#include "controls/history_combo.h"
#include "controls/window_text.h"
#include "framework/handles.h"

#include "support/test_window.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

class CFocusedEditTestDriver {
public:
    static HFONT Font(const CFocusedEdit& edit) noexcept { return edit.m_font.get(); }
};

namespace {

int ClientHeight(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    return client.bottom;
}

// The height of a line in the edit's font.
int LineHeight(HWND edit) {
    fw::WindowDc dc(edit);
    fw::SelectionGuard select(dc.get(),
                              reinterpret_cast<HFONT>(::SendMessageW(edit, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc.get(), &metrics);
    return metrics.tmHeight;
}

class EditControlsTest : public ::testing::Test {
protected:
    TestHost host{RECT{200, 200, 700, 500}, RGB(200, 200, 200)};
};

TEST_F(EditControlsTest, AutoSizeEditGrowsByAThirdOrToTheNeededHeightAndNeverShrinks) {
    // A container plays the popup that shows the edit.
    fw::Window container(::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 10, 200,
                                           30, host.Hwnd(), nullptr, nullptr, nullptr));
    CAutoSizeEdit edit;
    ASSERT_TRUE(edit.Create(L"EDIT", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN, 0,
                            RECT{0, 0, 200, 30}, container.get(), 1052));
    fw::GdiFont font(::CreateFontW(-16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, L"Arial"));
    ::SendMessageW(edit.Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    const int line = LineHeight(edit.Hwnd());
    auto showIn = [&](int width, int height) {
        ::SetWindowPos(container.get(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
        edit.Cover(width, height);
    };

    // A line that fits changes nothing; the line break that needs a second
    // line grows the container by a third, not just to what is needed.
    const int small = 2 * line - 2;
    showIn(200, small);
    SendKeys(edit.Hwnd(), L"first");
    EXPECT_EQ(ClientHeight(container.get()), small);
    SendKeys(edit.Hwnd(), L"\r");
    const int grown = std::max(2 * line, small + small / 3);
    EXPECT_EQ(ClientHeight(container.get()), grown);
    EXPECT_GT(ClientHeight(edit.Hwnd()), grown) << "the edit keeps room below";

    // Far over: the whole needed height at once.
    ::SetWindowTextW(edit.Hwnd(), L"1\r\n2\r\n3\r\n4\r\n5\r\n6");
    ASSERT_GT(6 * line, grown + grown / 3);
    EXPECT_EQ(ClientHeight(container.get()), 6 * line);

    // Deleting never shrinks.
    ::SetWindowTextW(edit.Hwnd(), L"x");
    SendKeys(edit.Hwnd(), L"\b");
    EXPECT_EQ(ClientHeight(container.get()), 6 * line);

    // Typed into a narrow edit one line high, every key is kept and every
    // line shown: the edit re-wraps earlier lines as a key goes in.
    showIn(120, line);
    ::SetWindowTextW(edit.Hwnd(), L"");
    const std::wstring typed =
        L"alpha beta gamma delta epsilon zeta eta theta iota kappa lambda mu nu";
    SendKeys(edit.Hwnd(), typed);
    EXPECT_EQ(WindowText(edit.Hwnd()), typed);
    const auto lines = static_cast<int>(::SendMessageW(edit.Hwnd(), EM_GETLINECOUNT, 0, 0));
    EXPECT_GT(lines, 3);
    EXPECT_GE(ClientHeight(container.get()), lines * line);
}

class ClickCounter : public CEditExEvents {
public:
    void OnEditClicked() override { ++clicks; }
    int clicks = 0;
};

TEST_F(EditControlsTest, EditExTellsEachListenerOfAClickAndStillPlacesTheCaret) {
    CEditEx edit;
    ASSERT_TRUE(edit.Create(L"EDIT", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, RECT{10, 10, 300, 40},
                            host.Hwnd(), 1024, L"123456789"));
    ClickCounter first, second;
    edit.AddListener(&first);
    edit.AddListener(&second);
    ::SendMessageW(edit.Hwnd(), EM_SETSEL, 0, 0);

    const LRESULT end = ::SendMessageW(edit.Hwnd(), EM_POSFROMCHAR, 8, 0);
    ::SendMessageW(edit.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, end);
    ::SendMessageW(edit.Hwnd(), WM_LBUTTONUP, 0, end);
    EXPECT_EQ(first.clicks, 1);
    EXPECT_EQ(second.clicks, 1);
    DWORD caret = 0;
    ::SendMessageW(edit.Hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
    EXPECT_GT(caret, 0u) << "the click did not reach the edit";
    EXPECT_EQ(::GetFocus(), edit.Hwnd());

    // The middle button is not a click.
    ::SendMessageW(edit.Hwnd(), WM_MBUTTONDOWN, MK_MBUTTON, end);
    EXPECT_EQ(first.clicks, 1);
    edit.RemoveListener(&first);
    edit.RemoveListener(&second);
}

TEST_F(EditControlsTest, FocusedEditDropsItsMarginsOnResizeAndOwnsItsFont) {
    CFocusedEdit edit;
    ASSERT_TRUE(edit.Create(L"EDIT", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, RECT{10, 10, 200, 60},
                            host.Hwnd(), 1));
    fw::GdiFont first(::CreateFontW(-20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, L"Arial"));
    const HFONT firstHandle = first.get();
    edit.SetOwnedFont(std::move(first));
    EXPECT_EQ(::SendMessageW(edit.Hwnd(), WM_GETFONT, 0, 0),
              reinterpret_cast<LRESULT>(firstHandle));

    ::SendMessageW(edit.Hwnd(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(6, 6));
    ::SetWindowPos(edit.Hwnd(), nullptr, 0, 0, 250, 60, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(::SendMessageW(edit.Hwnd(), EM_GETMARGINS, 0, 0), 0);

    // A new font replaces the old one, which is deleted.
    edit.SetOwnedFont(
        fw::GdiFont(::CreateFontW(-12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, L"Arial")));
    EXPECT_EQ(::GetObjectType(firstHandle), 0u);
    EXPECT_EQ(::SendMessageW(edit.Hwnd(), WM_GETFONT, 0, 0),
              reinterpret_cast<LRESULT>(CFocusedEditTestDriver::Font(edit)));
}

class HistoryComboTest : public EditControlsTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | CBS_SORT | CBS_AUTOHSCROLL,
                                 RECT{10, 10, 300, 200}, host.Hwnd(), 1080));
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        ASSERT_TRUE(::GetComboBoxInfo(combo.Hwnd(), &info));
        edit = info.hwndItem;
    }

    std::vector<std::wstring> Entries(HWND window) const {
        std::vector<std::wstring> entries;
        const int count = static_cast<int>(::SendMessageW(window, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t text[256]{};
            ::SendMessageW(window, CB_GETLBTEXT, static_cast<WPARAM>(i),
                           reinterpret_cast<LPARAM>(text));
            entries.emplace_back(text);
        }
        return entries;
    }
    std::vector<std::wstring> Entries() const { return Entries(combo.Hwnd()); }

    CHistoryCombo combo;
    HWND edit = nullptr;
};

TEST_F(HistoryComboTest, KeepsTenRecentEntriesStrippedOfBlanksWithoutCaseDuplicates) {
    EXPECT_EQ(::GetWindowLongPtrW(combo.Hwnd(), GWL_STYLE) & CBS_SORT, 0)
        << "a sorted list would reorder the history";
    EXPECT_EQ(combo.AddToHistory(L"  zeta.example.com  "), 0);
    combo.AddToHistory(L"\talpha\t");
    combo.AddToHistory(L"Beta");
    combo.AddToHistory(L"gamma");
    combo.AddToHistory(L"delta");
    EXPECT_EQ(Entries(), (std::vector<std::wstring>{L"delta", L"gamma", L"Beta", L"\talpha\t",
                                                    L"zeta.example.com"}));
    EXPECT_EQ(::SendMessageW(combo.Hwnd(), CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(WindowText(combo.Hwnd()), L"delta");

    // The same text in other letters moves to the top as typed now.
    combo.AddToHistory(L"BETA");
    EXPECT_EQ(Entries(), (std::vector<std::wstring>{L"BETA", L"delta", L"gamma", L"\talpha\t",
                                                    L"zeta.example.com"}));

    for (int i = 1; i <= 5; ++i)
        combo.AddToHistory(L"server" + std::to_wstring(i));
    ASSERT_EQ(Entries().size(), 10u);
    EXPECT_EQ(Entries().back(), L"zeta.example.com");
    combo.AddToHistory(L"eleventh");
    EXPECT_EQ(Entries().size(), 10u);
    EXPECT_EQ(Entries().front(), L"eleventh");
    EXPECT_EQ(Entries().back(), L"\talpha\t") << "the oldest entry must go";
}

TEST_F(HistoryComboTest, TypingCompletesAPrefixBackspaceDoesNotAndOnlyAddressCharactersPass) {
    combo.AddToHistory(L"other.example.com");
    combo.AddToHistory(L"Server.example.com:8080");
    combo.AddToHistory(L"sea");
    ::SetWindowTextW(combo.Hwnd(), L"");

    SendKeys(edit, L"se");
    EXPECT_EQ(WindowText(combo.Hwnd()), L"sea") << "the first entry beginning with it";
    SendKeys(edit, L"r");
    EXPECT_EQ(WindowText(combo.Hwnd()), L"Server.example.com:8080");
    DWORD start = 0, end = 0;
    ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 3u);
    EXPECT_EQ(end, 23u) << "the completed rest is selected";

    // Backspace removes the selected rest and does not complete again.
    SendKeys(edit, L"\b");
    EXPECT_EQ(WindowText(combo.Hwnd()), L"Ser");

    // Blanks and the characters of other syntax never arrive.
    ::SetWindowTextW(combo.Hwnd(), L"");
    SendKeys(edit, L"x y=1&z_2");
    EXPECT_EQ(WindowText(combo.Hwnd()), L"xy1z2");
    ::SendMessageW(edit, WM_CHAR, 0x16, 1); // Ctrl+V's character
    ::SendMessageW(edit, WM_CHAR, L'\t', 1);
    EXPECT_EQ(WindowText(combo.Hwnd()), L"xy1z2");
}

TEST_F(HistoryComboTest, StoresAndLoadsTheHistoryWithTheCurrentText) {
    combo.AddToHistory(L"first.example.com");
    combo.AddToHistory(L"second.example.com");
    ::SetWindowTextW(combo.Hwnd(), L"typed.example.com");
    fw::Archive stored;
    ASSERT_TRUE(combo.Serialize(stored));
    // Storing adds what was typed to the history first.
    EXPECT_EQ(Entries(), (std::vector<std::wstring>{L"typed.example.com", L"second.example.com",
                                                    L"first.example.com"}));

    CHistoryCombo other;
    ASSERT_TRUE(other.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, RECT{10, 100, 300, 300},
                             host.Hwnd(), 1081));
    other.AddToHistory(L"to be replaced");
    fw::Archive loaded(stored.Bytes());
    ASSERT_TRUE(other.Serialize(loaded));
    EXPECT_EQ(Entries(other.Hwnd()), Entries());
    EXPECT_EQ(::SendMessageW(other.Hwnd(), CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(WindowText(other.Hwnd()), L"typed.example.com");

    // A current text that is no entry comes back as the edit's text.
    fw::Archive handMade;
    handMade.WriteCount(1);
    handMade.WriteString(L"only.example.com");
    handMade.WriteString(L"half-typed");
    fw::Archive reread(handMade.Bytes());
    ASSERT_TRUE(other.Serialize(reread));
    EXPECT_EQ(Entries(other.Hwnd()), std::vector<std::wstring>{L"only.example.com"});
    EXPECT_EQ(WindowText(other.Hwnd()), L"half-typed");

    // Cut short: loading fails.
    std::vector<std::byte> shortBytes = handMade.Bytes();
    shortBytes.resize(shortBytes.size() - 3);
    fw::Archive truncated(std::move(shortBytes));
    EXPECT_FALSE(other.Serialize(truncated));
}

} // namespace
