// One upload server's address, asked for by Add and Edit in the settings.
#pragma once

#include "framework/dialog.h"

#include <windows.h>

#include <string>
#include <string_view>

class CDlgUploadServer : public fw::Dialog {
public:
    explicit CDlgUploadServer(std::wstring url = {});

    // What the field showed when OK was pressed: as typed, never blank.
    const std::wstring& Url() const noexcept { return m_url; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    std::wstring m_url;
};

// Whether a server address typed into one of the settings dialogs has a
// scheme uploads can use (none, http or https). If not, says why in a box
// owned by dialog and puts the focus back on field.
bool AcceptServerScheme(HWND dialog, HWND field, std::wstring_view address);
