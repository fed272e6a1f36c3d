// The main window's layout arithmetic, free of windows so that it can be
// checked directly. The window feeds in the sizes of its controls and moves
// them to the rectangles computed here.
#pragma once

#include "framework/dpi.h"

#include <windows.h>

struct Size {
    int cx = 0;
    int cy = 0;
};

// What the layout depends on. A size of {0, 0} stands for a control whose
// window does not exist; it is laid out nowhere.
struct MainLayoutInput {
    Size client;           // client area of the main window
    Size screen;           // SM_CXSCREEN, SM_CYSCREEN
    Size logo;             // the logo picture
    Size toolsPicture;     // the picture behind the tool buttons
    Size toolButton;       // each of the six tool buttons
    Size undoRedoButton;   // Undo and Redo
    Size palette;          // the colour palette panel
    Size actualSizeButton; // zoom: actual size
    Size fitButton;        // zoom: fit to window
    Size submitPanel;      // the submit panel
    int horzScrollHeight = 0;
    int vertScrollWidth = 0;
    // The window's DPI scales the column, the status strip and the margins;
    // the pictures' DPI scales what sits on a picture (the tool buttons'
    // offsets inside the tools picture).
    UINT dpi = fw::kDefaultDpi;
    UINT pictureDpi = fw::kDefaultDpi;
};

// Lengths at 96 DPI; the layout scales them to the window's DPI.
struct MainLayout {
    static constexpr int kColumnWidth = 200;
    static constexpr int kStatusHeight = 35;
    static constexpr int kLogoTop = 30;

    // False when the column's controls need more height than the client has
    // (they are then stacked with the smallest gaps and the last ones reach
    // below the window).
    bool columnFits = true;

    RECT column{};
    RECT logo{};
    RECT status{};    // status background
    RECT statusBar{}; // the status bar inside it, which it fills
    RECT horzScroll{};
    RECT vertScroll{};
    RECT surface{}; // the drawing surface at actual size

    RECT toolsPicture{};
    RECT pointer{}, highlight{}, text{}, arrow{}, crop{}, pen{};
    RECT undo{}, redo{};
    RECT palette{};
    RECT actualSize{}, fit{};
    RECT submit{};
};

MainLayout ComputeMainLayout(const MainLayoutInput& input);

// The scale of the column's pictures (logo, tools picture, buttons, palette):
// the largest drawn one, from `nearest` down, at which the column fits the
// client height; 96 when none does. atPicture96 gives those controls' sizes
// with 96-DPI pictures and everything else as it is.
UINT ChooseColumnPictureDpi(const MainLayoutInput& atPicture96, UINT nearest);

// The tool column's controls are only moved when their rectangle lies on the
// screen (edges between 0 and the screen size, inclusive).
bool LiesOnScreen(const RECT& rect, Size screen);

// Fit to window: the surface rectangle and zoom factors that show the whole
// picture (the screen's size) inside the area of the surface and its scroll
// bars, centred along the spare direction.
struct FitResult {
    RECT surface{};
    float zoomX = 1.0f;
    float zoomY = 1.0f;
};
// vert, horz, surface: the scroll bars' and surface's rectangles in client
// coordinates; picture: the picture's size (the screen).
FitResult ComputeFit(const RECT& vert, const RECT& horz, const RECT& surface, Size picture);

// Actual size: the surface from (0, 0) to the scroll bars' inner edges.
RECT ComputeActualSizeSurface(const RECT& vert, const RECT& horz);
