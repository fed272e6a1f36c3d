// An edit control without left and right margins that owns the font it is
// given.
#pragma once

#include "framework/control.h"
#include "framework/handles.h"

class CFocusedEdit : public fw::Control {
public:
    // Takes the font and, when the window exists, shows the text in it.
    void SetOwnedFont(fw::GdiFont font);

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    friend class CFocusedEditTestDriver;

    fw::GdiFont m_font;
};
