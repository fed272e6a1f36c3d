// The main window driven through its real messages from a second thread while
// its modal loop runs on the test thread.
#include "app/lumvex_dlg.h"
#include "app/main_layout.h"
#include "app/window_geometry.h"
#include "common/pictures.h"
#include "framework/dpi.h"
#include "framework/picture.h"
#include "palettes/dlg_colors.h"
#include "upload/app_settings.h"

#include "main_window_driver.h"
#include "support/gdi_objects.h"
#include "support/main_window_layout.h"
#include "support/picture.h"
#include "support/registry_value.h"
#include "support/scratch_registry.h"

#include "controls/window_text.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <iterator>
#include <algorithm>
#include <string>
#include <vector>

namespace {

class MainWindow : public MainWindowFixture {};

// The work area this process sees (all of Wine's work area is the
// process's own), changed for a test and put back afterwards.
class ScopedWorkArea {
public:
    ScopedWorkArea() { ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &m_saved, 0); }
    ~ScopedWorkArea() { ::SystemParametersInfoW(SPI_SETWORKAREA, 0, &m_saved, 0); }
    ScopedWorkArea(const ScopedWorkArea&) = delete;
    ScopedWorkArea& operator=(const ScopedWorkArea&) = delete;

    // Changes it as the taskbar does, and tells the window.
    static void Set(HWND window, RECT work) {
        ASSERT_TRUE(::SystemParametersInfoW(SPI_SETWORKAREA, 0, &work, 0));
        SendOrFail(window, WM_SETTINGCHANGE, SPI_SETWORKAREA);
        SendOrFail(window, WM_NULL);
    }

private:
    RECT m_saved{};
};

RECT ScreenRectOf(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

// Presses and releases the left button in one go, so that a scroll bar
// never sees the button held long enough to repeat.
void ClickOnce(POINT screen) {
    MouseMoveTo(screen);
    INPUT clicks[2]{};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, clicks, sizeof(INPUT));
}

void TurnWheel(int delta) {
    INPUT wheel{};
    wheel.type = INPUT_MOUSE;
    wheel.mi.dwFlags = MOUSEEVENTF_WHEEL;
    wheel.mi.mouseData = static_cast<DWORD>(delta);
    ::SendInput(1, &wheel, sizeof(wheel));
}

