#include "framework/dialog.h"

#include "support/message_pump.h"
#include "framework/scripted_dialog.h"
#include "support/test_resources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <utility>

namespace fw {
class DialogTestDriver {
public:
    static bool IsModal(const Dialog& dialog) noexcept { return dialog.m_modal; }
};
} // namespace fw

namespace {

// Handled by EndOnRequest: ends the run with wParam as the code.
constexpr UINT kEndRequest = WM_APP + 1;
// Just a message to look at.
constexpr UINT kProbe = WM_APP + 2;

void EndOnRequest(ScriptedDialog& dialog) {
    dialog.onMessage = [&dialog](UINT message, WPARAM wParam, LPARAM, LRESULT&) {
        if (message != kEndRequest)
            return false;
        dialog.EndDialog(static_cast<INT_PTR>(wParam));
        return true;
    };
}

// The IDOK and IDCANCEL commands among those a dialog received (its controls
// send notifications of their own).
std::vector<WORD> EndCommands(const std::vector<WORD>& commands) {
    std::vector<WORD> result;
    std::copy_if(commands.begin(), commands.end(), std::back_inserter(result),
                 [](WORD id) { return id == IDOK || id == IDCANCEL; });
    return result;
}

bool Saw(const std::vector<UINT>& messages, UINT message) {
    return std::find(messages.begin(), messages.end(), message) != messages.end();
}

TEST(DialogModal, EndsWithTheCodeGivenToEndDialogAndDestroysItsWindow) {
    ScriptedDialog dialog(IDD_TEST_HIDDEN);
    HWND window = nullptr;
    EndOnRequest(dialog);
    dialog.onInit = [&](ScriptedDialog& self) {
        window = self.Hwnd();
        EXPECT_TRUE(fw::DialogTestDriver::IsModal(self));
        ::PostMessageW(self.Hwnd(), kEndRequest, 42, 0);
    };

    EXPECT_EQ(dialog.DoModal(), 42);
    EXPECT_NE(window, nullptr);
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(dialog.Hwnd(), nullptr);
    EXPECT_FALSE(fw::DialogTestDriver::IsModal(dialog));
    // The dialog's own teardown (WM_DESTROY) runs at the end of every run.
    EXPECT_EQ(dialog.destroyMessages, 1);

    // The same object runs again.
    EXPECT_EQ(dialog.DoModal(), 42);
    EXPECT_EQ(dialog.destroyMessages, 2);
}

TEST(DialogModal, OkCancelTheCloseBoxAndTheirKeysEndTheRun) {
    struct Case {
        UINT message;
        WPARAM wParam;
        int targetId; // 0: the dialog itself
        INT_PTR expected;
    };
    const Case cases[] = {
        {WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0, IDOK},
        {WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0, IDCANCEL},
        {WM_CLOSE, 0, 0, IDCANCEL},
        {WM_KEYDOWN, VK_RETURN, IDC_TEST_EDIT, IDOK},
        {WM_KEYDOWN, VK_ESCAPE, IDC_TEST_EDIT, IDCANCEL},
    };
    for (const Case& c : cases) {
        ScriptedDialog dialog(IDD_TEST_HIDDEN);
        dialog.onInit = [&](ScriptedDialog& self) {
            HWND target = c.targetId ? self.Item(c.targetId) : self.Hwnd();
            ::PostMessageW(target, c.message, c.wParam, 0);
        };
        EXPECT_EQ(dialog.DoModal(), c.expected) << "message " << c.message << ", " << c.wParam;
    }
}

TEST(DialogModal, EndDialogInOnInitDialogEndsTheRunAtOnce) {
    for (UINT templateId : {IDD_TEST_HIDDEN, IDD_TEST_VISIBLE}) {
        ScriptedDialog dialog(templateId);
        HWND window = nullptr;
        dialog.onInit = [&](ScriptedDialog& self) {
            window = self.Hwnd();
            self.EndDialog(7);
        };
        EXPECT_EQ(dialog.DoModal(), 7) << templateId;
        EXPECT_FALSE(::IsWindow(window));
        EXPECT_EQ(dialog.destroyMessages, 1);
    }
    // Nothing of those runs is left in the queue for the next one.
    ScriptedDialog next(IDD_TEST_HIDDEN);
    EndOnRequest(next);
    next.onInit = [](ScriptedDialog& self) { ::PostMessageW(self.Hwnd(), kEndRequest, 3, 0); };
    EXPECT_EQ(next.DoModal(), 3);
}

TEST(DialogModal, TheQuitMessageEndsTheRunWithAbortAndIsPostedAgain) {
    ScriptedDialog dialog(IDD_TEST_HIDDEN);
    dialog.onInit = [](ScriptedDialog&) { ::PostQuitMessage(5); };
    EXPECT_EQ(dialog.DoModal(), IDABORT);
    EXPECT_EQ(dialog.destroyMessages, 1);
    int exitCode = 0;
    ASSERT_TRUE(TakeQuitMessage(&exitCode));
    EXPECT_EQ(exitCode, 5);
}

TEST(DialogModal, AQuitMessageEndsNestedRunsInnermostFirst) {
    ScriptedDialog outer(IDD_TEST_HIDDEN);
    ScriptedDialog inner(IDD_TEST_HIDDEN);
    INT_PTR innerResult = 0;
    bool outerWasEnabled = true;
    outer.onInit = [](ScriptedDialog& self) { ::PostMessageW(self.Hwnd(), kProbe, 0, 0); };
    outer.onMessage = [&](UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message != kProbe)
            return false;
        innerResult = inner.DoModal(outer.Hwnd());
        return true;
    };
    inner.onInit = [&](ScriptedDialog&) {
        outerWasEnabled = ::IsWindowEnabled(outer.Hwnd()) != FALSE;
        ::PostQuitMessage(3);
    };

