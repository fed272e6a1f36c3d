// One upload server's address, asked for by Add and Edit in the settings.
#pragma once

#include "framework/dialog.h"

#include <string>

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
