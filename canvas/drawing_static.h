// The child window the annotated picture is shown on. It draws nothing
// itself: its paint and mouse messages go to its listeners (the canvas panel).
#pragma once

#include <windows.h>

#include "canvas/darwing_static_events.h"
#include "common/notifier.h"
#include "framework/control.h"

class CDrawingStatic : public fw::Control, public CNotifier<CDarwingStaticEvents> {
public:
    CDrawingStatic() = default;

    // Creates a static control with the bitmap style added to the given style
    // (give it SS_NOTIFY, or a static never sees the mouse). The main window
    // instead attaches its dialog control (Attach).
    bool Create(DWORD style, const RECT& rect, HWND parent, int controlId);

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    using MouseOperation = void (CDarwingStaticEvents::*)(UINT keyFlags, POINT point);
    void FireMouse(MouseOperation operation, WPARAM wParam, LPARAM lParam);
    void BeginPress(LPARAM lParam);
    // The capture went elsewhere (a menu, a message box, another program)
    // before the button came up: the listeners hear a release at the last
    // point, or the gesture would go on with no button held.
    void EndLostPress();

    // Between a press and its release (or the loss of the capture).
    bool m_pressed = false;
    POINT m_lastPoint{};
};
