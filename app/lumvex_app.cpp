#include "app/lumvex_app.h"

#include "app/cmd_line_parser.h"
#include "app/lumvex_dlg.h"
#include "framework/handles.h"

#include "resource.h"

#include <windows.h>
#include <commctrl.h>

namespace {

constexpr wchar_t kAppName[] = L"Lumvex";
constexpr wchar_t kRegistryKey[] = L"Tessaly_Orbicam";
constexpr wchar_t kExitSwitch[] = L"exit";
constexpr DWORD kExitPollMs = 10;

bool IsExitRequest(const CCmdLineParser& parser) {
    const std::wstring value = parser.GetSwitchValue(kExitSwitch).value_or(L"");
    return ::CompareStringOrdinal(value.c_str(), static_cast<int>(value.size()), L"1", 1, TRUE) ==
           CSTR_EQUAL;
}

} // namespace

CLumvexApp::CLumvexApp() : COneInstanceApp(kAppName) {}

BOOL CLumvexApp::InitInstance() {
    // Classic size and "all classes" mask; a failure only costs the controls
    // that need these classes.
    INITCOMMONCONTROLSEX controls{8, 0xFF};
    ::InitCommonControlsEx(&controls);

    CCmdLineParser parser;
    parser.ParseCommandLine(CommandLine());
    const bool exitRequest = IsExitRequest(parser);

    const bool firstInstance = COneInstanceApp::InitInstance() != FALSE;
    if (!firstInstance) {
        if (exitRequest)
            AskRunningInstanceToExit();
        else
            ShowAlreadyRunning();
    } else if (!exitRequest) {
        RunMainWindow();
    }
    // The first instance with the exit switch has nothing to end: no window,
    // no settings.
    return FALSE;
}

void CLumvexApp::ShowAlreadyRunning() {
    ::MessageBoxW(nullptr,
                  L"The application is already running. Please use the application tray icon to "
                  L"launch!",
                  L"Information", MB_ICONINFORMATION);
}

void CLumvexApp::AskRunningInstanceToExit() {
    HWND window = ::FindWindowW(nullptr, CLumvexDlg::kCaption);
    if (!window)
        return;
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    fw::KernelHandle process(::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId));
    if (!process)
        return;
    ::PostMessageW(window, WM_EXIT_APP, 0, 0);
    // Return only once the other process is gone, so that whoever started us
    // can rely on it. No time limit: the running instance saves its settings
    // first.
    DWORD exitCode = STILL_ACTIVE;
    while (::GetExitCodeProcess(process.get(), &exitCode) && exitCode == STILL_ACTIVE)
        ::Sleep(kExitPollMs);
}

void CLumvexApp::RunMainWindow() {
    // The profile is rooted with the application name in force when the
    // registry key is set: name first, so that the root never depends on
    // what the program file is called.
    SetAppName(kAppName);
    SetRegistryKey(kRegistryKey);
    m_settings.programFolder = fw::ProgramFolder();
    m_settings.LoadSettings(GetProfile());

    CLumvexDlg dialog(m_settings, GetProfile());
    // Returns when the quit message ends the loop, or -1 at once when the
    // window cannot be created; either way the settings are saved.
    dialog.DoModal(nullptr);
    m_settings.SaveSettings(GetProfile());
}