    EXPECT_EQ(outer.DoModal(), IDABORT);
    EXPECT_EQ(innerResult, IDABORT);
    EXPECT_FALSE(outerWasEnabled);
    EXPECT_EQ(inner.destroyMessages, 1);
    EXPECT_EQ(outer.destroyMessages, 1);
    int exitCode = 0;
    ASSERT_TRUE(TakeQuitMessage(&exitCode));
    EXPECT_EQ(exitCode, 3);
    EXPECT_FALSE(TakeQuitMessage());
}

// A dialog that waits for a worker keeps running on the quit message, ends
// itself later, and the quit message still reaches the loops further out.
TEST(DialogModal, ADialogThatDefersTheQuitEndsLaterAndPassesTheQuitOn) {
    ScriptedDialog outer(IDD_TEST_HIDDEN);
    ScriptedDialog inner(IDD_TEST_HIDDEN);
    INT_PTR innerResult = 0;
    int quitsSeen = 0;
    bool stillRunning = false;
    outer.onInit = [](ScriptedDialog& self) { ::PostMessageW(self.Hwnd(), kProbe, 0, 0); };
    outer.onMessage = [&](UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message != kProbe)
            return false;
        innerResult = inner.DoModal(outer.Hwnd());
        return true;
    };
    inner.onInit = [](ScriptedDialog&) { ::PostQuitMessage(4); };
    inner.onQuit = [&](ScriptedDialog& self) {
        ++quitsSeen;
        ::PostMessageW(self.Hwnd(), kProbe, 0, 0);
        return false;
    };
    inner.onMessage = [&](UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message != kProbe)
            return false;
        stillRunning = ::IsWindow(inner.Hwnd()) != FALSE;
        inner.EndDialog(9);
        return true;
    };

    EXPECT_EQ(outer.DoModal(), IDABORT);
    EXPECT_EQ(innerResult, 9);
    EXPECT_EQ(quitsSeen, 1);
    EXPECT_TRUE(stillRunning);
    int exitCode = 0;
    ASSERT_TRUE(TakeQuitMessage(&exitCode));
    EXPECT_EQ(exitCode, 4);
    EXPECT_FALSE(TakeQuitMessage());
}

