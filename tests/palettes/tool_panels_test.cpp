// The toolbar and zoom panels in a host window, clicked with the mouse, and
// the keys pressed in each panel.
#include "palettes/dlg_colors.h"
#include "palettes/dlg_tool_bar.h"
#include "palettes/dlg_zoom.h"

#include "support/picture.h"
#include "support/test_resources.h"
#include "support/test_window.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Listens to either panel: records what it hears, then runs the check (if
// any) and throws (if asked to).
struct Recorder : CDlgToolBarEvents, CDlgZoomEvents {
    std::vector<std::string> heard;
    bool throws = false;
    std::function<void(const std::string&)> check;

    void Hear(const char* what) {
        heard.emplace_back(what);
        if (check)
            check(what);
        if (throws)
            throw std::runtime_error(what);
    }
    void OnSaveToDisk() override { Hear("save"); }
    void OnRedo() override { Hear("redo"); }
    void OnUndo() override { Hear("undo"); }
    void OnSendEmail() override { Hear("email"); }
    void OnFitToWindow() override { Hear("fit"); }
    void OnActualSize() override { Hear("actual"); }
};

// Two listeners of a panel: the first throws at every report, the second
// counts the zoom reports that found the wrong pictures shown. Each mode's
// pictures are given as (fit button, actual-size button).
template <typename Panel> struct Listeners {
    Listeners(Panel& listened, HWND fit, HWND actual, std::array<UINT, 2> fitted,
              std::array<UINT, 2> actualSize)
        : panel(listened) {
        throwing.throws = true;
        checking.check = [=, this](const std::string& what) {
            const std::array<UINT, 2>& want = what == "fit" ? fitted : actualSize;
            if ((what == "fit" || what == "actual") &&
                !(ShowsBitmap(fit, want[0]) && ShowsBitmap(actual, want[1])))
                ++wrongPictures;
        };
        panel.AddListener(&throwing);
        panel.AddListener(&checking);
    }
    ~Listeners() {
        panel.RemoveListener(&throwing);
        panel.RemoveListener(&checking);
    }

    Panel& panel;
    Recorder throwing;
    Recorder checking;
    int wrongPictures = 0;
};

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

// A dialog standing in for the main window: a panel inside it, and the
// framework's modal loop, whose dialog manager decides where Enter and
// Escape go. Both keys are pressed on one control of the panel; Escape ends
// the run, whoever it reaches.
class PanelHost : public fw::Dialog {
public:
    PanelHost(std::function<HWND(HWND placeholder)> create, int controlId)
        : fw::Dialog(IDD_TEST_VISIBLE), m_create(std::move(create)), m_controlId(controlId) {}

    std::vector<WORD> commands; // what reached the host
    bool panelShown = false;    // when the run ended

protected:
    BOOL OnInitDialog() override {
        fw::Dialog::OnInitDialog();
        m_panel = m_create(Item(IDC_TEST_PLACEHOLDER));
        ::ShowWindow(m_panel, SW_SHOW);
        HWND control = ::GetDlgItem(m_panel, m_controlId);
        ::SetFocus(control);
        for (const WPARAM key : {VK_RETURN, VK_ESCAPE})
            ::PostMessageW(control, WM_KEYDOWN, key, 0);
        // Should Escape reach nobody, the run still ends.
        ::PostMessageW(Hwnd(), WM_COMMAND, IDCLOSE, 0);
        return FALSE;
    }
    bool OnCommand(WORD id, WORD notifyCode, HWND control) override {
        commands.push_back(id);
        if (id == IDCLOSE)
            OnCancel();
        return fw::Dialog::OnCommand(id, notifyCode, control);
    }
    void OnOK() override {}
    void OnCancel() override {
        panelShown = ::IsWindowVisible(m_panel) != FALSE;
        EndDialog(IDCANCEL);
    }

private:
    std::function<HWND(HWND)> m_create;
    int m_controlId;
    HWND m_panel = nullptr;
};

// Enter on one of a panel's controls, then Escape, in a host dialog: the
// commands that reached the host, and whether the panel was still shown.
template <typename Panel>
std::vector<WORD> EnterAndEscapeIn(Panel& panel, int controlId,
                                   const std::function<bool(Panel&, HWND)>& create) {
    PanelHost host(
        [&](HWND placeholder) {
            EXPECT_TRUE(create(panel, placeholder));
            return panel.Hwnd();
        },
        controlId);
    EXPECT_EQ(host.DoModal(), IDCANCEL);
    EXPECT_TRUE(host.panelShown);
    return host.commands;
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
        ::SetWindowPos(m_panel.Hwnd(), nullptr, 0, 0, 600, 60, SWP_NOZORDER | SWP_SHOWWINDOW);
        PumpMessages(100);
    }
    HWND Item(int id) const { return m_panel.Item(id); }

    TestHost m_host{RECT{100, 100, 960, 300}, RGB(200, 200, 200)};
    CDlgToolBar m_panel;
};