// What a person sees of the tool column: every command inside the client
// area, clear of the drawing side and of each other, all at one picture
// scale, and each one the window the mouse finds at its centre.
void ExpectColumnInReach(HWND window, const std::string& where) {
    RECT client{};
    ::GetClientRect(window, &client);
    auto rect = [&](int id) { return RectIn(window, ::GetDlgItem(window, id)); };
    auto overlap = [](const RECT& a, const RECT& b) {
        RECT common{};
        return ::IntersectRect(&common, &a, &b) != FALSE;
    };
    const int parts[] = {IDC_LOGO,        IDC_TOOLS_PICTURE, IDC_PALETTE_HOST,
                         IDC_ZOOM_ACTUAL, IDC_ZOOM_FIT,      IDC_SUBMIT_HOST};
    const int buttons[] = {IDC_TOOL_POINTER, IDC_TOOL_HIGHLIGHT, IDC_TOOL_TEXT, IDC_TOOL_ARROW,
                           IDC_TOOL_CROP,    IDC_TOOL_PEN,       IDC_UNDO,      IDC_REDO};
    const int side[] = {IDC_DRAWING_SURFACE, IDC_VSCROLL, IDC_HSCROLL, IDC_STATUS_HOST};
    std::vector<int> commands(std::begin(parts) + 1, std::end(parts));
    commands.insert(commands.end(), std::begin(buttons), std::end(buttons));
    for (const int id : commands) {
        HWND control = ::GetDlgItem(window, id);
        const RECT r = rect(id);
        EXPECT_TRUE(::IsWindowVisible(control)) << where << ": control " << id;
        RECT inside{};
        ::IntersectRect(&inside, &r, &client);
        EXPECT_TRUE(::EqualRect(&inside, &r))
            << where << ": control " << id << " at " << Describe(r) << " leaves the client area";
        for (const int other : side)
            EXPECT_FALSE(overlap(r, rect(other)))
                << where << ": control " << id << " over " << other;
        // The mouse finds it (or, for a panel's place, the panel in it).
        const POINT centre =
            ClientToScreenPoint(window, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        HWND found = ::WindowFromPoint(centre);
        EXPECT_TRUE(found == control || ::IsChild(control, found))
            << where << ": control " << id << " is not what the mouse finds at its centre";
    }
    for (size_t a = 0; a < std::size(parts); ++a) {
        for (size_t b = a + 1; b < std::size(parts); ++b) {
            if (::IsWindowVisible(::GetDlgItem(window, parts[a]))) {
                EXPECT_FALSE(overlap(rect(parts[a]), rect(parts[b])))
                    << where << ": " << parts[a] << " and " << parts[b];
            }
        }
    }
    for (size_t a = 0; a < std::size(buttons); ++a) {
        for (size_t b = a + 1; b < std::size(buttons); ++b)
            EXPECT_FALSE(overlap(rect(buttons[a]), rect(buttons[b])))
                << where << ": " << buttons[a] << " and " << buttons[b];
    }
    // One scale for the column's pictures and both panels.
    const UINT scale = ColumnPictureDpi(window);
    ASSERT_NE(scale, 0u) << where << ": the tools picture and its buttons differ in scale";
    auto sizeOf = [](HWND control) {
        RECT r{};
        ::GetWindowRect(control, &r);
        return SIZE{r.right - r.left, r.bottom - r.top};
    };
    auto expectSize = [&](HWND control, SIZE expected, const char* what) {
        const SIZE got = sizeOf(control);
        EXPECT_TRUE(got.cx == expected.cx && got.cy == expected.cy)
            << where << ": " << what << " is " << got.cx << " x " << got.cy << ", not "
            << expected.cx << " x " << expected.cy << " at picture DPI " << scale;
    };
    HWND palette = ::GetWindow(::GetDlgItem(window, IDC_PALETTE_HOST), GW_CHILD);
    HWND submit = ::GetWindow(::GetDlgItem(window, IDC_SUBMIT_HOST), GW_CHILD);
    expectSize(palette, CDlgColors::PanelSize(scale), "the palette");
    const RECT swatch = CDlgColors::SlotRect(1, scale);
    expectSize(::GetDlgItem(palette, IDC_SWATCH_R1C1),
               SIZE{swatch.right - swatch.left, swatch.bottom - swatch.top}, "a swatch");
    expectSize(submit, fw::BitmapSize(LoadPicture(IDB_SUBMIT_PANEL, scale).get()),
               "the submit panel");
    expectSize(::GetDlgItem(submit, IDC_SUBMIT),
               fw::BitmapSize(LoadPicture(IDB_SUBMIT, scale).get()), "Submit");
    expectSize(::GetDlgItem(window, IDC_ZOOM_FIT), SIZE{fw::Scale(84, scale), fw::Scale(29, scale)},
               "Fit to Window");
    const SIZE logo = sizeOf(::GetDlgItem(window, IDC_LOGO));
    EXPECT_LE(logo.cx, fw::BitmapSize(LoadPicture(IDB_LOGO, scale).get()).cx) << where;
}

// Work areas people have, each at the DPIs its screen leaves room for: at
// least 800 x 600 pixels at 100 % (the smallest screen the window is made
// for), so 144 DPI needs 1200 x 900.
struct WorkAreaRow {
    const char* name;
    SIZE screen;
    RECT work;
    UINT onlyAtDpi; // 0: every DPI the screen allows
};

constexpr WorkAreaRow kWorkAreas[] = {
    {"800x600", {800, 600}, {0, 0, 800, 560}, 0},
    {"1024x768", {1024, 768}, {0, 0, 1024, 728}, 0},
    {"1024x768_tall_taskbar", {1024, 768}, {0, 0, 1024, 720}, 0},
    {"1280x720", {1280, 720}, {0, 0, 1280, 680}, 0},
    {"1366x768", {1366, 768}, {0, 0, 1366, 728}, 0},
    {"1920x1080_taskbar_on_top", {1920, 1080}, {0, 40, 1920, 1080}, 0},
    {"1920x1080_tall_taskbar", {1920, 1080}, {0, 0, 1920, 1020}, 144},
};

bool ScreenAllows(const WorkAreaRow& row, UINT dpi) {
    if (row.onlyAtDpi != 0)
        return row.onlyAtDpi == dpi;
    return row.screen.cx * 96 >= 800 * static_cast<LONG>(dpi) &&
           row.screen.cy * 96 >= 600 * static_cast<LONG>(dpi);
}

TEST_F(MainWindow, TrayClickCapturesWhenHiddenAndOnlyShowsWhenShown) {
    Run([&](HWND window) {
        EXPECT_FALSE(::IsWindowVisible(window));
        EXPECT_TRUE(m_driver.TrayIcon().IsAdded());
        SendOrFail(window, WM_TRAY_NOTIFY, 0, WM_LBUTTONDOWN);
        EXPECT_TRUE(::IsWindowVisible(window));
        // The program starts with the Crop tool: a drag makes a crop.
        EXPECT_EQ(m_driver.CurrentTool(), Tool::Crop);
        SendOrFail(window, WM_COMMAND, IDC_TOOL_ARROW);
        Drag(window, {100, 100}, {300, 200});
        ASSERT_EQ(m_driver.Canvas().GetItems().size(), 1u);

        // Shown: a click brings the window forward and keeps the annotations.
        SendOrFail(window, WM_TRAY_NOTIFY, 0, WM_LBUTTONDOWN);
        EXPECT_EQ(m_driver.Canvas().GetItems().size(), 1u);

        // Enter and Escape change nothing; the close box only hides.
        SendOrFail(window, WM_COMMAND, IDOK);
        SendOrFail(window, WM_COMMAND, IDCANCEL);
        EXPECT_TRUE(::IsWindowVisible(window));
        SendOrFail(window, WM_CLOSE);
        EXPECT_FALSE(::IsWindowVisible(window));
        EXPECT_EQ(m_driver.Canvas().GetItems().size(), 1u);

        // Hidden again: a click takes a new picture without annotations.
        SendOrFail(window, WM_TRAY_NOTIFY, 0, WM_LBUTTONDOWN);
        EXPECT_TRUE(::IsWindowVisible(window));
        EXPECT_TRUE(m_driver.Canvas().GetItems().empty());
        // A double click shows a hidden window without a capture.
        SendOrFail(window, WM_CLOSE);
        SendOrFail(window, WM_TRAY_NOTIFY, 0, WM_LBUTTONDBLCLK);
        EXPECT_TRUE(::IsWindowVisible(window));
    });
    EXPECT_FALSE(m_driver.TrayIcon().IsAdded()) << "the icon must go with the window";
}

TEST_F(MainWindow, UndoRedoAndDeleteThroughCommandsAndMessages) {
    Run([&](HWND window) {
        SendOrFail(window, WM_TRAY_NOTIFY, 0, WM_LBUTTONDOWN);
        SendOrFail(window, WM_COMMAND, ID_CTX_TOOL_PEN);
        EXPECT_EQ(m_driver.CurrentTool(), Tool::Pen);
        Drag(window, {50, 50}, {150, 90});
        Drag(window, {60, 200}, {160, 260});
        ASSERT_EQ(m_driver.Canvas().GetItems().size(), 2u);
        // The dialog manager's own messages are not ours (DM_REPOSITION was
        // once our Undo, DM_SETDEFID our tray notification).
        SendOrFail(window, DM_REPOSITION);
        EXPECT_EQ(m_driver.Canvas().GetItems().size(), 2u);
        SendOrFail(window, DM_SETDEFID, IDC_UNDO);
        EXPECT_EQ(::SendMessageW(window, DM_GETDEFID, 0, 0), MAKELRESULT(IDC_UNDO, DC_HASDEFID));
        SendOrFail(window, WM_COMMAND, IDC_UNDO);
        EXPECT_EQ(m_driver.Canvas().GetItems().size(), 1u);
        SendOrFail(window, WM_CANVAS_UNDO);
        EXPECT_TRUE(m_driver.Canvas().GetItems().empty());
        SendOrFail(window, WM_COMMAND, IDC_REDO);
        SendOrFail(window, WM_CANVAS_REDO);
        EXPECT_EQ(m_driver.Canvas().GetItems().size(), 2u);
    });
}

TEST_F(MainWindow, FitFillsTheAreaOnceAndActualSizeRestoresTheBars) {
    Run([&](HWND window) {
        SendOrFail(window, WM_TRAY_NOTIFY, 0, WM_LBUTTONDOWN);
        const RECT actual = ChildRect(window, IDC_DRAWING_SURFACE);
        const RECT vert = ChildRect(window, IDC_VSCROLL);
        const RECT horz = ChildRect(window, IDC_HSCROLL);
        EXPECT_EQ(actual.right, vert.left);
        EXPECT_EQ(actual.bottom, horz.top);

        SendOrFail(window, WM_COMMAND, IDC_ZOOM_FIT);
        EXPECT_TRUE(m_driver.IsFitted());
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(window, IDC_VSCROLL)));
        const RECT fitted = ChildRect(window, IDC_DRAWING_SURFACE);
        // The picture (the screen) keeps its proportions inside the area of
        // the surface and both bars.
        const double screenRatio =
            double(::GetSystemMetrics(SM_CXSCREEN)) / ::GetSystemMetrics(SM_CYSCREEN);
        const double fittedRatio =
            double(fitted.right - fitted.left) / (fitted.bottom - fitted.top);
        EXPECT_NEAR(fittedRatio, screenRatio, 0.01);
        EXPECT_LE(fitted.right, vert.right);
        EXPECT_LE(fitted.bottom, horz.bottom);

        SendOrFail(window, WM_COMMAND, IDC_ZOOM_FIT);
        const RECT again = ChildRect(window, IDC_DRAWING_SURFACE);
        EXPECT_TRUE(::EqualRect(&fitted, &again)) << "a second fit changes nothing";

        SendOrFail(window, WM_COMMAND, IDC_ZOOM_ACTUAL);
        EXPECT_FALSE(m_driver.IsFitted());
        EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(window, IDC_VSCROLL)));
        const RECT restored = ChildRect(window, IDC_DRAWING_SURFACE);
        EXPECT_TRUE(::EqualRect(&actual, &restored));
    });
}

