// The main window driven through its real messages from a second thread while
// its modal loop runs on the test thread.
#include "app/lumvex_dlg.h"
#include "upload/app_settings.h"

#include "support/scratch_registry.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <thread>

namespace {

HWND WaitForWindow() {
    for (int attempt = 0; attempt < 500; ++attempt) {
        if (HWND window = ::FindWindowW(L"#32770", CLumvexDlg::kCaption))
            return window;
        ::Sleep(10);
    }
    return nullptr;
}

void Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, 10000, &result))
        ADD_FAILURE() << "message " << message << " was not answered";
}

RECT ChildRect(HWND window, int id) {
    RECT rect{};
    ::GetWindowRect(::GetDlgItem(window, id), &rect);
    ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The window can be found while it is still initialising, and a message sent
// from another thread is handled at the next cross-thread call it makes (the
// tray icon's, for one). Wait for the last panel, then for the loop itself.
void WaitUntilInitialised(HWND window) {
    for (int attempt = 0; attempt < 500; ++attempt) {
        if (::GetWindow(::GetDlgItem(window, IDC_PALETTE_HOST), GW_CHILD))
            break;
        ::Sleep(10);
    }
    Send(window, WM_NULL);
}

class MainWindow : public testing::Test {
protected:
    // Runs the window modally while script drives it; ends with the Exit
    // command when the script is done.
    void Run(const std::function<void(HWND)>& script) {
        const DWORD loopThread = ::GetCurrentThreadId();
        std::thread driver([&] {
            HWND window = WaitForWindow();
            if (!window) {
                ADD_FAILURE() << "the main window never appeared";
                ::PostThreadMessageW(loopThread, WM_QUIT, 0, 0);
                return;
            }
            WaitUntilInitialised(window);
            script(window);
            ::PostMessageW(window, WM_COMMAND, ID_TRAY_EXIT, 0);
        });
        m_dialog.DoModal(nullptr);
        driver.join();
        MSG quit{};
        ::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }

    // A committed drag with the current tool, in surface coordinates.
    void Drag(HWND window, POINT from, POINT to) {
        HWND surface = ::GetDlgItem(window, IDC_DRAWING_SURFACE);
        Send(surface, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
        Send(surface, WM_MOUSEMOVE, MK_LBUTTON,
             MAKELPARAM((from.x + to.x) / 2, (from.y + to.y) / 2));
        Send(surface, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
        Send(surface, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    }

    ScratchRegistry m_scratch;
    fw::Profile m_profile{L"Software\\LumvexTests\\MainWindow"};
    CAppSettings m_settings;
    CLumvexDlg m_dialog{m_settings, m_profile};
};

TEST_F(MainWindow, TrayClickCapturesWhenHiddenAndOnlyShowsWhenShown) {
    Run([&](HWND window) {
        EXPECT_FALSE(::IsWindowVisible(window));
        EXPECT_TRUE(m_dialog.TrayIcon().IsAdded());
        Send(window, WM_TRAY_NOTIFY, 0, WM_LBUTTONDOWN);
        EXPECT_TRUE(::IsWindowVisible(window));
        // The program starts with the Crop tool: a drag makes a crop.
        EXPECT_EQ(m_dialog.CurrentTool(), Tool::Crop);
        Send(window, WM_COMMAND, IDC_TOOL_ARROW);
        Drag(window, {100, 100}, {300, 200});
        ASSERT_EQ(m_dialog.Canvas().GetItems().size(), 1u);

        // Shown: a click brings the window forward and keeps the annotations.
        Send(window, WM_TRAY_NOTIFY, 0, WM_LBUTTONDOWN);
        EXPECT_EQ(m_dialog.Canvas().GetItems().size(), 1u);

        // Enter and Escape change nothing; the close box only hides.
        Send(window, WM_COMMAND, IDOK);
        Send(window, WM_COMMAND, IDCANCEL);
        EXPECT_TRUE(::IsWindowVisible(window));
        Send(window, WM_CLOSE);
        EXPECT_FALSE(::IsWindowVisible(window));
        EXPECT_EQ(m_dialog.Canvas().GetItems().size(), 1u);

        // Hidden again: a click takes a new picture without annotations.
        Send(window, WM_TRAY_NOTIFY, 0, WM_LBUTTONDOWN);
        EXPECT_TRUE(::IsWindowVisible(window));
        EXPECT_TRUE(m_dialog.Canvas().GetItems().empty());
        // A double click shows a hidden window without a capture.
        Send(window, WM_CLOSE);
        Send(window, WM_TRAY_NOTIFY, 0, WM_LBUTTONDBLCLK);
        EXPECT_TRUE(::IsWindowVisible(window));
    });
    EXPECT_FALSE(m_dialog.TrayIcon().IsAdded()) << "the icon must go with the window";
}

TEST_F(MainWindow, UndoRedoAndDeleteThroughCommandsAndMessages) {
    Run([&](HWND window) {
        Send(window, WM_TRAY_NOTIFY, 0, WM_LBUTTONDOWN);
        Send(window, WM_COMMAND, ID_CTX_TOOL_PEN);
        EXPECT_EQ(m_dialog.CurrentTool(), Tool::Pen);
        Drag(window, {50, 50}, {150, 90});
        Drag(window, {60, 200}, {160, 260});
        ASSERT_EQ(m_dialog.Canvas().GetItems().size(), 2u);
        Send(window, WM_COMMAND, IDC_UNDO);
        EXPECT_EQ(m_dialog.Canvas().GetItems().size(), 1u);
        Send(window, WM_CANVAS_UNDO);
        EXPECT_TRUE(m_dialog.Canvas().GetItems().empty());
        Send(window, WM_COMMAND, IDC_REDO);
        Send(window, WM_CANVAS_REDO);
        EXPECT_EQ(m_dialog.Canvas().GetItems().size(), 2u);
    });
}

TEST_F(MainWindow, FitFillsTheAreaOnceAndActualSizeRestoresTheBars) {
    Run([&](HWND window) {
        Send(window, WM_TRAY_NOTIFY, 0, WM_LBUTTONDOWN);
        const RECT actual = ChildRect(window, IDC_DRAWING_SURFACE);
        const RECT vert = ChildRect(window, IDC_VSCROLL);
        const RECT horz = ChildRect(window, IDC_HSCROLL);
        EXPECT_EQ(actual.right, vert.left);
        EXPECT_EQ(actual.bottom, horz.top);

        Send(window, WM_COMMAND, IDC_ZOOM_FIT);
        EXPECT_TRUE(m_dialog.IsFitted());
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

        Send(window, WM_COMMAND, IDC_ZOOM_FIT);
        const RECT again = ChildRect(window, IDC_DRAWING_SURFACE);
        EXPECT_TRUE(::EqualRect(&fitted, &again)) << "a second fit changes nothing";

        Send(window, WM_COMMAND, IDC_ZOOM_ACTUAL);
        EXPECT_FALSE(m_dialog.IsFitted());
        EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(window, IDC_VSCROLL)));
        const RECT restored = ChildRect(window, IDC_DRAWING_SURFACE);
        EXPECT_TRUE(::EqualRect(&actual, &restored));
    });
}

TEST_F(MainWindow, OnlyThumbTrackingTopAndBottomScrollTheCanvas) {
    Run([&](HWND window) {
        Send(window, WM_TRAY_NOTIFY, 0, WM_LBUTTONDOWN);
        HWND bar = ::GetDlgItem(window, IDC_HSCROLL);
        Send(window, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 120), reinterpret_cast<LPARAM>(bar));
        EXPECT_EQ(::GetScrollPos(bar, SB_CTL), 120);
        Send(window, WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0), reinterpret_cast<LPARAM>(bar));
        Send(window, WM_HSCROLL, MAKEWPARAM(SB_PAGERIGHT, 0), reinterpret_cast<LPARAM>(bar));
        EXPECT_EQ(::GetScrollPos(bar, SB_CTL), 120) << "arrows and pages do not scroll";
        Send(window, WM_HSCROLL, MAKEWPARAM(SB_TOP, 0), reinterpret_cast<LPARAM>(bar));
        EXPECT_EQ(::GetScrollPos(bar, SB_CTL), 0);
        // The canvas follows: image point (0, 0) is back at view (0, 0).
        EXPECT_EQ(m_dialog.Canvas().ViewToImage(POINT{0, 0}).x, 0);
        Send(window, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 200), reinterpret_cast<LPARAM>(bar));
        EXPECT_EQ(m_dialog.Canvas().ViewToImage(POINT{0, 0}).x, 200);
    });
}

