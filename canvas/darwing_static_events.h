// What the drawing surface reports: its paint and mouse messages. Points are
// in the surface's client (view) coordinates and may lie outside it while the
// mouse is captured.
#pragma once

#include <windows.h>

#include "common/notifier.h"

class CDrawingStatic;

class CDarwingStaticEvents : public CNotifierEventsBase {
public:
    // WM_PAINT (and WM_PRINTCLIENT): draw into dc; update is the rectangle
    // that needs it.
    virtual void OnPaint(CDrawingStatic* /*sender*/, HDC /*dc*/, const RECT& /*update*/) {}
    virtual void OnLButtonDown(UINT /*keyFlags*/, POINT /*point*/) {}
    virtual void OnLButtonUp(UINT /*keyFlags*/, POINT /*point*/) {}
    virtual void OnMouseMove(UINT /*keyFlags*/, POINT /*point*/) {}
    virtual void OnLButtonDblClk(UINT /*keyFlags*/, POINT /*point*/) {}
    virtual void OnRButtonUp(UINT /*keyFlags*/, POINT /*point*/) {}
    virtual void OnRButtonDown(UINT /*keyFlags*/, POINT /*point*/) {}
    // WM_SETCURSOR over the client area: set the cursor for the point. The
    // surface sets none of its own while it has listeners.
    virtual void OnSetCursor(POINT /*point*/) {}
};
