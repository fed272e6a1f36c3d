#include "framework/control.h"

#include "framework/handles.h"
#include "framework/scripted_dialog.h"
#include "support/message_pump.h"
#include "support/picture.h"
#include "support/test_resources.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace {

constexpr UINT kOwnMessage = WM_APP + 3;
constexpr LRESULT kNotifyAnswer = 77;

// Paints itself in one colour: the background of a static through
// WM_CTLCOLORSTATIC, the whole face of an owner-drawn button through
// WM_DRAWITEM, both reflected by the parent.
class PaintingControl : public fw::Control {
public:
    explicit PaintingControl(COLORREF color) : m_color(color), m_brush(::CreateSolidBrush(color)) {}

    std::vector<UINT> own;
    std::vector<UINT> reflected;
    bool takeCommands = true;

    bool OnReflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        reflected.push_back(message);
        switch (message) {
        case WM_CTLCOLORSTATIC:
            ::SetBkColor(reinterpret_cast<HDC>(wParam), m_color);
            result = reinterpret_cast<LRESULT>(m_brush.get());
            return true;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            ::FillRect(item->hDC, &item->rcItem, m_brush.get());
            result = TRUE;
            return true;
        }
        case WM_COMMAND:
            return takeCommands;
        case WM_NOTIFY:
            result = kNotifyAnswer;
            return true;
        default:
            return false;
        }
    }

protected:
    bool HandleMessage(UINT message, WPARAM, LPARAM, LRESULT& result) override {
        own.push_back(message);
        if (message != kOwnMessage)
            return false;
        result = 5;
        return true;
    }

private:
    COLORREF m_color;
    fw::GdiBrush m_brush;
};

bool Has(const std::vector<UINT>& messages, UINT message) {
    return std::find(messages.begin(), messages.end(), message) != messages.end();
}

// The share of a window's client area in the colour.
double Coverage(HWND window, COLORREF color) {
    const Picture picture = CaptureClient(window);
    if (picture.empty())
        return 0.0;
    return static_cast<double>(picture.Count(color, 8)) / (picture.width * picture.height);
}