TEST_F(MainWindow, RestoringAMinimisedWindowKeepsThePictureFitted) {
    Run([&](HWND window) {
        SendOrFail(window, WM_TRAY_NOTIFY, 0, WM_LBUTTONDOWN);
        SendOrFail(window, WM_COMMAND, IDC_ZOOM_FIT);
        const RECT fitted = ChildRect(window, IDC_DRAWING_SURFACE);
        ::ShowWindow(window, SW_MINIMIZE);
        SendOrFail(window, WM_NULL);
        ::ShowWindow(window, SW_RESTORE);
        SendOrFail(window, WM_NULL);
        EXPECT_TRUE(m_driver.IsFitted());
        const RECT restored = ChildRect(window, IDC_DRAWING_SURFACE);
        EXPECT_TRUE(::EqualRect(&restored, &fitted))
            << "(" << restored.left << ", " << restored.top << ", " << restored.right << ", "
            << restored.bottom << ")";
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(window, IDC_VSCROLL)));
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(window, IDC_HSCROLL)));
    });
}

// Windows conventions of a program that lives in the notification area.
namespace tray {
HWND g_window = nullptr;
LONG g_posted = 0;
LRESULT CALLBACK CountPostedNull(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && message->message == WM_NULL &&
        message->hwnd == g_window)
        ::InterlockedIncrement(&g_posted);
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

int CountTopWindows(DWORD threadId, const wchar_t* className, const wchar_t* caption) {
    struct Count {
        const wchar_t* className;
        const wchar_t* caption;
        int found;
    } count{className, caption, 0};
    ::EnumThreadWindows(
        threadId,
        [](HWND candidate, LPARAM data) {
            auto* c = reinterpret_cast<Count*>(data);
            wchar_t text[64]{};
            wchar_t kind[64]{};
            ::GetWindowTextW(candidate, text, 64);
            ::GetClassNameW(candidate, kind, 64);
            if (::IsWindowVisible(candidate) && std::wstring(kind) == c->className &&
                (!c->caption || std::wstring(text) == c->caption))
                ++c->found;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count.found;
}
} // namespace tray

TEST_F(MainWindow, TrayEtiquetteMenuCloseBoxesForwardAndTheIconAfterAShellRestart) {
    const DWORD uiThread = ::GetCurrentThreadId();
    HHOOK hook = ::SetWindowsHookExW(WH_GETMESSAGE, tray::CountPostedNull, nullptr, uiThread);
    ASSERT_TRUE(hook);
    Run([&](HWND window) {
        tray::g_window = window;
        // The menu: our window comes forward first, and a message posted
        // after it closes lets the next menu close when the user clicks
        // elsewhere.
        ::PostMessageW(window, WM_TRAY_NOTIFY, 0, WM_RBUTTONDOWN);
        ASSERT_TRUE(PumpUntil([&] { return tray::CountTopWindows(uiThread, L"#32768", nullptr); },
                              kDriverTimeoutMs));
        ::InterlockedExchange(&tray::g_posted, 0);
        ::PostMessageW(::FindWindowW(L"#32768", nullptr), WM_KEYDOWN, VK_ESCAPE, 0);
        SendOrFail(window, WM_NULL);
        EXPECT_TRUE(PumpUntil([] { return tray::g_posted > 0; }, kDriverTimeoutMs))
            << "nothing posted after the menu";

        // While our About box is up, tray commands bring it forward: no
        // capture of it, no second box, no menu over it.
        ::PostMessageW(window, WM_COMMAND, ID_TRAY_ABOUT, 0);
        HWND about = WaitForOwnedWindow(window);
        ASSERT_NE(about, nullptr);
        ::PostMessageW(window, WM_TRAY_NOTIFY, 0, WM_LBUTTONDOWN);
        ::PostMessageW(window, WM_COMMAND, ID_TRAY_ABOUT, 0);
        ::PostMessageW(window, WM_COMMAND, ID_TRAY_TAKE_SCREENSHOT, 0);
        ::PostMessageW(window, WM_TRAY_NOTIFY, 0, WM_RBUTTONDOWN);
        SendOrFail(window, WM_NULL);
        ::Sleep(300);
        SendOrFail(window, WM_NULL);
        EXPECT_FALSE(::IsWindowVisible(window)) << "the tray click took a capture";
        EXPECT_EQ(tray::CountTopWindows(uiThread, L"#32770", L"About Lumvex"), 1);
        EXPECT_EQ(tray::CountTopWindows(uiThread, L"#32768", nullptr), 0) << "a menu opened";
        EXPECT_EQ(::GetForegroundWindow(), about);
        ::PostMessageW(::FindWindowW(L"#32768", nullptr), WM_KEYDOWN, VK_ESCAPE, 0);
        ::PostMessageW(about, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(PumpUntil([&] { return ::IsWindowEnabled(window) != FALSE; }, 5000));

        // The menu shows in bold what a click on the icon does, and the right
        // button picks an entry as the left one does.
        ::PostMessageW(window, WM_TRAY_NOTIFY, 0, WM_RBUTTONDOWN);
        ASSERT_TRUE(PumpUntil([&] { return tray::CountTopWindows(uiThread, L"#32768", nullptr); },
                              kDriverTimeoutMs));
        HWND menuWindow = ::FindWindowW(L"#32768", nullptr);
        const auto menu = reinterpret_cast<HMENU>(SendOrFail(menuWindow, MN_GETHMENU));
        EXPECT_EQ(::GetMenuDefaultItem(menu, FALSE, 0), UINT{ID_TRAY_TAKE_SCREENSHOT});
        RECT aboutEntry{};
        ASSERT_TRUE(::GetMenuItemRect(nullptr, menu, 0, &aboutEntry));
        MouseMoveTo(
            {(aboutEntry.left + aboutEntry.right) / 2, (aboutEntry.top + aboutEntry.bottom) / 2});
        for (const DWORD flag : {DWORD{MOUSEEVENTF_RIGHTDOWN}, DWORD{MOUSEEVENTF_RIGHTUP}}) {
            INPUT input{};
            input.type = INPUT_MOUSE;
            input.mi.dwFlags = flag;
            ::SendInput(1, &input, sizeof(input));
            PumpMessages(50);
        }
        about = WaitForOwnedWindow(window);
        EXPECT_NE(about, nullptr) << "the right button picked no entry";
        ::PostMessageW(::FindWindowW(L"#32768", nullptr), WM_KEYDOWN, VK_ESCAPE, 0);
        if (about)
            ::PostMessageW(about, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(PumpUntil([&] { return ::IsWindowEnabled(window) != FALSE; }, 5000));
        MouseMoveTo({60, 900});

        // The notification area gets the icon file's small image.
        ICONINFO icon{};
        ASSERT_TRUE(::GetIconInfo(m_driver.TrayIcon().Record().hIcon, &icon));
        BITMAP image{};
        ::GetObjectW(icon.hbmColor ? icon.hbmColor : icon.hbmMask, sizeof(image), &image);
        if (icon.hbmColor)
            ::DeleteObject(icon.hbmColor);
        ::DeleteObject(icon.hbmMask);
        EXPECT_EQ(image.bmWidth, ::GetSystemMetrics(SM_CXSMICON));

        // The shell starts again and has forgotten the icon: it comes back.
        NOTIFYICONDATAW record = m_driver.TrayIcon().Record();
        ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &record));
        ASSERT_FALSE(::Shell_NotifyIconW(NIM_MODIFY, &record));
        SendOrFail(window, ::RegisterWindowMessageW(L"TaskbarCreated"));
        EXPECT_TRUE(::Shell_NotifyIconW(NIM_MODIFY, &record)) << "no icon after the restart";
    });
    ::UnhookWindowsHookEx(hook);
}

// The hidden zoom panel, the notification popup and the settings are
// there and wired, and go with the window.
TEST_F(MainWindow, HiddenPanelsAndTheSettingsAreWired) {
    HWND popup = nullptr;
    Run([&](HWND window) {
        SendOrFail(window, WM_TRAY_NOTIFY, 0, WM_LBUTTONDOWN);
        HWND zoomPanel = ::GetWindow(::GetDlgItem(window, IDC_ZOOM_HOST), GW_CHILD);
        ASSERT_NE(zoomPanel, nullptr);
        EXPECT_FALSE(::IsWindowVisible(zoomPanel));
        for (const int button : {IDC_ZOOMPANEL_FIT, IDC_ZOOMPANEL_ACTUAL}) {
            SendOrFail(zoomPanel, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(zoomPanel, button)));
            const bool fitted = button == IDC_ZOOMPANEL_FIT;
            EXPECT_EQ(m_driver.IsFitted(), fitted);
            // The column shows the mode, whoever asked for it (once the
            // window, repainting after the zoom change, has got to it).
            EXPECT_TRUE(PumpUntil(
                [&] {
                    return ShowsBitmap(::GetDlgItem(window, IDC_ZOOM_FIT),
                                       fitted ? IDB_ZOOM_FIT_SEL : IDB_ZOOM_FIT);
                },
                kDriverTimeoutMs));
        }

        ::EnumThreadWindows(
            ::GetWindowThreadProcessId(window, nullptr),
            [](HWND candidate, LPARAM data) {
                if (::GetWindowLongPtrW(candidate, GWL_EXSTYLE) & WS_EX_LAYERED)
                    *reinterpret_cast<HWND*>(data) = candidate;
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&popup));
        ASSERT_NE(popup, nullptr) << "no notification popup";
        EXPECT_FALSE(::IsWindowVisible(popup));
        EXPECT_EQ(::GetParent(popup), nullptr);

        // The settings, owned by the window; a change is saved at once.
        ::PostMessageW(window, WM_COMMAND, ID_SETTINGS, 0);
        HWND settings = WaitForDialog(::GetWindowThreadProcessId(window, nullptr), L"Settings");
        ASSERT_NE(settings, nullptr);
        EXPECT_EQ(::GetWindow(settings, GW_OWNER), window);
        // Asked for again meanwhile, it comes forward rather than twice (a
        // second one would hold this message up with its own loop).
        SendOrFail(window, WM_COMMAND, ID_SETTINGS);
        int shown = 0;
        ::EnumThreadWindows(
            ::GetWindowThreadProcessId(window, nullptr),
            [](HWND candidate, LPARAM data) {
                wchar_t caption[16]{};
                ::GetWindowTextW(candidate, caption, 16);
                if (::IsWindowVisible(candidate) && std::wstring(caption) == L"Settings")
                    ++*reinterpret_cast<int*>(data);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&shown));
        EXPECT_EQ(shown, 1);
        SendOrFail(::GetDlgItem(settings, IDC_NOTIFICATIONS), BM_CLICK);
        PostClick(settings, IDOK);
        EXPECT_TRUE(PumpUntil(
            [&] {
                return ReadRegistryDword(m_profile.Root() + L"\\Settings\\Common",
                                         L"EnableNotifications") == 0u;
            },
            kDriverTimeoutMs));
        EXPECT_FALSE(m_settings.enableNotifications);
    });
    EXPECT_FALSE(::IsWindow(popup));
}

// The real bars, clicked and dragged, and the wheel move the canvas, and
// the bars always show where it is: also after minimise and restore, and
// after Fit then Actual Size. The picture never leaves the view.
TEST_F(MainWindow, BarsAndWheelScrollTheCanvasAndShowWhereItIs) {
    ScopedWorkArea restore;
    Run([&](HWND window) {
        ShowWithCapture(window);
        // A small window, so that the picture (the screen) is much larger
        // than the view.
        ScopedWorkArea::Set(window, RECT{0, 0, 800, 560});
        HWND horz = ::GetDlgItem(window, IDC_HSCROLL);
        HWND vert = ::GetDlgItem(window, IDC_VSCROLL);
        RECT view{};
        ::GetClientRect(::GetDlgItem(window, IDC_DRAWING_SURFACE), &view);
        const int lineX = view.right / 20;
        const int lineY = view.bottom / 20;
        const int maxX = ::GetSystemMetrics(SM_CXSCREEN) - view.right;
        const int maxY = ::GetSystemMetrics(SM_CYSCREEN) - view.bottom;
        ASSERT_GT(maxX, view.right + lineX);
        auto offset = [&] {
            SendOrFail(window, WM_NULL);
            const CViewTransform& t = m_driver.Canvas().GetTransform();
            return POINT{t.OffsetX(), t.OffsetY()};
        };
        // The bars show the canvas's offset, whatever moved it.
        auto expectBarsShow = [&](const char* after) {
            const POINT at = offset();
            EXPECT_EQ(::GetScrollPos(horz, SB_CTL), at.x) << after;
            EXPECT_EQ(::GetScrollPos(vert, SB_CTL), at.y) << after;
        };
        auto waitFor = [&](auto condition) {
            return PumpUntil([&] { return condition(offset()); }, kDriverTimeoutMs);
        };
        const RECT bar = ScreenRectOf(horz);
        const int arrow = ::GetSystemMetrics(SM_CXHSCROLL);
        const int barY = (bar.top + bar.bottom) / 2;

        // An arrow: a line (or more, should the system repeat it).
        ClickOnce(POINT{bar.right - arrow / 2, barY});
        ASSERT_TRUE(waitFor([](POINT at) { return at.x > 0; })) << "the arrow did not scroll";
        EXPECT_EQ(offset().x % lineX, 0) << offset().x;
        expectBarsShow("the arrow");
        const int afterArrow = offset().x;
        // The trough beside the thumb: a page.
        ClickOnce(POINT{bar.right - arrow - 3, barY});
        ASSERT_TRUE(waitFor([&](POINT at) { return at.x > afterArrow; }));
        EXPECT_TRUE(offset().x == maxX || (offset().x - afterArrow) % view.right == 0)
            << offset().x;
        expectBarsShow("a page");
        // The thumb, dragged back to the start and let go there.
        // The thumb's middle: as far along the trough between the arrows as
        // the middle of the view is along the picture.
        const int trough = bar.right - bar.left - 2 * arrow;
        const int content = ::GetSystemMetrics(SM_CXSCREEN);
        const int thumbX =
            bar.left + arrow + trough * (2 * offset().x + view.right) / (2 * content);
        MouseMoveTo(POINT{thumbX, barY});
        MouseButton(true);
        MouseMoveTo(POINT{thumbX - trough / 2, barY});
        MouseMoveTo(POINT{bar.left, barY});
        MouseButton(false);
        ASSERT_TRUE(waitFor([](POINT at) { return at.x == 0; })) << offset().x;
        expectBarsShow("the thumb");

        // The wheel over the picture: three lines down; with Shift along;
        // tilted, along the other way; with Ctrl, nothing (and no zoom).
        MouseMoveTo(ScreenCentre(::GetDlgItem(window, IDC_DRAWING_SURFACE)));
        TurnWheel(-WHEEL_DELTA);
        ASSERT_TRUE(waitFor([&](POINT at) { return at.y == 3 * lineY; })) << offset().y;
        expectBarsShow("the wheel");
        // Tilted (as its message comes: this Wine makes none of the input),
        // with Shift and with Ctrl as the wheel's own message says them.
        const POINT centre = ScreenCentre(::GetDlgItem(window, IDC_DRAWING_SURFACE));
        const LPARAM at = MAKELPARAM(centre.x, centre.y);
        SendOrFail(window, WM_MOUSEHWHEEL, MAKEWPARAM(0, WHEEL_DELTA), at);
        EXPECT_EQ(offset().x, 3 * lineX);
        SendOrFail(window, WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, WHEEL_DELTA), at);
        EXPECT_EQ(offset().x, 0);
        SendOrFail(window, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, static_cast<WORD>(-WHEEL_DELTA)),
                   at);
        EXPECT_EQ(offset().y, 3 * lineY);
        EXPECT_EQ(m_driver.Canvas().GetTransform().ZoomX(), 1.0f);
        expectBarsShow("the wheel with Ctrl");

        // Never past the picture's end.
        SendOrFail(window, WM_VSCROLL, MAKEWPARAM(SB_BOTTOM, 0), reinterpret_cast<LPARAM>(vert));
        SendOrFail(window, WM_HSCROLL, MAKEWPARAM(SB_PAGERIGHT, 0), reinterpret_cast<LPARAM>(horz));
        for (int i = 0; i < 5; ++i)
            SendOrFail(window, WM_HSCROLL, MAKEWPARAM(SB_PAGERIGHT, 0),
                       reinterpret_cast<LPARAM>(horz));
        EXPECT_EQ(offset().x, maxX);
        EXPECT_EQ(offset().y, maxY);
        expectBarsShow("the end");

        // Minimised and restored: the canvas stays where it was, and so do
        // the bars.
        ::ShowWindow(window, SW_MINIMIZE);
        SendOrFail(window, WM_NULL);
        ::ShowWindow(window, SW_RESTORE);
        EXPECT_EQ(offset().x, maxX);
        expectBarsShow("minimise and restore");
        // Fit then Actual Size: back at the start, bars too.
        SendOrFail(window, WM_COMMAND, IDC_ZOOM_FIT);
        SendOrFail(window, WM_COMMAND, IDC_ZOOM_ACTUAL);
        EXPECT_EQ(offset().x, 0);
        EXPECT_EQ(offset().y, 0);
        expectBarsShow("Fit then Actual Size");
    });
}