TEST(DialogModal, AMissingTemplateAnswersMinusOneAndLeavesTheOwnerEnabled) {
    ScriptedDialog owner(IDD_TEST_HIDDEN);
    ASSERT_TRUE(owner.Create(nullptr));
    ScriptedDialog missing(IDD_TEST_MISSING);
    bool initialised = false;
    missing.onInit = [&](ScriptedDialog&) { initialised = true; };
    EXPECT_EQ(missing.DoModal(owner.Hwnd()), -1);
    EXPECT_FALSE(initialised);
    EXPECT_TRUE(::IsWindowEnabled(owner.Hwnd()));
}

TEST(DialogModal, TheLoopNeverShowsAHiddenTemplate) {
    for (UINT templateId : {IDD_TEST_HIDDEN, IDD_TEST_VISIBLE}) {
        ScriptedDialog dialog(templateId);
        int probes = 0;
        bool everVisible = false;
        dialog.onInit = [](ScriptedDialog& self) { ::PostMessageW(self.Hwnd(), kProbe, 0, 0); };
        dialog.onMessage = [&](UINT message, WPARAM, LPARAM, LRESULT&) {
            if (message != kProbe)
                return false;
            everVisible = everVisible || ::IsWindowVisible(dialog.Hwnd());
            // Let the loop go idle between probes, as a real run would.
            if (++probes < 5)
                ::PostMessageW(dialog.Hwnd(), kProbe, 0, 0);
            else
                dialog.EndDialog(IDOK);
            return true;
        };
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(everVisible, templateId == IDD_TEST_VISIBLE) << templateId;
    }
}

TEST(DialogModal, PreTranslateMessageSeesTheDialogsMessagesAndCanSwallowThem) {
    constexpr UINT kSwallowed = WM_APP + 10;
    constexpr UINT kPassed = WM_APP + 11;
    ScriptedDialog dialog(IDD_TEST_HIDDEN);
    HWND window = nullptr;
    HWND edit = nullptr;
    EndOnRequest(dialog);
    dialog.onInit = [&](ScriptedDialog& self) {
        window = self.Hwnd();
        edit = self.Item(IDC_TEST_EDIT);
        ::PostMessageW(edit, kPassed, 1, 0);
        ::PostMessageW(self.Hwnd(), kSwallowed, 2, 0);
        ::PostMessageW(self.Hwnd(), kPassed, 3, 0);
        ::PostMessageW(self.Hwnd(), kEndRequest, IDOK, 0);
    };
    dialog.onPreTranslate = [](const MSG& message) { return message.message == kSwallowed; };

    EXPECT_EQ(dialog.DoModal(), IDOK);
    auto seen = [&](HWND target, UINT message, WPARAM wParam) {
        return std::any_of(
            dialog.preTranslated.begin(), dialog.preTranslated.end(), [&](const MSG& m) {
                return m.hwnd == target && m.message == message && m.wParam == wParam;
            });
    };
    EXPECT_TRUE(seen(edit, kPassed, 1));
    EXPECT_TRUE(seen(window, kSwallowed, 2));
    EXPECT_TRUE(seen(window, kPassed, 3));
    EXPECT_FALSE(Saw(dialog.handled, kSwallowed));
    EXPECT_TRUE(Saw(dialog.handled, kPassed));
}

TEST(DialogModal, ChildPanelsSeeTheirMessagesBeforeTheDialogThatHoldsThem) {
    constexpr UINT kShared = WM_APP + 20;
    constexpr UINT kPanelOnly = WM_APP + 21;
    ScriptedDialog dialog(IDD_TEST_HIDDEN);
    ScriptedDialog panel(IDD_TEST_PANEL);
    std::vector<std::pair<const ScriptedDialog*, UINT>> order;
    EndOnRequest(dialog);
    dialog.onInit = [&](ScriptedDialog& self) {
        ASSERT_TRUE(panel.Create(self.Hwnd()));
        ::PostMessageW(panel.Item(IDC_TEST_PANEL_EDIT), kShared, 0, 0);
        ::PostMessageW(panel.Item(IDC_TEST_PANEL_EDIT), kPanelOnly, 0, 0);
        ::PostMessageW(self.Hwnd(), kEndRequest, IDOK, 0);
    };
    dialog.onPreTranslate = [&](const MSG& message) {
        if (message.message == kShared || message.message == kPanelOnly)
            order.emplace_back(&dialog, message.message);
        return false;
    };
    // The panel swallows one of them: the dialog further out never sees it.
    panel.onPreTranslate = [&](const MSG& message) {
        if (message.message == kShared || message.message == kPanelOnly)
            order.emplace_back(&panel, message.message);
        return message.message == kPanelOnly;
    };

    EXPECT_EQ(dialog.DoModal(), IDOK);
    using Step = std::pair<const ScriptedDialog*, UINT>;
    EXPECT_EQ(order,
              (std::vector<Step>{{&panel, kShared}, {&dialog, kShared}, {&panel, kPanelOnly}}));
    // The panel went with the window that held it.
    EXPECT_EQ(panel.Hwnd(), nullptr);
    EXPECT_EQ(panel.destroyMessages, 1);
}

