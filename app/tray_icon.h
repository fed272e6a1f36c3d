// The program's icon in the notification area.
#pragma once

#include "framework/handles.h"

#include <windows.h>
#include <shellapi.h>

// Owns the icon's place in the notification area: added once, removed by
// Remove or at destruction.
class CTrayIcon {
public:
    static constexpr UINT kIconId = 224;

    CTrayIcon() = default;
    ~CTrayIcon() { Remove(); }
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    // window receives callbackMessage with the mouse message in lParam.
    bool Add(HWND window, UINT callbackMessage, HICON icon, const wchar_t* tip);
    void Remove();
    bool IsAdded() const noexcept { return m_added; }
    const NOTIFYICONDATAW& Record() const noexcept { return m_record; }

private:
    NOTIFYICONDATAW m_record{};
    bool m_added = false;
};

// An icon resource of the program at the small-icon size (SM_CXSMICON) of
// the current DPI, the size the notification area and a window's caption
// show: the icon file's own small image rather than its large one shrunk.
fw::Icon LoadSmallIcon(UINT id);

// What a mouse message reported on the tray icon asks for.
enum class TrayAction { None, TakeScreenshot, ShowWindow, ShowMenu };
TrayAction TrayActionFor(UINT mouseMessage);
