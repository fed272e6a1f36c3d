#include "main_window_driver.h"

#include "app/lumvex_dlg.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <thread>

HWND WaitForMainWindow() {
    HWND window = nullptr;
    PumpUntil([&] { return (window = ::FindWindowW(L"#32770", CLumvexDlg::kCaption)) != nullptr; },
              kDriverTimeoutMs);
    return window;
}

void WaitUntilInitialised(HWND window) {
    PumpUntil(
        [&] { return ::GetWindow(::GetDlgItem(window, IDC_PALETTE_HOST), GW_CHILD) != nullptr; },
        kDriverTimeoutMs);
    SendOrFail(window, WM_NULL);
}

RECT ChildRect(HWND window, int id) {
    RECT rect{};
    ::GetWindowRect(::GetDlgItem(window, id), &rect);
    ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

INT_PTR RunWithDriver(CLumvexDlg& dialog, const std::function<void(HWND)>& script) {
    const DWORD loopThread = ::GetCurrentThreadId();
    std::thread driver([&] {
        HWND window = WaitForMainWindow();
        if (!window) {
            ADD_FAILURE() << "the main window never appeared";
            ::PostThreadMessageW(loopThread, WM_QUIT, 0, 0);
            return;
        }
        script(window);
    });
    const INT_PTR result = dialog.DoModal(nullptr);
    driver.join();
    // DoModal passes the quit message on for outer loops; tests have none.
    TakeQuitMessage();
    return result;
}

void MainWindowFixture::Run(const std::function<void(HWND)>& script) {
    RunWithDriver(m_dialog, [&](HWND window) {
        WaitUntilInitialised(window);
        script(window);
        ::PostMessageW(window, WM_COMMAND, ID_TRAY_EXIT, 0);
    });
}

void MainWindowFixture::ShowWithCapture(HWND window) {
    SendOrFail(window, WM_TRAY_NOTIFY, 0, WM_LBUTTONDOWN);
    ::SetForegroundWindow(window);
    EXPECT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == window; }, kDriverTimeoutMs));
    // Wine reloads its key state from the X server when the X focus arrives,
    // which happens some time after the window came forward; a Ctrl pressed
    // through SendInput before that would be forgotten.
    ::Sleep(500);
}

size_t MainWindowFixture::ItemsAfterKeys(HWND window, std::initializer_list<WORD> keys,
                                         size_t expected) {
    PressKeysUntil(
        keys,
        [&] {
            SendOrFail(window, WM_NULL);
            return m_driver.Canvas().GetItems().size() == expected;
        },
        2000);
    SendOrFail(window, WM_NULL);
    return m_driver.Canvas().GetItems().size();
}

void MainWindowFixture::Drag(HWND window, POINT from, POINT to) {
    HWND surface = ::GetDlgItem(window, IDC_DRAWING_SURFACE);
    // Wine reports a real mouse move at the pointer's position whenever the
    // pointer seems to have moved over a window (one shown under it, for
    // one); such a move arriving mid-drag took the item's corner to wherever
    // the pointer was. With the pointer where the drag ends, it can only take
    // the corner where it is going anyway.
    POINT end = to;
    ::ClientToScreen(surface, &end);
    ::SetCursorPos(end.x, end.y);
    SendOrFail(surface, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    SendOrFail(surface, WM_MOUSEMOVE, MK_LBUTTON,
               MAKELPARAM((from.x + to.x) / 2, (from.y + to.y) / 2));
    SendOrFail(surface, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    SendOrFail(surface, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
}

HWND WaitForOwnedWindow(HWND owner, DWORD timeoutMs) {
    HWND found = nullptr;
    PumpUntil([&] { return (found = FindOwnedWindow(owner)) != nullptr; }, timeoutMs);
    return found;
}