TEST_F(MainWindow, CopyPutsTheFlattenedPictureOnTheClipboard) {
    Run([&](HWND window) {
        SendOrFail(window, WM_TRAY_NOTIFY, 0, WM_LBUTTONDOWN);
        Drag(window, {100, 100}, {500, 400}); // a crop of 400 x 300
        SendOrFail(window, WM_COMMAND, ID_CTX_COPY);
        ASSERT_TRUE(::OpenClipboard(nullptr));
        HBITMAP copied = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP));
        BITMAP info{};
        if (copied)
            ::GetObjectW(copied, sizeof(info), &info);
        ::CloseClipboard();
        ASSERT_NE(copied, nullptr);
        EXPECT_EQ(info.bmWidth, 400);
        EXPECT_EQ(info.bmHeight, 300);
        // Further edits leave the clipboard's picture alone.
        SendOrFail(window, WM_COMMAND, IDC_UNDO);
        ASSERT_TRUE(::OpenClipboard(nullptr));
        BITMAP after{};
        EXPECT_NE(::GetObjectW(::GetClipboardData(CF_BITMAP), sizeof(after), &after), 0);
        ::CloseClipboard();
    });
}

// The window on every work area its DPI allows (this process's DPI: the
// DPI system test runs this test again at each scale): placed on the work
// area, wherever the taskbar leaves it, with every command of the column in
// reach. A hidden window follows at its next capture.
TEST_F(MainWindow, EveryWorkAreaAtThisDpiKeepsEveryCommandInReach) {
    ScopedWorkArea restore;
    Run([&](HWND window) {
        SendOrFail(window, WM_TRAY_NOTIFY, 0, WM_LBUTTONDOWN);
        const UINT dpi = fw::DpiOf(window);
        int checked = 0;
        for (const WorkAreaRow& row : kWorkAreas) {
            if (!ScreenAllows(row, dpi))
                continue;
            ++checked;
            const std::string where = std::string(row.name) + " at " + std::to_string(dpi);
            ScopedWorkArea::Set(window, row.work);
            const RECT placed = ScreenRectOf(window);
            EXPECT_TRUE(::EqualRect(&placed, &row.work))
                << where << ": the window is at " << Describe(placed);
            ExpectColumnInReach(window, where);
            if (const std::wstring folder = PictureDirectory(); !folder.empty()) {
                // What the window has left to paint, painted first.
                ::RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
                const std::string name(row.name);
                SaveWindowPng(window, folder + L"\\work_area_" +
                                          std::wstring(name.begin(), name.end()) + L"_" +
                                          std::to_wstring(dpi) + L"dpi.png");
            }
        }
        EXPECT_GT(checked, 0);

        // Smaller than any screen the window is made for: the column
        // scrolls on its own bar, and the wheel over it brings the submit
        // panel into reach.
        ScopedWorkArea::Set(window, RECT{0, 0, 800, 400});
        HWND columnBar = ::GetDlgItem(window, IDC_COLUMN_SCROLL);
        EXPECT_TRUE(::IsWindowVisible(columnBar));
        RECT client{};
        ::GetClientRect(window, &client);
        EXPECT_GT(RectIn(window, ::GetDlgItem(window, IDC_SUBMIT_HOST)).bottom, client.bottom);
        const POINT overColumn = ScreenCentre(::GetDlgItem(window, IDC_TOOLS_PICTURE));
        for (int notch = 0; notch < 20; ++notch)
            SendOrFail(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)),
                       MAKELPARAM(overColumn.x, overColumn.y));
        const RECT submit = RectIn(window, ::GetDlgItem(window, IDC_SUBMIT_HOST));
        EXPECT_LE(submit.bottom, client.bottom) << Describe(submit);
        EXPECT_GE(submit.top, 0) << Describe(submit);
        EXPECT_GT(::GetScrollPos(columnBar, SB_CTL), 0);
        if (const std::wstring folder = PictureDirectory(); !folder.empty()) {
            ::RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            SaveWindowPng(window, folder + L"\\work_area_too_small_" + std::to_wstring(dpi) +
                                      L"dpi_scrolled.png");
        }

        // Hidden, the window does not move; the next capture places it.
        SendOrFail(window, WM_CLOSE);
        const RECT before = ScreenRectOf(window);
        ScopedWorkArea::Set(window, RECT{0, 40, 1280, 720});
        const RECT hidden = ScreenRectOf(window);
        EXPECT_TRUE(::EqualRect(&hidden, &before));
        SendOrFail(window, WM_TRAY_NOTIFY, 0, WM_LBUTTONDOWN);
        const RECT shown = ScreenRectOf(window);
        EXPECT_EQ(shown.top, 40) << Describe(shown);
        EXPECT_EQ(shown.bottom, 720) << Describe(shown);
        // A change of display settings while shown places it at once.
        RECT work{0, 0, 1366, 728};
        ASSERT_TRUE(::SystemParametersInfoW(SPI_SETWORKAREA, 0, &work, 0));
        SendOrFail(window, WM_DISPLAYCHANGE, 32, MAKELPARAM(1366, 768));
        const RECT changed = ScreenRectOf(window);
        EXPECT_TRUE(::EqualRect(&changed, &work)) << Describe(changed);
    });
}

