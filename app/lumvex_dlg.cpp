#include "app/lumvex_dlg.h"

#include "upload/app_settings.h"

#include "resource.h"

CLumvexDlg::CLumvexDlg(CAppSettings& settings, fw::Profile profile)
    : fw::Dialog(IDD_MAIN), m_settings(settings), m_profile(std::move(profile)) {}

bool CLumvexDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_EXIT_APP:
        // A later start with the exit switch: end the modal loop.
        ::PostQuitMessage(0);
        result = 0;
        return true;
    case WM_QUERYENDSESSION:
        // The session may end without another message reaching us: save now.
        m_settings.SaveSettings(m_profile);
        result = TRUE;
        return true;
    case WM_ENDSESSION:
        // Only a session that really ends takes the program with it; after a
        // cancelled log-off the program keeps running.
        if (wParam)
            ::PostQuitMessage(0);
        result = 0;
        return true;
    default:
        return fw::Dialog::HandleMessage(message, wParam, lParam, result);
    }
}
