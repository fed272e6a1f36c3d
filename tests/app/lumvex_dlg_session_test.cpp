#include "app/lumvex_dlg.h"
#include "upload/app_settings.h"

#include "main_window_driver.h"
#include "support/registry_value.h"
#include "support/scratch_registry.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

const std::wstring kRoot = L"Software\\Tessaly_Orbicam\\Lumvex";
const std::wstring kCommon = kRoot + L"\\Settings\\Common";

class LumvexDlgSession : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_scratch.IsActive());
        m_settings.LoadSettings(m_profile);
        m_settings.securityKey = L"UNSAVED-CHANGE";
    }

    ScratchRegistry m_scratch;
    fw::Profile m_profile{kRoot};
    CAppSettings m_settings;
};

TEST_F(LumvexDlgSession, IsAHiddenWindowOfTheTemplatesStyleSizedToTheWorkArea) {
    CLumvexDlg dialog(m_settings, m_profile);
    const INT_PTR result = RunWithDriver(dialog, [](HWND window) {
        wchar_t caption[64]{};
        ::GetWindowTextW(window, caption, 64);
        EXPECT_STREQ(caption, L"Tessaly Quillon ");
        EXPECT_FALSE(::IsWindowVisible(window));

        const LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
        EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX),
                  WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
        EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
        EXPECT_TRUE(::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_APPWINDOW);

        EXPECT_NE(::GetDlgItem(window, IDC_DRAWING_SURFACE), nullptr);
        // Found while still initialising: the size is the one it ends with,
        // the work area's.
        WaitUntilInitialised(window);
        RECT work{};
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        RECT frame{};
        ::GetWindowRect(window, &frame);
        EXPECT_EQ(frame.right - frame.left, work.right - work.left);
        EXPECT_EQ(frame.bottom - frame.top, work.bottom - work.top);
        EXPECT_FALSE(::IsWindowVisible(window)) << "initialising shows nothing";

        // Enter and Escape must not end the program's loop.
        SendOrFail(window, WM_COMMAND, IDOK, 0);
        SendOrFail(window, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(::IsWindow(window));
        ::PostMessageW(window, WM_EXIT_APP, 0, 0);
    });
    // Ended by the quit message, not by EndDialog.
    EXPECT_EQ(result, IDABORT);
    EXPECT_EQ(dialog.Hwnd(), nullptr);
}

TEST_F(LumvexDlgSession, ExitRequestEndsTheLoopWithoutSaving) {
    CLumvexDlg dialog(m_settings, m_profile);
    EXPECT_EQ(RunWithDriver(dialog, [](HWND window) { ::PostMessageW(window, WM_EXIT_APP, 0, 0); }),
              IDABORT);
    // Saving at the end of the run is the application's job.
    EXPECT_FALSE(RegistryKeyExists(kRoot));
}

TEST_F(LumvexDlgSession, SessionEndSavesFirstAndQuitsOnlyWhenItReallyEnds) {
    CLumvexDlg dialog(m_settings, m_profile);
    const INT_PTR result = RunWithDriver(dialog, [](HWND window) {
        EXPECT_EQ(SendOrFail(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
        EXPECT_EQ(ReadRegistryString(kCommon, L"securitykey"), L"UNSAVED-CHANGE");

        // A cancelled log-off: the program keeps running.
        SendOrFail(window, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
        ::Sleep(200);
        EXPECT_TRUE(::IsWindow(window));

        // A second query saves again.
        DeleteRegistryTree(kRoot);
        EXPECT_EQ(SendOrFail(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
        EXPECT_TRUE(ReadRegistryValue(kCommon, L"securitykey"));

        SendOrFail(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    });
    EXPECT_EQ(result, IDABORT);
}

} // namespace