// The real window, resized, puts every control where the layout arithmetic
// says for the sizes its controls really have.
TEST_F(MainWindow, ControlsLandOnTheComputedRectanglesAtTwoClientSizes) {
    Run([&](HWND window) {
        SendOrFail(window, WM_TRAY_NOTIFY, 0, WM_LBUTTONDOWN);
        for (const Size client : {Size{1920, 1040}, Size{1280, 680}}) {
            RECT frame{0, 0, client.cx, client.cy};
            ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE)),
                                 FALSE,
                                 static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_EXSTYLE)));
            ::SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left,
                           frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
            SendOrFail(window, WM_NULL);
            RECT actual{};
            ::GetClientRect(window, &actual);
            ASSERT_EQ(actual.right, client.cx);
            ASSERT_EQ(actual.bottom, client.cy);

            const MainLayoutInput in = MeasureMainLayoutInput(window, 96, ColumnPictureDpi(window));
            const MainLayout expected = ComputeMainLayout(in);

            // The frame of the layout, worked out by hand.
            const int columnLeft = client.cx - 200;
            const int statusTop = client.cy - 35;
            const RECT column{columnLeft, 0, client.cx, client.cy};
            const RECT status{0, statusTop, columnLeft, client.cy};
            const RECT surface{0, 0, columnLeft - in.vertScrollBar.cx,
                               statusTop - in.horzScrollBar.cy};
            ExpectControlsOnLayout(window, expected, column, status, surface,
                                   "at " + std::to_string(client.cx) + " x " +
                                       std::to_string(client.cy));
            EXPECT_EQ(expected.horzScroll.top, surface.bottom);
            EXPECT_EQ(expected.vertScroll.left, surface.right);

            // The status strip fills its frame, its link 40 pixels from the
            // right end.
            HWND strip = ::GetWindow(::GetDlgItem(window, IDC_STATUS_HOST), GW_CHILD);
            const RECT stripRect = RectIn(::GetParent(strip), strip);
            const RECT statusBar = ToRECT(expected.statusBar);
            EXPECT_TRUE(::EqualRect(&stripRect, &statusBar));
            EXPECT_EQ(ChildRect(strip, IDC_TELL_SOMEONE).right, columnLeft - 40);
        }
    });
}