class ControlBinding : public testing::Test {
protected:
    void SetUp() override {
        dialog.onBind = [this](ScriptedDialog& self) {
            EXPECT_TRUE(self.Bind(label, IDC_TEST_LABEL));
            EXPECT_TRUE(self.Bind(button, IDC_TEST_OWNERDRAW));
        };
        // The dialog's own background, to tell it from the controls'.
        dialog.onMessage = [this](UINT message, WPARAM, LPARAM, LRESULT& result) {
            if (message != WM_CTLCOLORDLG)
                return false;
            result = reinterpret_cast<LRESULT>(dialogBrush.get());
            return true;
        };
        ASSERT_TRUE(dialog.Create(nullptr));
        ::RedrawWindow(dialog.Hwnd(), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpMessages(50);
    }

    static constexpr COLORREF kLabelColor = RGB(230, 20, 20);
    static constexpr COLORREF kButtonColor = RGB(20, 20, 230);
    static constexpr COLORREF kDialogColor = RGB(20, 200, 20);
    PaintingControl label{kLabelColor};
    PaintingControl button{kButtonColor};
    fw::GdiBrush dialogBrush{::CreateSolidBrush(kDialogColor)};
    ScriptedDialog dialog{IDD_TEST_VISIBLE};
};

TEST_F(ControlBinding, ABoundControlGetsItsOwnMessages) {
    HWND window = dialog.Item(IDC_TEST_LABEL);
    EXPECT_EQ(label.Hwnd(), window);
    EXPECT_EQ(label.ControlId(), IDC_TEST_LABEL);
    EXPECT_EQ(fw::Control::FromHandle(window), &label);
    EXPECT_EQ(::SendMessageW(window, kOwnMessage, 0, 0), 5);
    EXPECT_TRUE(Has(label.own, kOwnMessage));
    // Unhandled messages keep the control's own behaviour.
    EXPECT_TRUE(::SetWindowTextW(window, L"changed"));
    wchar_t text[16]{};
    ::GetWindowTextW(window, text, 16);
    EXPECT_STREQ(text, L"changed");
}

TEST_F(ControlBinding, TheParentReflectsColourAndDrawingSoControlsPaintThemselves) {
    EXPECT_TRUE(Has(label.reflected, WM_CTLCOLORSTATIC));
    EXPECT_TRUE(Has(button.reflected, WM_DRAWITEM));
    EXPECT_FALSE(Has(label.reflected, WM_DRAWITEM));
    EXPECT_FALSE(Has(button.reflected, WM_CTLCOLORSTATIC));

    // What the screen shows: each control in its colour, the dialog in its own
    // (WM_CTLCOLORDLG is the dialog's, and its brush is answered directly).
    EXPECT_GT(Coverage(dialog.Item(IDC_TEST_LABEL), kLabelColor), 0.5);
    EXPECT_GT(Coverage(dialog.Item(IDC_TEST_OWNERDRAW), kButtonColor), 0.99);
    EXPECT_GT(Coverage(dialog.Hwnd(), kDialogColor), 0.5);
    if (HasFailure())
        SaveClientPng(dialog.Hwnd(), L"ControlBinding.Paint.png");
}

TEST_F(ControlBinding, AReflectedCommandReachesTheDialogOnlyWhenTheControlLeavesIt) {
    HWND window = dialog.Item(IDC_TEST_OWNERDRAW);
    ::SendMessageW(window, BM_CLICK, 0, 0);
    EXPECT_TRUE(Has(button.reflected, WM_COMMAND));
    EXPECT_EQ(std::count(dialog.commands.begin(), dialog.commands.end(), IDC_TEST_OWNERDRAW), 0);

    button.takeCommands = false;
    ::SendMessageW(window, BM_CLICK, 0, 0);
    EXPECT_EQ(std::count(dialog.commands.begin(), dialog.commands.end(), IDC_TEST_OWNERDRAW), 1);
}

TEST_F(ControlBinding, AReflectedNotificationAnswersTheSender) {
    NMHDR header{dialog.Item(IDC_TEST_LABEL), IDC_TEST_LABEL, NM_CLICK};
    EXPECT_EQ(
        ::SendMessageW(dialog.Hwnd(), WM_NOTIFY, IDC_TEST_LABEL, reinterpret_cast<LPARAM>(&header)),
        kNotifyAnswer);
    EXPECT_TRUE(Has(label.reflected, WM_NOTIFY));

    // Without the structure there is nothing to reflect, and nothing breaks.
    EXPECT_EQ(::SendMessageW(dialog.Hwnd(), WM_NOTIFY, IDC_TEST_LABEL, 0), 0);
    EXPECT_EQ(::SendMessageW(dialog.Hwnd(), WM_DRAWITEM, IDC_TEST_OWNERDRAW, 0), 0);
}

// A button moved into a static: its clicks and drawing requests go to the
// static, which passes them on to the dialog as if the button were its own.
TEST_F(ControlBinding, AContainerPassesItsChildrensMessagesOnToTheDialog) {
    fw::ControlContainer container;
    HWND placeholder = dialog.Item(IDC_TEST_PLACEHOLDER);
    ASSERT_TRUE(container.Attach(placeholder));
    EXPECT_TRUE(::GetWindowLongPtrW(placeholder, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
    HWND moved = dialog.Item(IDC_TEST_OWNERDRAW);
    ::SetParent(moved, placeholder);
    ::SetWindowPos(moved, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    button.takeCommands = false;
    button.reflected.clear();
    dialog.commands.clear();

    ::SendMessageW(moved, BM_CLICK, 0, 0);
    ::RedrawWindow(moved, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages(50);
    EXPECT_EQ(std::count(dialog.commands.begin(), dialog.commands.end(), IDC_TEST_OWNERDRAW), 1);
    EXPECT_TRUE(Has(button.reflected, WM_DRAWITEM));
    EXPECT_GT(Coverage(moved, kButtonColor), 0.99);
}

TEST_F(ControlBinding, TheBindingEndsWhenTheWindowGoesFirst) {
    HWND window = label.Hwnd();
    dialog.DestroyWindow();
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(label.Hwnd(), nullptr);
    EXPECT_EQ(button.Hwnd(), nullptr);
    EXPECT_TRUE(Has(label.own, WM_DESTROY));
    // The objects die later (at the end of the test) without touching it.
}

TEST_F(ControlBinding, TheBindingEndsWhenTheObjectGoesFirst) {
    HWND window = dialog.Item(IDC_TEST_EDIT);
    {
        PaintingControl edit(RGB(0, 0, 0));
        ASSERT_TRUE(edit.Attach(window));
        PaintingControl second(RGB(0, 0, 0));
        EXPECT_FALSE(second.Attach(window)) << "one object per window";
        EXPECT_EQ(second.Hwnd(), nullptr);
    }
    EXPECT_EQ(fw::Control::FromHandle(window), nullptr);
    // The window goes on working on its own, and nothing reaches the dead
    // object.
    EXPECT_EQ(::SendMessageW(window, kOwnMessage, 0, 0), 0);
    EXPECT_TRUE(::SetWindowTextW(window, L"still works"));
    NMHDR header{window, IDC_TEST_EDIT, NM_CLICK};
    EXPECT_EQ(
        ::SendMessageW(dialog.Hwnd(), WM_NOTIFY, IDC_TEST_EDIT, reinterpret_cast<LPARAM>(&header)),
        0);

    // And it can be bound again.
    PaintingControl again(RGB(0, 0, 0));
    EXPECT_TRUE(again.Attach(dialog.Hwnd(), IDC_TEST_EDIT));
    EXPECT_EQ(::SendMessageW(window, kOwnMessage, 0, 0), 5);
}

TEST_F(ControlBinding, CreateMakesABoundControlWindow) {
    constexpr int kId = 9200;
    PaintingControl created(RGB(200, 200, 0));
    ASSERT_TRUE(created.Create(L"STATIC", WS_CHILD | WS_VISIBLE, 0, RECT{0, 0, 40, 20},
                               dialog.Hwnd(), kId, L"x"));
    EXPECT_EQ(created.Hwnd(), dialog.Item(kId));
    EXPECT_EQ(::SendMessageW(created.Hwnd(), kOwnMessage, 0, 0), 5);
    ::UpdateWindow(created.Hwnd());
    EXPECT_TRUE(Has(created.reflected, WM_CTLCOLORSTATIC));
    created.Detach();
    EXPECT_EQ(fw::Control::FromHandle(dialog.Item(kId)), nullptr);
}

} // namespace