TEST_F(MainWindow, CopyPutsTheFlattenedPictureOnTheClipboard) {
    Run([&](HWND window) {
        Send(window, WM_TRAY_NOTIFY, 0, WM_LBUTTONDOWN);
        Drag(window, {100, 100}, {500, 400}); // a crop of 400 x 300
        Send(window, WM_COMMAND, ID_CTX_COPY);
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
        Send(window, WM_COMMAND, IDC_UNDO);
        ASSERT_TRUE(::OpenClipboard(nullptr));
        BITMAP after{};
        EXPECT_NE(::GetObjectW(::GetClipboardData(CF_BITMAP), sizeof(after), &after), 0);
        ::CloseClipboard();
    });
}

TEST_F(MainWindow, SavingNothingShowsTheErrorInsteadOfPretending) {
    Run([&](HWND window) {
        // No capture yet: there is no picture to write.
        std::thread closer([] {
            for (int i = 0; i < 500; ++i) {
                if (HWND box = ::FindWindowW(L"#32770", L"Error")) {
                    wchar_t text[128]{};
                    ::GetDlgItemTextW(box, 0xFFFF, text, 128);
                    EXPECT_STREQ(text, L"The screenshot could not be saved.");
                    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
                    return;
                }
                ::Sleep(10);
            }
            ADD_FAILURE() << "no error box";
        });
        wchar_t path[MAX_PATH]{};
        ::GetTempPathW(MAX_PATH, path);
        std::wstring file = std::wstring(path) + L"lumvex_nothing.jpg";
        ::DeleteFileW(file.c_str());
        (void)window;
        const bool saved = m_dialog.SaveScreenshotTo(file);
        closer.join();
        EXPECT_FALSE(saved);
        EXPECT_EQ(::GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
    });
}

} // namespace