// Captures, drawing, copies, zoom changes and saving, again and again, hold
// no more GDI objects at the end than after the warm-up rounds.
TEST_F(MainWindow, RepeatedWorkLeaksNoGdiObjects) {
    const std::wstring file = TempFilePath(L"lumvex_leak_check.jpg");
    Run([&](HWND window) {
        auto round = [&] {
            SendOrFail(window, WM_CLOSE);
            SendOrFail(window, WM_TRAY_NOTIFY, 0, WM_LBUTTONDOWN); // a new capture
            SendOrFail(window, WM_COMMAND, IDC_TOOL_PEN);
            Drag(window, {40, 40}, {300, 200});
            SendOrFail(window, WM_COMMAND, IDC_TOOL_ARROW);
            Drag(window, {300, 40}, {40, 200});
            // A text box typed into, its typing ended by the copy.
            SendOrFail(window, WM_COMMAND, IDC_TOOL_TEXT);
            Drag(window, {60, 220}, {260, 260});
            SendOrFail(window, WM_NULL);
            SendKeys(::GetDlgItem(::FindWindowExW(::GetDlgItem(window, IDC_DRAWING_SURFACE),
                                                  nullptr, L"#32770", nullptr),
                                  IDC_TEXT_EDIT),
                     L"Leak check");
            SendOrFail(window, WM_COMMAND, IDC_TOOL_CROP);
            Drag(window, {20, 20}, {400, 300});
            SendOrFail(window, WM_COMMAND, ID_CTX_COPY);
            SendOrFail(window, WM_COMMAND, IDC_ZOOM_FIT);
            SendOrFail(window, WM_COMMAND, IDC_ZOOM_ACTUAL);
            SendOrFail(window, WM_COMMAND, IDC_UNDO);
            SendOrFail(window, WM_COMMAND, IDC_REDO);
            EXPECT_TRUE(m_dialog.SaveScreenshotTo(file));
        };
        const GdiGrowth growth = MeasureGdiGrowth(round, 6, 4, [&] {
            ::Sleep(200);
            SendOrFail(window, WM_NULL);
        });
        ASSERT_GT(growth.warm, 0) << "no way to count GDI objects here";
        EXPECT_FALSE(growth.Leaks()) << growth.Describe();
    });
    ::DeleteFileW(file.c_str());
}

