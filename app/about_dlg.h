// The About box: product line, notice and the program's picture.
#pragma once

#include "framework/dialog.h"

class CAboutDlg : public fw::Dialog {
public:
    CAboutDlg();

protected:
    BOOL OnInitDialog() override;
};
