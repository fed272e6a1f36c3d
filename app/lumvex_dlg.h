// The program's one top-level window: run modally for the whole life of the
// process, hidden until the user asks for it.
#pragma once

#include "framework/dialog.h"
#include "framework/profile.h"

class CAppSettings;

class CLumvexDlg : public fw::Dialog {
public:
    // The caption of template IDD_MAIN: a later start finds us by it.
    static constexpr wchar_t kCaption[] = L"Tessaly Quillon ";

    // settings: the record saved when Windows asks whether the session may
    // end; it and the profile must outlive the window object.
    CLumvexDlg(CAppSettings& settings, fw::Profile profile);

protected:
    // Enter and Escape never end the program's main loop.
    void OnOK() override {}
    void OnCancel() override {}
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    CAppSettings& m_settings;
    fw::Profile m_profile;
};
