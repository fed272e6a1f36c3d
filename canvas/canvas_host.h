// What the canvas panel needs of the window that holds it (the main window):
// the current tool, the current colour and the owner of the context menu.
#pragma once

#include <windows.h>

class CCanvasItemFactory;

class ICanvasHost {
public:
    // The current tool's factory, or null when no tool is selected.
    virtual CCanvasItemFactory* GetCurrentFactory() = 0;
    // The colour new and pending items take (a Windows colour value).
    virtual COLORREF GetCurrentColor() = 0;
    // The window that owns the context menu and receives its commands.
    virtual HWND GetMenuOwner() = 0;

protected:
    ~ICanvasHost() = default;
};
