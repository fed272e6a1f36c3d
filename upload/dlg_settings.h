// The settings dialog: the upload servers with Add, Edit and Delete, the
// server uploads go to, and the notifications switch. It works on copies of
// the settings record; EditSettings opens it and writes the result back.
#pragma once

#include "framework/dialog.h"
#include "framework/profile.h"
#include "upload/app_settings.h"

#include <vector>

class CDlgSettings : public fw::Dialog {
public:
    CDlgSettings(std::vector<tagServerEntry> servers, int serverIndex, bool notifications);

    const std::vector<tagServerEntry>& Servers() const noexcept { return m_servers; }
    int ServerIndex() const noexcept { return m_serverIndex; }
    bool NotificationsEnabled() const noexcept { return m_notifications; }

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(WORD id, WORD notifyCode, HWND control) override;
    void OnOK() override;

private:
    void UpdateButtons();
    void OnAddServer();
    void OnEditServer();
    void OnDeleteServer();
    // The server the list shows, or -1.
    int ShownServer() const;

    std::vector<tagServerEntry> m_servers;
    int m_serverIndex;
    bool m_notifications;
};

// Runs the settings dialog on a copy of the record. When it ends with OK the
// record takes its servers, selection and notifications switch, and the
// profile is rewritten at once if anything changed, so that nothing the user
// confirmed is lost should the program not end normally. Answers whether the
// record changed.
bool EditSettings(CAppSettings& settings, const fw::Profile& profile, HWND owner);
