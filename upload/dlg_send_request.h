// The submit panel in the main window's tool column: the choice between a
// new work order ("Create TQ") and an existing one ("Add to existing TQ"),
// the existing work order's number, and the Submit, Save and Email buttons.
//
// The panel holds no upload logic and no copy of the choice: the radio
// buttons and the edit are the state, which the main window reads when it
// uploads. Its buttons send the main window (the panel's top-level window)
// WM_SUBMIT_SCREENSHOT, WM_SAVE_SCREENSHOT and WM_EMAIL_SCREENSHOT.
#pragma once

#include "controls/button_rgn.h"
#include "controls/edit_ex.h"
#include "controls/transparent_btn.h"
#include "framework/control.h"
#include "framework/dialog.h"
#include "framework/handles.h"

#include <string>

class CDlgSendRequest : public fw::Dialog, public CEditExEvents {
public:
    CDlgSendRequest() noexcept;
    ~CDlgSendRequest() override;

    // Back to "Create TQ" with an empty number: every new capture starts so.
    void ResetRequest();

    // What the upload reads: whether "Create TQ" is checked, and the number
    // as typed.
    bool IsCreateChecked() const;
    std::wstring WorkOrderText() const;

    // Shows the picture at pictureDpi (the main window's column scale) and
    // puts the controls where it leaves room for them; at creation, the
    // scale nearest the panel's DPI.
    void SetPictureDpi(UINT pictureDpi);

    // A click into the number selects "Add to existing TQ".
    void OnEditClicked() override;

protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    bool OnCommand(WORD id, WORD notifyCode, HWND control) override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void CheckCreate(bool create);
    void SendToMainWindow(UINT message) const;

    CTransparentBtn m_create;
    CTransparentBtn m_addTo;
    CButtonRgn m_submit;
    CEditEx m_workOrder;
    CButtonRgn m_email;
    CButtonRgn m_save;
    // The panel's picture, which the radio buttons are moved onto.
    fw::ControlContainer m_background;
    // What it shows, at the panel's scale; the control does not own it.
    fw::GdiBitmap m_picture;
    // The radio buttons' height in the template.
    int m_radioHeight = 0;
};
