#include "system/program_test.h"

#include "system/top_window.h"
#include "system/tray_menu.h"

#include "support/registry_value.h"
#include "support/test_window.h"

void ProgramTest::SetUp() {
    TerminateProgramsNamed({L"lumvex.exe"});
    ASSERT_TRUE(DeleteRegistryTree(kProfileRoot));
}

void ProgramTest::StartAndShow(HWND* window) {
    constexpr DWORD kTimeoutMs = 15000;
    m_program = ChildProcess::Start(ProgramPath(), L"");
    ASSERT_TRUE(m_program.IsStarted());
    *window = WaitForTopWindow(m_program.Id(), L"#32770", L"Tessaly Quillon ", kTimeoutMs);
    ASSERT_NE(*window, nullptr);
    POINT icon{};
    ASSERT_TRUE(PumpUntil([&] { return (icon = OurTrayIcon()).x >= 0; }, kTimeoutMs))
        << "no notification icon";
    MouseClickAt(icon);
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(*window) != FALSE; }, kTimeoutMs))
        << "the tray click showed no window";
    ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == *window; }, kTimeoutMs));
    // Wine reloads its key state from the X server once the X focus arrives.
    PumpMessages(500);
}

void ProgramTest::TearDown() {
    m_program.Terminate();
    DeleteRegistryTree(kProfileRoot);
    ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Tessaly_Orbicam");
}
