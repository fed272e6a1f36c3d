// The toolbar and zoom panels in a host window, clicked with the mouse.
#include "palettes/dlg_tool_bar.h"
#include "palettes/dlg_zoom.h"

#include "support/picture.h"
#include "support/test_window.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Records what it hears and, when asked to, throws after recording. Checks
// as it hears a zoom request which pictures the panel shows by then.
template <typename Events> class Recorder : public Events {
public:
    std::vector<std::string> heard;
    bool throws = false;
    // The pictures each zoom request must find on (fit button, other button).
    HWND fitButton = nullptr;
    HWND otherButton = nullptr;
    UINT fitPictures[2]{};    // on OnFitToWindow
    UINT actualPictures[2]{}; // on OnActualSize
    int picturesWrong = 0;

    void OnFitToWindow() override { Zoom("fit", fitPictures); }
    void OnActualSize() override { Zoom("actual", actualPictures); }

protected:
    void Hear(const char* what) {
        heard.emplace_back(what);
        if (throws)
            throw std::runtime_error(what);
    }

private:
    void Zoom(const char* what, const UINT (&pictures)[2]) {
        if (fitButton &&
            !(ShowsBitmap(fitButton, pictures[0]) && ShowsBitmap(otherButton, pictures[1])))
            ++picturesWrong;
        Hear(what);
    }
};

class ToolBarRecorder : public Recorder<CDlgToolBarEvents> {
public:
    void OnSaveToDisk() override { Hear("save"); }
    void OnRedo() override { Hear("redo"); }
    void OnUndo() override { Hear("undo"); }
    void OnSendEmail() override { Hear("email"); }
};

using ZoomRecorder = Recorder<CDlgZoomEvents>;

void ExpectAt(HWND parent, HWND child, int x, int y, int cx, int cy) {
    const RECT r = RectIn(parent, child);
    EXPECT_EQ(r.left, x) << ::GetDlgCtrlID(child);
    EXPECT_EQ(r.top, y) << ::GetDlgCtrlID(child);
    EXPECT_EQ(r.right - r.left, cx) << ::GetDlgCtrlID(child);
    EXPECT_EQ(r.bottom - r.top, cy) << ::GetDlgCtrlID(child);
}

void Click(HWND button) {
    MouseClickAt(ScreenCentre(button));
    PumpMessages(30);
}