TEST(DialogModal, TheOwnerIsDisabledDuringTheRunAndActiveAgainAfterIt) {
    ScriptedDialog owner(IDD_TEST_VISIBLE);
    ASSERT_TRUE(owner.Create(nullptr));
    ::SetActiveWindow(owner.Hwnd());
    ASSERT_EQ(::GetActiveWindow(), owner.Hwnd());

    ScriptedDialog dialog(IDD_TEST_VISIBLE);
    bool ownerEnabled = true;
    HWND activeDuringRun = nullptr;
    EndOnRequest(dialog);
    dialog.onInit = [](ScriptedDialog& self) { ::PostMessageW(self.Hwnd(), kProbe, 0, 0); };
    dialog.onMessage = [&](UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message != kProbe)
            return false;
        ownerEnabled = ::IsWindowEnabled(owner.Hwnd()) != FALSE;
        activeDuringRun = ::GetActiveWindow();
        dialog.EndDialog(IDOK);
        return true;
    };

    EXPECT_EQ(dialog.DoModal(owner.Hwnd()), IDOK);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_NE(activeDuringRun, owner.Hwnd());
    EXPECT_TRUE(::IsWindowEnabled(owner.Hwnd()));
    EXPECT_EQ(::GetActiveWindow(), owner.Hwnd());
}

// A modal dialog opened from a child panel must disable the whole window
// the panel sits in, not just the panel.
TEST(DialogModal, AChildOwnerDisablesItsTopLevelWindow) {
    ScriptedDialog host(IDD_TEST_VISIBLE);
    ScriptedDialog panel(IDD_TEST_PANEL);
    ASSERT_TRUE(host.Create(nullptr));
    ASSERT_TRUE(panel.Create(host.Hwnd()));

    ScriptedDialog dialog(IDD_TEST_HIDDEN);
    bool hostEnabled = true;
    HWND dialogOwner = nullptr;
    dialog.onInit = [&](ScriptedDialog& self) {
        hostEnabled = ::IsWindowEnabled(host.Hwnd()) != FALSE;
        dialogOwner = ::GetWindow(self.Hwnd(), GW_OWNER);
        self.EndDialog(IDOK);
    };
    EXPECT_EQ(dialog.DoModal(panel.Hwnd()), IDOK);
    EXPECT_FALSE(hostEnabled);
    EXPECT_EQ(dialogOwner, host.Hwnd());
    EXPECT_TRUE(::IsWindowEnabled(host.Hwnd()));
    EXPECT_TRUE(::IsWindowEnabled(panel.Hwnd()));
}