namespace keyboard {

// The window with the keyboard focus on the UI thread.
HWND Focus(DWORD uiThread) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    ::GetGUIThreadInfo(uiThread, &info);
    return info.hwndFocus;
}

// A control as the screen shows it.
Picture Shown(HWND control) {
    RECT rect{};
    ::GetWindowRect(control, &rect);
    return ScreenPicture(rect);
}

} // namespace keyboard

// Tab follows what the eye sees: the tools row by row, Undo, Redo, the
// palette, zoom, the submit panel, the status strip's links. The focused
// button shows it; the arrow keys move in the palette and Space picks; every
// button, picture link and swatch has a name to read out.
TEST_F(MainWindow, TabFollowsTheColumnTheFocusShowsAndEveryControlHasAName) {
    const DWORD uiThread = ::GetCurrentThreadId();
    Run([&](HWND window) {
        SendOrFail(window, WM_TRAY_NOTIFY, 0, WM_LBUTTONDOWN);
        HWND palette = ::GetWindow(::GetDlgItem(window, IDC_PALETTE_HOST), GW_CHILD);
        HWND panel = ::GetWindow(::GetDlgItem(window, IDC_SUBMIT_HOST), GW_CHILD);
        HWND strip = ::GetWindow(::GetDlgItem(window, IDC_STATUS_HOST), GW_CHILD);
        ASSERT_TRUE(palette && panel && strip);
        auto in = [](HWND parent, int id) { return ::GetDlgItem(parent, id); };
        HWND radios = in(panel, IDC_SUBMIT_BACKGROUND);
        const std::vector<HWND> expected{
            in(window, IDC_TOOL_POINTER), in(window, IDC_TOOL_HIGHLIGHT),
            in(window, IDC_TOOL_TEXT),    in(window, IDC_TOOL_ARROW),
            in(window, IDC_TOOL_CROP),    in(window, IDC_TOOL_PEN),
            in(window, IDC_UNDO),         in(window, IDC_REDO),
            in(palette, IDC_SWATCH_R1C1), in(window, IDC_ZOOM_ACTUAL),
            in(window, IDC_ZOOM_FIT),     in(radios, IDC_CREATE_TQ),
            in(panel, IDC_WORKORDER),     in(panel, IDC_SUBMIT),
            in(panel, IDC_SUBMIT_SAVE),   in(panel, IDC_SUBMIT_EMAIL),
            in(strip, IDC_EDITION),       in(strip, IDC_TELL_SOMEONE),
            in(window, IDC_TOOL_POINTER)};
        std::vector<HWND> visited{expected.front()};
        while (visited.size() < expected.size())
            visited.push_back(::GetNextDlgTabItem(window, visited.back(), FALSE));
        for (size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ(::GetDlgCtrlID(visited[i]), ::GetDlgCtrlID(expected[i])) << "stop " << i;

        // The focused tool button shows it, and so does a focused swatch.
        HWND pointer = in(window, IDC_TOOL_POINTER);
        SendOrFail(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(in(window, IDC_TOOL_TEXT)),
                   TRUE);
        ::UpdateWindow(pointer);
        PumpMessages(200);
        const Picture unfocused = keyboard::Shown(pointer);
        SendOrFail(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pointer), TRUE);
        EXPECT_TRUE(
            PumpUntil([&] { return DifferingPixels(keyboard::Shown(pointer), unfocused) > 100; },
                      kDriverTimeoutMs))
            << "the focused tool button looks as it did without the focus";

        // In the palette the arrows move the focus and Space picks. (Keys are
        // posted: the window handles them after any message sent to it.)
        SendOrFail(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(in(palette, IDC_SWATCH_R1C1)),
                   TRUE);
        const std::pair<WPARAM, int> moves[] = {{VK_RIGHT, IDC_SWATCH_R1C2},
                                                {VK_DOWN, IDC_SWATCH_R2C2},
                                                {VK_LEFT, IDC_SWATCH_R2C1},
                                                {VK_LEFT, IDC_SWATCH_R1C6}};
        for (const auto& move : moves) {
            HWND to = in(palette, move.second);
            ::PostMessageW(keyboard::Focus(uiThread), WM_KEYDOWN, move.first, 1);
            EXPECT_TRUE(
                PumpUntil([&] { return keyboard::Focus(uiThread) == to; }, kDriverTimeoutMs))
                << "key " << move.first << " did not move to " << move.second;
        }
        EXPECT_EQ(m_driver.Palette().GetCurrentColor(), RGB(255, 0, 10)) << "moving picked";
        ::PostMessageW(keyboard::Focus(uiThread), WM_KEYDOWN, VK_SPACE, 1);
        EXPECT_TRUE(PumpUntil([&] { return m_driver.Palette().GetCurrentColor() == RGB(0, 0, 0); },
                              kDriverTimeoutMs));

        // In the submit panel the arrow key goes from "Create TQ" to "Add to
        // existing TQ" and checks it.
        HWND addTo = in(radios, IDC_ADD_TO_TQ);
        SendOrFail(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(in(radios, IDC_CREATE_TQ)),
                   TRUE);
        ::PostMessageW(keyboard::Focus(uiThread), WM_KEYDOWN, VK_DOWN, 1);
        EXPECT_TRUE(
            PumpUntil([&] { return keyboard::Focus(uiThread) == addTo; }, kDriverTimeoutMs));
        EXPECT_EQ(SendOrFail(addTo, BM_GETCHECK), BST_CHECKED);

        // Names: the buttons' and the links' texts, the swatches' colours.
        for (const int id :
             {IDC_TOOL_POINTER, IDC_TOOL_HIGHLIGHT, IDC_TOOL_TEXT, IDC_TOOL_ARROW, IDC_TOOL_CROP,
              IDC_TOOL_PEN, IDC_UNDO, IDC_REDO, IDC_ZOOM_ACTUAL, IDC_ZOOM_FIT, IDC_LOGO})
            EXPECT_FALSE(WindowText(in(window, id)).empty()) << "control " << id;
        EXPECT_EQ(WindowText(in(window, IDC_TOOL_ARROW)), L"Arrow");
        EXPECT_EQ(WindowText(in(window, IDC_LOGO)), L"Lumvex web site");
        for (const int id : {IDC_SUBMIT, IDC_SUBMIT_SAVE, IDC_SUBMIT_EMAIL})
            EXPECT_FALSE(WindowText(in(panel, id)).empty()) << "control " << id;
        EXPECT_EQ(WindowText(in(palette, IDC_SWATCH_R2C4)), L"Blue");
        EXPECT_EQ(WindowText(in(strip, IDC_TELL_SOMEONE)), L"Tell someone !");
    });
}

} // namespace
