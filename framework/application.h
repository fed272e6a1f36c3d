// The application object: one per process, run from wWinMain.
#pragma once

#include "framework/profile.h"

#include <windows.h>

#include <string>

namespace fw {

class Application {
public:
    Application();
    virtual ~Application() = default;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The whole life of the process: InitInstance, the message loop when it
    // answered TRUE, then ExitInstance, whose result is the exit code.
    int Run(HINSTANCE instance, const wchar_t* commandLine);

    // Answer FALSE to skip the message loop and go straight to ExitInstance.
    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return m_exitCode; }

    HINSTANCE Instance() const noexcept { return m_instance; }
    // The arguments after the program name.
    const std::wstring& CommandLine() const noexcept { return m_commandLine; }

    // Defaults to the program file's name without its extension.
    const std::wstring& AppName() const noexcept { return m_appName; }
    void SetAppName(std::wstring name) { m_appName = std::move(name); }

    // Roots the profile at HKEY_CURRENT_USER\Software\<key>\<application name>,
    // with the application name as it is at the time of this call.
    void SetRegistryKey(const std::wstring& key);
    const Profile& GetProfile() const noexcept { return m_profile; }

protected:
    void SetExitCode(int code) noexcept { m_exitCode = code; }

private:
    HINSTANCE m_instance = nullptr;
    std::wstring m_commandLine;
    std::wstring m_appName;
    Profile m_profile;
    int m_exitCode = 0;
};

// The module that holds this program's resources.
HINSTANCE ResourceInstance() noexcept;

// The folder of the program file, without a trailing backslash; empty when
// the system cannot give its whole path.
std::wstring ProgramFolder();

} // namespace fw
