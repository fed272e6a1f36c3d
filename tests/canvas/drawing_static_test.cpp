// The drawing surface turns its messages into listener calls.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "canvas/drawing_static.h"
#include "support/test_window.h"

namespace {

struct Recorder : CDarwingStaticEvents {
    Recorder(std::vector<std::string>& into, const char* label) : log(into), name(label) {}
    void Note(const char* what, POINT p) {
        log.push_back(name + std::string(" ") + what + " " + std::to_string(p.x) + "," +
                      std::to_string(p.y));
    }
    void OnPaint(CDrawingStatic*, HDC dc, const RECT&) override {
        log.push_back(name + std::string(dc ? " paint" : " paint without dc"));
    }
    void OnLButtonDown(UINT, POINT p) override { Note("down", p); }
    void OnLButtonUp(UINT, POINT p) override { Note("up", p); }
    void OnMouseMove(UINT, POINT p) override { Note("move", p); }
    void OnLButtonDblClk(UINT, POINT p) override { Note("dblclk", p); }
    void OnRButtonUp(UINT, POINT p) override { Note("rup", p); }
    void OnRButtonDown(UINT, POINT p) override { Note("rdown", p); }

    std::vector<std::string>& log;
    const char* name;
};

struct Thrower : CDarwingStaticEvents {
    void OnLButtonDown(UINT, POINT) override { throw std::runtime_error("listener failed"); }
};

class DrawingStaticTest : public testing::Test {
protected:
    void SetUp() override {
        parent = ::CreateWindowExW(0, L"Static", L"", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200,
                                   nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(surface.Create(WS_CHILD | WS_VISIBLE | SS_NOTIFY, RECT{10, 10, 210, 160},
                                   parent, 1034));
    }
    void TearDown() override { ::DestroyWindow(parent); }

    void Send(UINT message, int x, int y) {
        ::SendMessageW(surface.Hwnd(), message, 0,
                       MAKELPARAM(static_cast<WORD>(static_cast<short>(x)),
                                  static_cast<WORD>(static_cast<short>(y))));
    }

    HWND parent = nullptr;
    CDrawingStatic surface;
    std::vector<std::string> log;
};

TEST_F(DrawingStaticTest, MouseMessagesReachEveryListenerInOrderWithTheirPoints) {
    Recorder first(log, "a");
    Recorder second(log, "b");
    surface.AddListener(&first);
    surface.AddListener(&second);
    Send(WM_LBUTTONDOWN, 5, 6);
    EXPECT_EQ(::GetCapture(), surface.Hwnd());
    Send(WM_MOUSEMOVE, -7, -8); // captured: outside the client area
    Send(WM_LBUTTONUP, -7, -8);
    EXPECT_EQ(::GetCapture(), nullptr);
    Send(WM_LBUTTONDBLCLK, 1, 2);
    Send(WM_RBUTTONDOWN, 3, 4);
    Send(WM_RBUTTONUP, 3, 4);
    const std::vector<std::string> expected = {
        "a down 5,6",   "b down 5,6",   "a move -7,-8", "b move -7,-8", "a up -7,-8", "b up -7,-8",
        "a dblclk 1,2", "b dblclk 1,2", "a rdown 3,4",  "b rdown 3,4",  "a rup 3,4",  "b rup 3,4"};
    EXPECT_EQ(log, expected);
    surface.RemoveListener(&first);
    surface.RemoveListener(&second);
}

TEST_F(DrawingStaticTest, PaintsGoToListenersWithAPaintDeviceContext) {
    Recorder listener(log, "a");
    surface.AddListener(&listener);
    ::InvalidateRect(surface.Hwnd(), nullptr, TRUE);
    ::UpdateWindow(surface.Hwnd());
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], "a paint");
    surface.RemoveListener(&listener);
}

TEST_F(DrawingStaticTest, AFailingListenerDoesNotSilenceTheNextAndFiringCanBeOff) {
    Thrower thrower;
    Recorder listener(log, "a");
    surface.AddListener(&thrower);
    surface.AddListener(&listener);
    Send(WM_LBUTTONDOWN, 1, 1);
    EXPECT_EQ(log, std::vector<std::string>{"a down 1,1"});
    Send(WM_LBUTTONUP, 1, 1);

    log.clear();
    surface.EnableFiring(false);
    Send(WM_LBUTTONDOWN, 1, 1);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(::GetCapture(), surface.Hwnd()) << "the capture does not depend on listeners";
    Send(WM_LBUTTONUP, 1, 1);
    surface.RemoveListener(&thrower);
    surface.RemoveListener(&listener);
}

// Real input: a static hears the mouse only with SS_NOTIFY (otherwise its
// parent gets the clicks), and double clicks only when its class asks for
// them (otherwise the second click is one more press).
TEST_F(DrawingStaticTest, RealClicksReachTheSurfaceAndTwoQuickOnesAreADoubleClick) {
    Recorder listener(log, "a");
    surface.AddListener(&listener);
    MouseMoveTo(ScreenCentre(surface.Hwnd()));
    // One call, so that the two clicks are as close together as can be.
    INPUT clicks[4]{};
    for (int i = 0; i < 4; ++i) {
        clicks[i].type = INPUT_MOUSE;
        clicks[i].mi.dwFlags = i % 2 ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
    }
    ::SendInput(4, clicks, sizeof(INPUT));
    std::vector<std::string> presses;
    PumpUntil(
        [&] {
            presses.clear();
            for (const std::string& entry : log) {
                if (entry.find(" move ") == std::string::npos &&
                    entry.find(" paint") == std::string::npos)
                    presses.push_back(entry.substr(0, entry.rfind(' ')));
            }
            return presses.size() >= 4;
        },
        2000);
    EXPECT_EQ(presses, (std::vector<std::string>{"a down", "a up", "a dblclk", "a up"}));
    surface.RemoveListener(&listener);
}

} // namespace
