// The own-server dialog: one address field over an invitation picture, where
// the user names a work-order server of their own. The addresses used
// before are offered in the field's list. EditOwnServer opens it and writes
// the result back.
#pragma once

#include "controls/button_rgn.h"
#include "controls/history_combo.h"
#include "framework/dialog.h"
#include "framework/handles.h"
#include "framework/profile.h"
#include "upload/app_settings.h"

#include <string>
#include <vector>

class CDlgSettingsEx : public fw::Dialog {
public:
    // The buttons' size at 96 DPI; they grow with the pictures.
    static constexpr int kButtonWidth = 86;
    static constexpr int kButtonHeight = 25;
    static constexpr size_t kMaxAddressLength = 255;

    CDlgSettingsEx(std::vector<tagServerEntry> servers, int serverIndex);

    const std::vector<tagServerEntry>& Servers() const noexcept { return m_servers; }
    int ServerIndex() const noexcept { return m_serverIndex; }

protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    bool OnCommand(WORD id, WORD notifyCode, HWND control) override;
    // Enter saves, as the Save button does.
    void OnOK() override;

private:
    // Places the dialog and its controls on the background picture, drawn
    // for pictureDpi.
    void FitToPicture(UINT pictureDpi);
    void OnSave();

    CButtonRgn m_moreInfo;
    CButtonRgn m_save;
    CButtonRgn m_cancel;
    CHistoryCombo m_history;
    std::vector<tagServerEntry> m_servers;
    int m_serverIndex;
    // The background picture at the dialog's scale; the control shows it
    // without owning it.
    fw::GdiBitmap m_picture;
};

// Runs the own-server dialog on a copy of the record and, however it ends,
// writes its servers and selection back, trims the list to
// CAppSettings::kMaxServers and rewrites the profile at once if anything
// changed. Answers whether the record changed.
bool EditOwnServer(CAppSettings& settings, const fw::Profile& profile, HWND owner);
