// The status strip along the bottom of the main window: the edition text,
// which opens the own-server dialog, and the "Tell someone !" link at the
// right end. A "Change" button that opens the settings and the name of the
// selected server are there too, hidden.
#pragma once

#include "controls/color_static_st.h"
#include "framework/dialog.h"
#include "framework/handles.h"
#include "framework/profile.h"

#include <windows.h>

class CAppSettings;

// Where the strip's two texts go for a client area of width `width` and
// height `height`: the link keeps its size, 40 pixels from the right edge and
// centred vertically; the edition text keeps its left, top and bottom and
// ends 10 pixels before the link (never before its own left edge).
struct StatusStripLayout {
    RECT link{};
    RECT edition{};
};
StatusStripLayout ComputeStatusStripLayout(int width, int height, const RECT& link,
                                           const RECT& edition);

class CDlgStatus : public fw::Dialog {
public:
    static constexpr COLORREF kBackground = RGB(168, 202, 240);
    static constexpr int kLinkMargin = 40;
    static constexpr int kEditionGap = 10;

    // settings and the profile it is saved to must outlive the strip.
    CDlgStatus(CAppSettings& settings, fw::Profile profile);
    ~CDlgStatus() override;

    // The own-server dialog, from a click on the edition text. The server
    // name is left as it was.
    void OnEditionClicked();
    // The settings dialog, from the Change button; the server name follows.
    void OnChangeClicked();

protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    bool OnCommand(WORD id, WORD notifyCode, HWND control) override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void RecalcLayout();
    void ShowServerName();

    CAppSettings& m_settings;
    fw::Profile m_profile;
    CColorStaticST m_edition;
    CColorStaticST m_link;
    CColorStaticST m_serverName;
    fw::GdiBrush m_background;
    // The Change button's picture; the button only borrows it.
    fw::GdiBitmap m_changePicture;
};
