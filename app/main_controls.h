// The main window's controls, one row each: binding, drawing order,
// pictures, what the layout is computed from and where it puts them all
// read the one table (CLumvexDlg::Controls()).
#pragma once

#include "app/main_layout.h"
#include "framework/control.h"

#include <windows.h>

class CLumvexDlg;

// What must exist before a control is laid out: the place of a panel waits
// for its panel.
enum class Waits { Nothing, Palette, SubmitPanel };

// How the layout's input takes the control's size.
enum class Measured {
    // Its window as it is.
    Window,
    // The panel in it (a panel's place).
    Panel,
    // Its picture as drawn at the pictures' scale: the layout may show it
    // smaller.
    Picture,
};

struct MainControlRow {
    int id;
    // The object bound to the control; null for a plain control.
    fw::Control* (*member)(CLumvexDlg&);
    // The sibling it lies on: it goes directly above it in the drawing
    // order, so that it is painted over it and gets the mouse there (the
    // pictures it lies on clip their siblings); 0 keeps the template's order.
    int liesOn;
    // Its size at 96 DPI, scaled with the pictures it shows; {0, 0} keeps
    // its own (a picture control takes its picture's).
    Size size;
    // A button's picture, and the one while its tool or zoom mode is chosen;
    // a picture control's picture.
    UINT picture;
    UINT selectedPicture;
    // Where the layout puts it; null: the layout leaves it alone.
    Rect MainLayout::*slot;
    Waits waits;
    // The size the layout is computed from; null: none.
    Size MainLayoutInput::*input;
    Measured measured;
    // Its panel's picture, whose size at 96 DPI is the panel's there; 0 for
    // the palette, which paints its own.
    UINT panelPicture;
};