TEST(DialogPanel, AChildPanelIgnoresOkAndCancelWhileAModalDialogEndsOnThem) {
    ScriptedDialog dialog(IDD_TEST_HIDDEN);
    ScriptedDialog panel(IDD_TEST_PANEL);
    bool panelAlive = false;
    bool dialogRunning = false;
    dialog.onInit = [&](ScriptedDialog& self) {
        ASSERT_TRUE(panel.Create(self.Hwnd()));
        EXPECT_FALSE(fw::DialogTestDriver::IsModal(panel));
        ::SendMessageW(panel.Hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        ::SendMessageW(panel.Hwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        ::SendMessageW(panel.Hwnd(), WM_CLOSE, 0, 0);
        ::PostMessageW(self.Hwnd(), kProbe, 0, 0);
    };
    dialog.onMessage = [&](UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message != kProbe)
            return false;
        // Still here a full loop turn later: the panel neither ended nor closed.
        panelAlive =
            ::IsWindow(panel.Hwnd()) && (::GetWindowLongPtrW(panel.Hwnd(), GWL_STYLE) & WS_VISIBLE);
        dialogRunning = true;
        ::PostMessageW(dialog.Hwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return true;
    };

    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(dialogRunning);
    EXPECT_TRUE(panelAlive);
    EXPECT_EQ(EndCommands(panel.commands), (std::vector<WORD>{IDOK, IDCANCEL, IDCANCEL}));
    EXPECT_EQ(EndCommands(dialog.commands), (std::vector<WORD>{IDCANCEL}));
}

TEST(DialogPanel, DestroyWindowRunsTheDialogsTeardownAndReleasesTheObject) {
    ScriptedDialog host(IDD_TEST_HIDDEN);
    ASSERT_TRUE(host.Create(nullptr));
    ScriptedDialog panel(IDD_TEST_PANEL);
    ASSERT_TRUE(panel.Create(host.Hwnd()));
    HWND window = panel.Hwnd();
    EXPECT_EQ(fw::Dialog::FromHandle(window), &panel);
    EXPECT_FALSE(panel.Create(host.Hwnd())) << "one window per object";

    panel.DestroyWindow();
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(panel.Hwnd(), nullptr);
    EXPECT_EQ(panel.destroyMessages, 1);

    // Created again, then destroyed with the window that holds it.
    ASSERT_TRUE(panel.Create(host.Hwnd()));
    host.DestroyWindow();
    EXPECT_EQ(panel.Hwnd(), nullptr);
    EXPECT_EQ(panel.destroyMessages, 2);
    EXPECT_EQ(host.destroyMessages, 1);
}

// A panel inside a placeholder control of a dialog: the placeholder takes the
// panel's size and the dialog's Tab order runs through the panel's controls.
TEST(DialogPanel, TabReachesTheControlsOfAPanelInsideAHostControl) {
    ScriptedDialog dialog(IDD_TEST_VISIBLE);
    ScriptedDialog panel(IDD_TEST_PANEL);
    ASSERT_TRUE(dialog.Create(nullptr));
    HWND host = dialog.Item(IDC_TEST_PLACEHOLDER);
    ASSERT_TRUE(panel.CreatePanel(host));
    EXPECT_EQ(::GetParent(panel.Hwnd()), host);
    EXPECT_TRUE(::IsWindowVisible(panel.Hwnd()));
    RECT hostRect{};
    RECT panelRect{};
    ::GetWindowRect(host, &hostRect);
    ::GetWindowRect(panel.Hwnd(), &panelRect);
    EXPECT_TRUE(::EqualRect(&hostRect, &panelRect));

    std::vector<HWND> order;
    HWND first = dialog.Item(IDC_TEST_EDIT);
    for (HWND at = first; order.size() < 12;) {
        at = ::GetNextDlgTabItem(dialog.Hwnd(), at, FALSE);
        if (!at || at == first)
            break;
        order.push_back(at);
    }
    EXPECT_NE(std::find(order.begin(), order.end(), panel.Item(IDC_TEST_PANEL_EDIT)), order.end());
    EXPECT_NE(std::find(order.begin(), order.end(), panel.Item(IDC_TEST_PANEL_BUTTON)),
              order.end());
}

TEST(DialogPanel, DestroyingTheObjectDestroysItsWindow) {
    ScriptedDialog host(IDD_TEST_HIDDEN);
    ASSERT_TRUE(host.Create(nullptr));
    HWND window = nullptr;
    {
        ScriptedDialog panel(IDD_TEST_PANEL);
        ASSERT_TRUE(panel.Create(host.Hwnd()));
        window = panel.Hwnd();
    }
    EXPECT_FALSE(::IsWindow(window));
}

} // namespace
