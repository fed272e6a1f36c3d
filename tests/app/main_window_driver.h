// Drives the main window from a second thread while its modal loop runs on
// the test thread, through the window's real messages and input.
#pragma once

#include <windows.h>

#include "app/lumvex_dlg.h"
#include "framework/profile.h"
#include "upload/app_settings.h"

#include "support/lumvex_dlg_test_driver.h"
#include "support/modal_driver.h"
#include "support/scratch_registry.h"
#include "support/test_window.h"

#include <gtest/gtest.h>

#include <functional>

// The main window once it exists, or null after five seconds.
HWND WaitForMainWindow();

// The window can be found while it is still initialising, and a message sent
// from another thread is handled at the next cross-thread call it makes (the
// tray icon's, for one). Waits for the last panel, then for the loop itself.
void WaitUntilInitialised(HWND window);

// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND window, int id);

// Waits up to the timeout for a visible window that owner owns
// (FindOwnedWindow).
HWND WaitForOwnedWindow(HWND owner, DWORD timeoutMs = kDriverTimeoutMs);

// Runs the dialog modally on this thread while script drives it from another;
// answers DoModal's result. If the window never shows up the loop is ended
// from outside so that the test cannot hang. The quit message that ends the
// loop is taken off the queue afterwards.
INT_PTR RunWithDriver(CLumvexDlg& dialog, const std::function<void(HWND)>& script);

// The main window on a scratch registry, run modally for one script.
class MainWindowFixture : public testing::Test {
protected:
    // Runs the window modally while script drives it; ends with the Exit
    // command when the script is done.
    void Run(const std::function<void(HWND)>& script);

    // Brings the window forward with a capture, so that keys reach it.
    void ShowWithCapture(HWND window);

    // Presses the keys and answers the number of items once the window has
    // handled them (holding the keys up to two seconds for the expected
    // number).
    size_t ItemsAfterKeys(HWND window, std::initializer_list<WORD> keys, size_t expected);

    // A committed drag with the current tool, in surface coordinates.
    void Drag(HWND window, POINT from, POINT to);

    ScratchRegistry m_scratch;
    fw::Profile m_profile{L"Software\\LumvexTests\\MainWindow"};
    CAppSettings m_settings;
    CLumvexDlg m_dialog{m_settings, m_profile};
    // Its parts and state.
    CLumvexDlgTestDriver m_driver{m_dialog};
};
