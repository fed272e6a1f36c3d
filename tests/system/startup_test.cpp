// The real program, started as separate processes: single instance, the
// exit request and where the settings land.
#include "system/child_process.h"
#include "system/top_window.h"

#include "support/registry_value.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <deque>
#include <vector>

namespace {

constexpr wchar_t kMainCaption[] = L"Tessaly Quillon ";
constexpr wchar_t kDialogClass[] = L"#32770";
const std::wstring kRoot = L"Software\\Tessaly_Orbicam\\Lumvex";
const std::wstring kCommon = kRoot + L"\\Settings\\Common";
const std::wstring kServers = kRoot + L"\\Settings\\Servers";
constexpr DWORD kTimeoutMs = 15000;
// What the program and its renamed copies are called.
const std::vector<std::wstring> kProgramNames = {L"lumvex.exe", L"orbit_capture.exe",
                                                 L"Another Name.exe"};

// The real profile key is shared with anything else that runs the program in
// this Wine prefix: start and end every test without it, and without a
// running instance.
class StartupSystemTest : public testing::Test {
protected:
    void SetUp() override {
        TerminateProgramsNamed(kProgramNames);
        ASSERT_TRUE(DeleteRegistryTree(kRoot));
    }
    void TearDown() override {
        m_processes.clear();
        TerminateProgramsNamed(kProgramNames);
        DeleteRegistryTree(kRoot);
        for (const std::wstring& key : m_scratchKeys)
            DeleteRegistryTree(key);
        // Only when nothing else lives there.
        ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Tessaly_Orbicam");
        for (const std::wstring& file : m_scratchFiles)
            ::DeleteFileW(file.c_str());
        if (!m_scratchFolder.empty())
            ::RemoveDirectoryW(m_scratchFolder.c_str());
    }

    // A copy of the program under another name in a scratch folder.
    std::wstring CopyProgram(const std::wstring& name) {
        if (m_scratchFolder.empty()) {
            wchar_t temp[MAX_PATH]{};
            ::GetTempPathW(MAX_PATH, temp);
            m_scratchFolder =
                std::wstring(temp) + L"lumvex_renamed_" + std::to_wstring(::GetCurrentProcessId());
            ::CreateDirectoryW(m_scratchFolder.c_str(), nullptr);
        }
        const std::wstring copy = m_scratchFolder + L"\\" + name;
        m_scratchFiles.push_back(copy);
        EXPECT_TRUE(::CopyFileW(ProgramPath().c_str(), copy.c_str(), FALSE));
        return copy;
    }

    ChildProcess& Start(const std::wstring& arguments,
                        const std::wstring& program = ProgramPath()) {
        m_processes.push_back(ChildProcess::Start(program, arguments));
        EXPECT_TRUE(m_processes.back().IsStarted()) << "cannot start " << program.c_str();
        return m_processes.back();
    }

    // A normal start: answers the main window once the settings are loaded.
    HWND StartFirst(const std::wstring& arguments = L"",
                    const std::wstring& program = ProgramPath()) {
        ChildProcess& first = Start(arguments, program);
        m_firstIndex = m_processes.size() - 1;
        return WaitForTopWindow(first.Id(), kDialogClass, kMainCaption, kTimeoutMs);
    }
    ChildProcess& First() { return m_processes.at(m_firstIndex); }

    // Ends the first instance the way a later start does, and waits.
    void StopFirst(HWND window) {
        ::PostMessageW(window, 0x0464, 0, 0);
        EXPECT_TRUE(First().WaitForExit(kTimeoutMs));
    }

