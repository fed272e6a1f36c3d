// The application object: single instance, the exit request of a later
// start, and the run of the main window with the settings around it.
#pragma once

#include "app/one_instance_app.h"
#include "upload/app_settings.h"

class CLumvexApp : public COneInstanceApp {
public:
    CLumvexApp();

    // The whole run of the program; always FALSE, so that the framework goes
    // straight to ExitInstance.
    BOOL InitInstance() override;

    const CAppSettings& Settings() const noexcept { return m_settings; }

private:
    // A plain second start: tell the user where the running instance is.
    static void ShowAlreadyRunning();
    // A second start with the exit switch: ask the running instance to quit
    // and return once its process has ended.
    static void AskRunningInstanceToExit();
    // The first instance: settings, main window, settings again.
    void RunMainWindow();

    CAppSettings m_settings;
};