// Enter and Escape reach a panel as IDOK and IDCANCEL.
void ExpectEnterAndEscapeKeepItOpen(HWND panel) {
    ::SendMessageW(panel, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ::SendMessageW(panel, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    PumpMessages(30);
    EXPECT_TRUE(::IsWindow(panel));
    EXPECT_TRUE(::IsWindowVisible(panel));
}

void SavePicture(HWND window, const wchar_t* name) {
    if (const std::wstring folder = PictureDirectory(); !folder.empty()) {
        PumpMessages(100);
        EXPECT_TRUE(SaveClientPng(window, folder + L"\\" + name));
    }
}

class ToolBarPanel : public testing::Test {
protected:
    void SetUp() override {
        MouseMoveTo({20, 1000});
        ASSERT_TRUE(m_panel.Create(m_host.Hwnd()));
        // A width of 600 pixels, as a host that shows the toolbar might give.
        RECT frame{0, 0, 600, 60};
        ::SetWindowPos(m_panel.Hwnd(), nullptr, 0, 0, frame.right, frame.bottom,
                       SWP_NOZORDER | SWP_SHOWWINDOW);
        PumpMessages(100);
    }
    HWND Item(int id) const { return m_panel.Item(id); }

    TestHost m_host{RECT{100, 100, 960, 300}, RGB(200, 200, 200)};
    CDlgToolBar m_panel;
};

TEST_F(ToolBarPanel, ButtonsSitWhereTheyBelongAndTheZoomPairFollowsTheRightEdge) {
    RECT client{};
    ::GetClientRect(m_panel.Hwnd(), &client);
    ASSERT_EQ(client.right, 600);
    const int x[] = {10, 106, 180, 255};
    const int ids[] = {IDC_TOOLBAR_SAVE, IDC_TOOLBAR_UNDO, IDC_TOOLBAR_REDO, IDC_TOOLBAR_EMAIL};
    for (int i = 0; i < 4; ++i) {
        const RECT r = RectIn(m_panel.Hwnd(), Item(ids[i]));
        EXPECT_EQ(r.left, x[i]) << ids[i];
        EXPECT_EQ(r.top, 5) << ids[i];
    }
    ExpectAt(m_panel.Hwnd(), Item(IDC_TOOLBAR_ACTUAL), 390, 5, 84, 29);
    ExpectAt(m_panel.Hwnd(), Item(IDC_TOOLBAR_FIT), 474, 5, 84, 29);

    // The panel's own ground, below its strip picture, is dark blue.
    const Picture shown = CaptureClient(m_panel.Hwnd());
    EXPECT_EQ(shown.At(300, 55), CDlgToolBar::kBackground);
    // Actual size is the mode shown at first.
    EXPECT_TRUE(ShowsBitmap(Item(IDC_TOOLBAR_ACTUAL), IDB_ZOOM_ACTUAL_SEL));
    EXPECT_TRUE(ShowsBitmap(Item(IDC_TOOLBAR_FIT), IDB_ZOOM_FIT));

    // At the width of its strip picture nothing overlaps.
    ::SetWindowPos(m_panel.Hwnd(), nullptr, 0, 0, 757, 44, SWP_NOZORDER | SWP_NOMOVE);
    ExpectAt(m_panel.Hwnd(), Item(IDC_TOOLBAR_FIT), 757 - 126, 5, 84, 29);
    // Drawn where they landed, over the strip that the resize uncovered.
    PumpMessages(100);
    EXPECT_TRUE(ShowsBitmap(Item(IDC_TOOLBAR_FIT), IDB_ZOOM_FIT));
    SavePicture(m_panel.Hwnd(), L"toolbar.png");

    ExpectEnterAndEscapeKeepItOpen(m_panel.Hwnd());
}

TEST_F(ToolBarPanel, EveryButtonReachesEveryListenerEvenWhenOneThrows) {
    ToolBarRecorder throwing;
    throwing.throws = true;
    ToolBarRecorder second;
    m_panel.AddListener(&throwing);
    m_panel.AddListener(&second);
    for (const int id : {IDC_TOOLBAR_SAVE, IDC_TOOLBAR_UNDO, IDC_TOOLBAR_REDO, IDC_TOOLBAR_EMAIL,
                         IDC_TOOLBAR_FIT, IDC_TOOLBAR_ACTUAL})
        Click(Item(id));
    const std::vector<std::string> expected{"save", "undo", "redo", "email", "fit", "actual"};
    EXPECT_EQ(throwing.heard, expected);
    EXPECT_EQ(second.heard, expected);
    EXPECT_TRUE(::IsWindowVisible(m_panel.Hwnd()));
    m_panel.RemoveListener(&throwing);
    m_panel.RemoveListener(&second);
}

TEST_F(ToolBarPanel, ZoomPicturesChangeBeforeListenersHearAndWithoutThem) {
    ToolBarRecorder listener;
    listener.fitButton = Item(IDC_TOOLBAR_FIT);
    listener.otherButton = Item(IDC_TOOLBAR_ACTUAL);
    listener.fitPictures[0] = IDB_ZOOM_FIT_SEL;
    listener.fitPictures[1] = IDB_ZOOM_ACTUAL;
    listener.actualPictures[0] = IDB_ZOOM_FIT;
    listener.actualPictures[1] = IDB_ZOOM_ACTUAL_SEL;
    m_panel.AddListener(&listener);
    // The panel does not track the mode: the second click reports again.
    Click(Item(IDC_TOOLBAR_FIT));
    Click(Item(IDC_TOOLBAR_FIT));
    Click(Item(IDC_TOOLBAR_ACTUAL));
    EXPECT_EQ(listener.heard, (std::vector<std::string>{"fit", "fit", "actual"}));
    EXPECT_EQ(listener.picturesWrong, 0);
    m_panel.RemoveListener(&listener);

    // Nobody listening: only the pictures change.
    Click(Item(IDC_TOOLBAR_FIT));
    EXPECT_TRUE(ShowsBitmap(Item(IDC_TOOLBAR_FIT), IDB_ZOOM_FIT_SEL));
    EXPECT_TRUE(ShowsBitmap(Item(IDC_TOOLBAR_ACTUAL), IDB_ZOOM_ACTUAL));
    EXPECT_EQ(listener.heard.size(), 3u);
}

TEST(ZoomPanel, ButtonsShowTheModeAskedForAndReportEveryClick) {
    MouseMoveTo({20, 1000});
    TestHost host{RECT{100, 100, 500, 400}, RGB(200, 200, 200)};
    CDlgZoom panel;
    ASSERT_TRUE(panel.Create(host.Hwnd()));
    ::ShowWindow(panel.Hwnd(), SW_SHOW);
    PumpMessages(100);
    HWND fit = panel.Item(IDC_ZOOMPANEL_FIT);
    HWND actual = panel.Item(IDC_ZOOMPANEL_ACTUAL);
    ExpectAt(panel.Hwnd(), actual, 15, 38, 73, 73);
    ExpectAt(panel.Hwnd(), fit, 92, 38, 73, 73);
    EXPECT_TRUE(ShowsBitmap(actual, IDB_ZOOMPANEL_ACTUAL_SEL));
    EXPECT_TRUE(ShowsBitmap(fit, IDB_ZOOMPANEL_FIT));
    SavePicture(panel.Hwnd(), L"zoom_panel.png");

    // Nobody listening: only the pictures change.
    Click(fit);
    EXPECT_TRUE(ShowsBitmap(fit, IDB_ZOOMPANEL_FIT_SEL));
    EXPECT_TRUE(ShowsBitmap(actual, IDB_ZOOMPANEL_ACTUAL));

    ZoomRecorder throwing;
    throwing.throws = true;
    ZoomRecorder listener;
    listener.fitButton = fit;
    listener.otherButton = actual;
    listener.fitPictures[0] = IDB_ZOOMPANEL_FIT_SEL;
    listener.fitPictures[1] = IDB_ZOOMPANEL_ACTUAL;
    listener.actualPictures[0] = IDB_ZOOMPANEL_FIT;
    listener.actualPictures[1] = IDB_ZOOMPANEL_ACTUAL_SEL;
    panel.AddListener(&throwing);
    panel.AddListener(&listener);
    Click(fit);
    Click(fit);
    Click(actual);
    EXPECT_EQ(listener.heard, (std::vector<std::string>{"fit", "fit", "actual"}));
    EXPECT_EQ(throwing.heard, listener.heard);
    EXPECT_EQ(listener.picturesWrong, 0);
    panel.RemoveListener(&throwing);
    panel.RemoveListener(&listener);

    ExpectEnterAndEscapeKeepItOpen(panel.Hwnd());
}

} // namespace