TEST_F(ToolBarPanel, ButtonsSitWhereTheyBelongAndTheZoomPairFollowsTheRightEdge) {
    const int ids[] = {IDC_TOOLBAR_SAVE, IDC_TOOLBAR_UNDO, IDC_TOOLBAR_REDO, IDC_TOOLBAR_EMAIL};
    const int x[] = {10, 106, 180, 255};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(RectIn(m_panel.Hwnd(), Item(ids[i])).left, x[i]) << ids[i];
        EXPECT_EQ(RectIn(m_panel.Hwnd(), Item(ids[i])).top, 5) << ids[i];
    }
    ExpectAt(m_panel.Hwnd(), Item(IDC_TOOLBAR_ACTUAL), 390, 5, 84, 29);
    ExpectAt(m_panel.Hwnd(), Item(IDC_TOOLBAR_FIT), 474, 5, 84, 29);
    // The panel's own ground, below its strip picture, is dark blue.
    EXPECT_EQ(CaptureClient(m_panel.Hwnd()).At(300, 55), CDlgToolBar::kBackground);
    // Actual size is the mode shown at first.
    EXPECT_TRUE(ShowsBitmap(Item(IDC_TOOLBAR_ACTUAL), IDB_ZOOM_ACTUAL_SEL));
    EXPECT_TRUE(ShowsBitmap(Item(IDC_TOOLBAR_FIT), IDB_ZOOM_FIT));

    // At the width of its strip picture nothing overlaps; the buttons are
    // drawn where they land, over the strip that the resize uncovered.
    ::SetWindowPos(m_panel.Hwnd(), nullptr, 0, 0, 757, 44, SWP_NOZORDER | SWP_NOMOVE);
    ExpectAt(m_panel.Hwnd(), Item(IDC_TOOLBAR_FIT), 757 - 126, 5, 84, 29);
    PumpMessages(100);
    EXPECT_TRUE(ShowsBitmap(Item(IDC_TOOLBAR_FIT), IDB_ZOOM_FIT));
    SavePicture(m_panel.Hwnd(), L"toolbar.png");
}

TEST_F(ToolBarPanel, EveryClickReachesEveryListenerWithThePicturesAlreadyChanged) {
    const std::vector<std::string> expected{"save", "undo", "redo",  "email",
                                            "fit",  "fit",  "actual"};
    {
        Listeners listeners(m_panel, Item(IDC_TOOLBAR_FIT), Item(IDC_TOOLBAR_ACTUAL),
                            {IDB_ZOOM_FIT_SEL, IDB_ZOOM_ACTUAL},
                            {IDB_ZOOM_FIT, IDB_ZOOM_ACTUAL_SEL});
        // The panel does not track the mode: a second fit reports again.
        for (const int id :
             {IDC_TOOLBAR_SAVE, IDC_TOOLBAR_UNDO, IDC_TOOLBAR_REDO, IDC_TOOLBAR_EMAIL,
              IDC_TOOLBAR_FIT, IDC_TOOLBAR_FIT, IDC_TOOLBAR_ACTUAL})
            Click(Item(id));
        EXPECT_EQ(listeners.throwing.heard, expected);
        EXPECT_EQ(listeners.checking.heard, expected);
        EXPECT_EQ(listeners.wrongPictures, 0);
    }
    // Nobody listening: only the pictures change.
    Click(Item(IDC_TOOLBAR_FIT));
    EXPECT_TRUE(ShowsBitmap(Item(IDC_TOOLBAR_FIT), IDB_ZOOM_FIT_SEL));
    EXPECT_TRUE(ShowsBitmap(Item(IDC_TOOLBAR_ACTUAL), IDB_ZOOM_ACTUAL));
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

    {
        Listeners listeners(panel, fit, actual, {IDB_ZOOMPANEL_FIT_SEL, IDB_ZOOMPANEL_ACTUAL},
                            {IDB_ZOOMPANEL_FIT, IDB_ZOOMPANEL_ACTUAL_SEL});
        Click(fit);
        Click(fit);
        Click(actual);
        EXPECT_EQ(listeners.checking.heard, (std::vector<std::string>{"fit", "fit", "actual"}));
        EXPECT_EQ(listeners.throwing.heard, listeners.checking.heard);
        EXPECT_EQ(listeners.wrongPictures, 0);
    }
    // Nobody listening: only the pictures change.
    Click(fit);
    EXPECT_TRUE(ShowsBitmap(fit, IDB_ZOOMPANEL_FIT_SEL));
    EXPECT_TRUE(ShowsBitmap(actual, IDB_ZOOMPANEL_ACTUAL));
}

TEST(Panels, EnterClicksTheControlItIsPressedOnAndEscapeReachesTheHost) {
    // The zoom and colour panels as the main window makes them, the toolbar
    // straight in the dialog.
    const std::vector<WORD> escapeOnly{IDCANCEL};
    CDlgToolBar toolBar;
    Recorder heard;
    toolBar.AddListener(&heard);
    EXPECT_EQ(EnterAndEscapeIn<CDlgToolBar>(toolBar, IDC_TOOLBAR_FIT,
                                            [](CDlgToolBar& panel, HWND placeholder) {
                                                return panel.Create(::GetParent(placeholder));
                                            }),
              escapeOnly);
    toolBar.RemoveListener(&heard);
    CDlgZoom zoom;
    zoom.AddListener(&heard);
    EXPECT_EQ(EnterAndEscapeIn<CDlgZoom>(
                  zoom, IDC_ZOOMPANEL_FIT,
                  [](CDlgZoom& panel, HWND placeholder) { return panel.Create(placeholder); }),
              escapeOnly);
    zoom.RemoveListener(&heard);
    EXPECT_EQ(heard.heard, (std::vector<std::string>{"fit", "fit"}));

    CDlgColors colors;
    EXPECT_EQ(EnterAndEscapeIn<CDlgColors>(colors, IDC_SWATCH_R1C6,
                                           [](CDlgColors& panel, HWND placeholder) {
                                               return panel.CreatePanel(placeholder);
                                           }),
              escapeOnly);
    EXPECT_EQ(colors.GetCurrentColor(), RGB(0, 0, 0)) << "Enter picks the swatch";
}

} // namespace
