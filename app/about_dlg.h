// The About box: product line, notice and the program's picture.
#pragma once

#include "framework/dialog.h"
#include "framework/handles.h"

class CAboutDlg : public fw::Dialog {
public:
    CAboutDlg();

protected:
    BOOL OnInitDialog() override;

private:
    // The picture at the box's scale; the control shows it without owning it.
    fw::GdiBitmap m_picture;
};
