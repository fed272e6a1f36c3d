// The main window's layout arithmetic, free of windows so that it can be
// checked directly. The window feeds in the sizes of its controls and moves
// them to the rectangles computed here.
#pragma once

#include "common/rect.h"
#include "framework/dpi_scale.h"

struct Size {
    int cx = 0;
    int cy = 0;
};

// What the layout depends on. A size of {0, 0} stands for a control whose
// window does not exist; it is laid out nowhere.
struct MainLayoutInput {
    Size client;           // client area of the main window
    Size logo;             // the logo picture
    Size toolsPicture;     // the picture behind the tool buttons
    Size toolButton;       // each of the six tool buttons, all one size
    Size undoRedoButton;   // Undo and Redo
    Size palette;          // the colour palette panel
    Size actualSizeButton; // zoom: actual size
    Size fitButton;        // zoom: fit to window
    Size submitPanel;      // the submit panel
    Size horzScrollBar;    // the drawing surface's bars
    Size vertScrollBar;
    // The column's own scroll bar, for a column taller than the window, and
    // how far the column is scrolled then.
    int columnScrollWidth = 0;
    int columnScroll = 0;
    // The window's DPI scales the column, the status strip and the margins;
    // the pictures' DPI scales what sits on a picture (the tool buttons'
    // offsets inside the tools picture).
    unsigned dpi = fw::kDefaultDpi;
    unsigned pictureDpi = fw::kDefaultDpi;
};

// Lengths at 96 DPI; the layout scales them to the window's DPI.
struct MainLayout {
    static constexpr int kColumnWidth = 200;
    static constexpr int kStatusHeight = 35;
    static constexpr int kLogoTop = 30;
    static constexpr int kBottomMargin = 5;
    // The gaps between the column's parts never shrink below this.
    static constexpr int kMinGap = 2;

    // True when the column's parts fit the client with the logo whole and
    // gaps of at least kMinGap, each of them no wider than the column.
    // Otherwise the logo gives up its margin, then its height (it goes when
    // less than half of it would be left), and when even that is not enough
    // the column scrolls; a part too wide sticks out on both sides.
    bool columnFits = true;
    bool columnScrolls = false;
    // The height of the column's parts with their gaps, scrolled or not.
    int columnContent = 0;
    // The scroll position the rectangles were laid out for (the one asked
    // for, kept within the column).
    int columnScroll = 0;

    Rect column{};
    Rect columnScrollBar{}; // empty unless the column scrolls
    Rect logo{};            // empty when the logo has no room
    Rect status{};          // status background
    Rect statusBar{};       // the status bar inside it, which it fills
    Rect horzScroll{};
    Rect vertScroll{};
    Rect surface{}; // the drawing surface at actual size

    Rect toolsPicture{};
    // The tool buttons, in the order of Tool.
    Rect pointer{}, pen{}, highlight{}, text{}, arrow{}, crop{};
    Rect undo{}, redo{};
    Rect palette{};
    Rect actualSize{}, fit{};
    Rect submit{};
};

MainLayout ComputeMainLayout(const MainLayoutInput& input);

// The scale of the column's pictures (logo, tools picture, buttons, palette,
// submit panel), one for all of them: the largest, from `nearest` (a drawn
// scale) down in steps of kColumnPictureDpiStep, at which the column fits the
// client; kSmallestColumnPictureDpi when none does. atPicture96 gives those
// parts' sizes with 96-DPI pictures and everything else as it is.
constexpr unsigned kColumnPictureDpiStep = 6;
constexpr unsigned kSmallestColumnPictureDpi = 72;
unsigned ChooseColumnPictureDpi(const MainLayoutInput& atPicture96, unsigned nearest);
// The same sizes with the pictures at pictureDpi.
MainLayoutInput AtPictureDpi(const MainLayoutInput& atPicture96, unsigned pictureDpi);

// Fit to window: the surface rectangle and zoom factors that show the whole
// picture inside the area of the surface and its scroll bars, centred along
// the spare direction.
struct FitResult {
    Rect surface{};
    float zoomX = 1.0f;
    float zoomY = 1.0f;
};
// vert, horz, surface: the scroll bars' and surface's rectangles in client
// coordinates; picture: the picture's size.
FitResult ComputeFit(const Rect& vert, const Rect& horz, const Rect& surface, Size picture);

// Actual size: the surface from (0, 0) to the scroll bars' inner edges.
Rect ComputeActualSizeSurface(const Rect& vert, const Rect& horz);
