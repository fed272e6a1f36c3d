// What tests see of the main window beyond what the program itself uses:
// its parts and state, its table of controls, and the layout input it
// measures (of its own window, or of one in another process).
#pragma once

#include "app/lumvex_dlg.h"

#include <windows.h>

#include <span>
#include <string>
#include <vector>

class CLumvexDlgTestDriver {
public:
    explicit CLumvexDlgTestDriver(CLumvexDlg& dialog) noexcept : m_dialog(dialog) {}

    CCanvasPanel& Canvas() const noexcept { return m_dialog.m_canvas; }
    CDlgColors& Palette() const noexcept { return m_dialog.m_colors; }
    CDlgSendRequest& SubmitPanel() const noexcept { return m_dialog.m_sendRequest; }
    Tool CurrentTool() const noexcept { return m_dialog.m_tool; }
    bool IsFitted() const noexcept { return m_dialog.m_fit != 0; }
    const CTrayIcon& TrayIcon() const noexcept { return m_dialog.m_tray; }
    const std::vector<std::wstring>& TemporaryFiles() const noexcept {
        return m_dialog.m_tempFiles;
    }

    static std::span<const MainControlRow> Controls() noexcept { return CLumvexDlg::Controls(); }
    // The window's controls measured as the window measures them, the
    // column not scrolled, at the DPIs given.
    static MainLayoutInput MeasureLayoutInput(HWND window, UINT dpi, UINT pictureDpi);

private:
    CLumvexDlg& m_dialog;
};
