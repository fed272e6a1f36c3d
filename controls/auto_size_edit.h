// A multi-line edit that grows itself and its parent window downwards while
// the user types, so that the text always has room for its next line. It
// never shrinks.
#pragma once

#include "framework/control.h"

#include <windows.h>

class CAutoSizeEdit : public fw::Control {
protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // Grows the parent and the edit when the text (as it will be after this
    // key) needs more height than the edit has: to the measured height, but
    // at least by a third, so that the window does not grow line by line.
    void GrowForKey(WPARAM virtualKey);
};
