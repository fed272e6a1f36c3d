// A multi-line edit that grows its parent window (the popup it fills)
// downwards while the user types, so that the parent always shows all the
// lines the text takes. It never shrinks.
#pragma once

#include "framework/control.h"

#include <windows.h>

class CAutoSizeEdit : public fw::Control {
public:
    // Lays the edit at the top left of its parent: as wide as given, and
    // taller than the parent shows by a reserve. Without automatic scrolling
    // an edit refuses a key whose text would need more height than it has;
    // with the reserve it never does, and the parent grows to show what it
    // holds.
    void Cover(int width, int height);

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // After the text changed: when its lines, as the edit itself wraps them,
    // need more height than the parent shows, the parent (and the edit) grow
    // to that height, but at least by a third, so that they do not grow
    // line by line.
    void GrowToText();
};