    // Every process started, until TearDown ends what remains. A deque keeps
    // references to earlier ones valid.
    std::deque<ChildProcess> m_processes;
    size_t m_firstIndex = 0;
    // Keys a faulty program could write, removed before and after the test.
    std::vector<std::wstring> m_scratchKeys;
    std::wstring m_scratchFolder;
    std::vector<std::wstring> m_scratchFiles;
};

// Arguments of the first start and of the plain second start; none of these
// is an exit request.
struct PlainStart {
    const char* name;
    const wchar_t* first;
    const wchar_t* second;
};
void PrintTo(const PlainStart& start, std::ostream* out) {
    *out << start.name;
}

class PlainSecondStart : public StartupSystemTest,
                         public testing::WithParamInterface<PlainStart> {};

TEST_P(PlainSecondStart, ShowsTheInformationBoxAndLeavesTheFirstAlone) {
    HWND mainWindow = StartFirst(GetParam().first);
    ASSERT_NE(mainWindow, nullptr) << "a normal start shows no main window";
    EXPECT_FALSE(::IsWindowVisible(mainWindow));

    ChildProcess& second = Start(GetParam().second);
    HWND box = WaitForTopWindow(second.Id(), kDialogClass, L"Information", kTimeoutMs);
    ASSERT_NE(box, nullptr) << "no message box from the second start";
    wchar_t text[256]{};
    ::GetDlgItemTextW(box, 0xFFFF, text, 256);
    EXPECT_STREQ(text,
                 L"The application is already running. Please use the application tray icon to "
                 L"launch!");
    EXPECT_EQ(FindTopWindow(second.Id(), nullptr, kMainCaption), nullptr);

    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(second.WaitForExit(kTimeoutMs));
    EXPECT_EQ(second.ExitCode(), 0u);
    // The second start read and wrote nothing; the first has not saved yet.
    EXPECT_FALSE(RegistryKeyExists(kRoot));

    EXPECT_TRUE(First().IsRunning());
    EXPECT_TRUE(::IsWindow(mainWindow));
    StopFirst(mainWindow);
    EXPECT_TRUE(RegistryKeyExists(kCommon));
}

INSTANTIATE_TEST_SUITE_P(Arguments, PlainSecondStart,
                         testing::Values(PlainStart{"NoSwitch", L"", L""},
                                         PlainStart{"BlankOrZero", L"/exit 1", L"/exit:0"},
                                         PlainStart{"ZeroOrBlank", L"/exit:0", L"/exit 1"}),
                         [](const auto& param) { return std::string(param.param.name); });

struct ExitSwitch {
    const char* name;
    const wchar_t* arguments;
};
void PrintTo(const ExitSwitch& exitSwitch, std::ostream* out) {
    *out << exitSwitch.name;
}

class ExitRequest : public StartupSystemTest, public testing::WithParamInterface<ExitSwitch> {};

TEST_P(ExitRequest, MakesTheRunningInstanceSaveAndQuitBeforeItReturns) {
    WriteRegistryString(kCommon, L"securitykey", L"SEEDED-KEY");
    WriteRegistryString(kServers, L"ServerURL_1", L"one.example.com");
    WriteRegistryString(kServers, L"ServerURL_3", L"three.example.com");
    HWND mainWindow = StartFirst();
    ASSERT_NE(mainWindow, nullptr);
    // What is in the profile from here on can only come from the first
    // instance saving what it loaded.
    ASSERT_TRUE(DeleteRegistryTree(kRoot));

    // Hold the first instance so that it cannot act on the request yet: the
    // second start must wait for it to end, not just ask.
    ASSERT_TRUE(First().Suspend());
    ChildProcess& second = Start(GetParam().arguments);
    EXPECT_FALSE(second.WaitForExit(700)) << "returned while the first still ran";
    ASSERT_TRUE(First().Resume());

    ASSERT_TRUE(second.WaitForExit(kTimeoutMs)) << "the exit request never returned";
    EXPECT_EQ(second.ExitCode(), 0u);
    EXPECT_TRUE(First().WaitForExit(0)) << "returned while the first still ran";

    EXPECT_EQ(ReadRegistryString(kCommon, L"securitykey"), L"SEEDED-KEY");
    EXPECT_EQ(ReadRegistryDword(kCommon, L"ServerIndex"), 0u);
    EXPECT_EQ(ReadRegistryDword(kCommon, L"EnableNotifications"), 1u);
    EXPECT_FALSE(ReadRegistryValue(kCommon, L"DefaultServer"));
    EXPECT_EQ(ReadRegistryString(kServers, L"ServerURL_1"), L"one.example.com");
    EXPECT_FALSE(ReadRegistryValue(kServers, L"ServerURL_3"));
}

INSTANTIATE_TEST_SUITE_P(Switches, ExitRequest,
                         testing::Values(ExitSwitch{"Slash", L"/exit:1"},
                                         ExitSwitch{"DashUpperCase", L"-EXIT:1"},
                                         ExitSwitch{"Quoted", L"/Exit:\"1\""}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(StartupSystemTest, ExitRequestWithNothingRunningDoesNothing) {
    ChildProcess& lone = Start(L"/exit:1");
    // Watch for a main window for as long as the process lives.
    bool sawWindow = false;
    const ULONGLONG deadline = ::GetTickCount64() + kTimeoutMs;
    while (!lone.WaitForExit(5) && ::GetTickCount64() < deadline)
        sawWindow = sawWindow || FindTopWindow(lone.Id(), nullptr, kMainCaption);
    ASSERT_TRUE(lone.WaitForExit(0));
    EXPECT_EQ(lone.ExitCode(), 0u);
    EXPECT_FALSE(sawWindow);
    EXPECT_FALSE(RegistryKeyExists(kRoot));

    // It held the lock only while it ran: a normal start afterwards is first.
    HWND mainWindow = StartFirst();
    ASSERT_NE(mainWindow, nullptr);
    StopFirst(mainWindow);
}

// The profile root must not follow the program file's name: run two renamed
// copies, one as the instance and one with the exit switch.
TEST_F(StartupSystemTest, ProfileRootDoesNotDependOnTheProgramFileName) {
    const std::wstring wrongRoots[] = {L"Software\\Tessaly_Orbicam\\orbit_capture",
                                       L"Software\\Tessaly_Orbicam\\Another Name",
                                       L"Software\\orbit_capture"};
    for (const std::wstring& key : wrongRoots) {
        ASSERT_TRUE(DeleteRegistryTree(key));
        m_scratchKeys.push_back(key);
    }
    const std::wstring instanceCopy = CopyProgram(L"orbit_capture.exe");
    const std::wstring requestCopy = CopyProgram(L"Another Name.exe");

    HWND mainWindow = StartFirst(L"", instanceCopy);
    ASSERT_NE(mainWindow, nullptr);
    ChildProcess& second = Start(L"/exit:1", requestCopy);
    ASSERT_TRUE(second.WaitForExit(kTimeoutMs));
    EXPECT_TRUE(First().WaitForExit(0));

    EXPECT_EQ(ReadRegistryString(kCommon, L"securitykey"), L"SKYQUOMBIRLA470470");
    for (const std::wstring& key : wrongRoots)
        EXPECT_FALSE(RegistryKeyExists(key)) << key.c_str();
}

} // namespace
