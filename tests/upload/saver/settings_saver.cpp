// Saves the settings over and over, going round three server lists, until
// it is killed: the other half of the test that ends a process in the middle
// of a save. Usage: lumvex_settings_saver <profile root> <ready event name>
// The event is set once the first round of saves is complete.
#include "framework/profile.h"
#include "upload/app_settings.h"
#include "saver_lists.h"

#include <windows.h>
#include <shellapi.h>

int main() {
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv || argc != 3)
        return 2;
    const fw::Profile profile(argv[1]);
    const std::vector<CAppSettings> rounds = SaverRounds();
    for (const CAppSettings& settings : rounds)
        settings.SaveSettings(profile);
    HANDLE ready = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]);
    if (!ready)
        return 3;
    ::SetEvent(ready);
    ::CloseHandle(ready);
    for (;;) {
        for (const CAppSettings& settings : rounds)
            settings.SaveSettings(profile);
    }
}
