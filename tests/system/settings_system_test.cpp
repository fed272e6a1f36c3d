// The real program's upload servers, chosen through its settings and its
// own-server dialog with the mouse and keyboard, and found again after a
// restart.
#include "system/program_test.h"
#include "system/top_window.h"
#include "system/tray_menu.h"

#include "support/modal_driver.h"
#include "support/picture.h"
#include "support/registry_value.h"
#include "support/test_window.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

constexpr wchar_t kMainCaption[] = L"Tessaly Quillon ";
const std::wstring kCommon = kProfileRoot + L"\\Settings\\Common";
const std::wstring kServers = kProfileRoot + L"\\Settings\\Servers";
constexpr DWORD kTimeoutMs = 15000;

bool WaitUntil(const std::function<bool()>& condition) {
    return PumpUntil(condition, kTimeoutMs);
}

void Click(HWND dialog, int id) {
    MouseClickAt(ScreenCentre(::GetDlgItem(dialog, id)));
}

class SettingsSystemTest : public ProgramTest {
protected:
    // Starts the program and waits for its hidden window and its icon.
    HWND Start() {
        m_program = ChildProcess::Start(ProgramPath(), L"");
        HWND window = WaitForTopWindow(m_program.Id(), L"#32770", kMainCaption, kTimeoutMs);
        EXPECT_NE(window, nullptr);
        EXPECT_TRUE(WaitUntil([] { return OurTrayIcon().x >= 0; })) << "no notification icon";
        return window;
    }

    // "Settings..." from the icon's menu: the entry above "Exit".
    HWND OpenSettings() {
        EXPECT_TRUE(ChooseFromTrayMenu(1, kTimeoutMs)) << "the tray menu did not open";
        return WaitForShownTopWindow(m_program.Id(), L"#32770", L"Settings", kTimeoutMs);
    }

    void Exit() {
        ASSERT_TRUE(ChooseFromTrayMenu(0, kTimeoutMs)) << "the tray menu did not open";
        ASSERT_TRUE(m_program.WaitForExit(kTimeoutMs)) << "Exit did not end the program";
    }
};

TEST_F(SettingsSystemTest, ServersChosenByTheUserAreThereAfterARestart) {
    HWND window = Start();
    ASSERT_NE(window, nullptr);

    // A server of the team's, added in the settings and picked there.
    HWND settings = OpenSettings();
    ASSERT_NE(settings, nullptr) << "Settings... opened no settings";
    Click(settings, IDC_SERVER_ADD);
    HWND address = WaitForShownTopWindow(m_program.Id(), L"#32770", L"Upload Server", kTimeoutMs);
    ASSERT_NE(address, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == address; }));
    PumpMessages(300);
    TypeText(L"team.example\r");
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(address); })) << "Enter did not take it";
    Click(settings, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(settings); }));
    // Saved at once, not only when the program ends.
    EXPECT_TRUE(WaitUntil([] { return ReadRegistryString(kServers, L"ServerURL_1").has_value(); }));
    EXPECT_EQ(ReadRegistryString(kServers, L"ServerURL_1"), L"team.example");
    EXPECT_EQ(ReadRegistryDword(kCommon, L"ServerIndex"), 1u);

    // The user's own server, from the edition text of the status strip.
    MouseClickAt(OurTrayIcon());
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) != FALSE; }));
    HWND strip = ::GetWindow(::GetDlgItem(window, IDC_STATUS_HOST), GW_CHILD);
    ASSERT_NE(strip, nullptr);
    Click(strip, IDC_EDITION);
    HWND own = WaitForShownTopWindow(m_program.Id(), L"#32770", L"", kTimeoutMs);
    ASSERT_NE(own, nullptr) << "the edition text opened nothing";
    ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == own; }));
    PumpMessages(300);
    TypeText(L"own.example");
    if (const std::wstring folder = PictureDirectory(); !folder.empty()) {
        const RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
        const Picture shot = ScreenPicture(screen);
        EXPECT_TRUE(SavePng(shot, folder + L"\\own_server_over_main_window.png"));
    }
    Click(own, IDC_SETTINGS_EX_SAVE);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(own); }));
    EXPECT_TRUE(WaitUntil([] { return ReadRegistryString(kServers, L"ServerURL_2").has_value(); }));
    EXPECT_EQ(ReadRegistryString(kServers, L"ServerURL_2"), L"own.example");
    EXPECT_EQ(ReadRegistryDword(kCommon, L"ServerIndex"), 2u);

    ::SendMessageW(window, WM_CLOSE, 0, 0);
    Exit();

    // Started again: the same servers, the own one selected.
    window = Start();
    ASSERT_NE(window, nullptr);
    // The strip's hidden server name, once the window has made the strip.
    EXPECT_TRUE(WaitUntil([&] {
        strip = ::GetWindow(::GetDlgItem(window, IDC_STATUS_HOST), GW_CHILD);
        return WindowText(::GetDlgItem(strip, IDC_SERVER_NAME)) == L"own.example";
    }));
    settings = OpenSettings();
    ASSERT_NE(settings, nullptr);
    HWND list = ::GetDlgItem(settings, IDC_SERVER_LIST);
    EXPECT_EQ(ComboItems(list), (std::vector<std::wstring>{L"workorders.example.com",
                                                           L"team.example", L"own.example"}));
    EXPECT_EQ(ComboSelection(list), 2);
    Click(settings, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(settings); }));
    Exit();
}

} // namespace
