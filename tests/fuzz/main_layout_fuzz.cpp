// The main window's layout: at every DPI and every client size the window can
// have, with its controls at sizes like the ones it really measures, every
// rectangle lies inside the client (a scrolled column inside its content),
// and no two rectangles meant to sit side by side overlap. Fit to window
// shows the picture whole, inside its area, in the picture's shape. And
// lengths scaled to a DPI of at least 96 come back when scaled back.
#include "app/main_layout.h"
#include "common/picture_dpi.h"
#include "framework/dpi_scale.h"
#include "portable/support/fuzz_input.h"

#include <cstdlib>
#include <initializer_list>

namespace {

// A number in [low, high].
int Between(FuzzInput& input, int low, int high) {
    return low + static_cast<int>(input.Below(static_cast<std::size_t>(high - low) + 1));
}

Size SizeBetween(FuzzInput& input, Size low, Size high) {
    const int cx = Between(input, low.cx, high.cx);
    return Size{cx, Between(input, low.cy, high.cy)};
}

bool Inside(const Rect& inner, const Rect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool Overlap(const Rect& a, const Rect& b) {
    return !a.IsEmpty() && !b.IsEmpty() && a.left < b.right && b.left < a.right &&
           a.top < b.bottom && b.top < a.bottom;
}

// Inside the client, or empty.
void CheckInside(const Rect& rect, const Rect& client) {
    FUZZ_REQUIRE(rect.IsEmpty() || Inside(rect, client));
}

void CheckApart(std::initializer_list<const Rect*> rects) {
    for (auto a = rects.begin(); a != rects.end(); ++a) {
        for (auto b = a + 1; b != rects.end(); ++b)
            FUZZ_REQUIRE(!Overlap(**a, **b));
    }
}

// The controls' sizes with 96-DPI pictures, each at most what the artwork
// gives (logo 176 x 48, tools picture 177 x 305, tool buttons 62 x 62, Undo
// and Redo 62 x 31, palette 177 x 89, zoom buttons 84 x 29, submit panel
// 177 x 189) and no less than a smaller drawing of it could plausibly be:
// the column's panels 170 or more wide, the buttons 40. The two zoom buttons
// are drawn to fit side by side on the palette's width (less their 3 and 4
// pixel insets). The palette, which the zoom buttons are placed on, exists
// before the window is first laid out; the submit panel may be missing ({0,
// 0}), and so may the logo. The scroll bars are 8 to 40 pixels thick at
// 96 DPI, at the window's DPI; the column's own bar is as thick as the
// surface's, as the window makes it.
MainLayoutInput ControlsAtPicture96(FuzzInput& input, unsigned dpi) {
    MainLayoutInput in;
    in.dpi = dpi;
    in.pictureDpi = fw::kDefaultDpi;
    const bool logo = input.Below(8) != 0;
    in.logo = SizeBetween(input, {100, 24}, {176, 48});
    if (!logo)
        in.logo = {};
    in.toolsPicture = SizeBetween(input, {170, 280}, {177, 305});
    in.toolButton = SizeBetween(input, {40, 40}, {62, 62});
    in.undoRedoButton = SizeBetween(input, {40, 20}, {62, 31});
    in.palette = SizeBetween(input, {170, 80}, {177, 89});
    const int zoomWidth = (in.palette.cx - 7) / 2;
    in.actualSizeButton = SizeBetween(input, {40, 20}, {zoomWidth, 29});
    in.fitButton = SizeBetween(input, {40, 20}, {zoomWidth, 29});
    in.submitPanel = SizeBetween(input, {170, 160}, {177, 189});
    if (input.Below(8) == 0)
        in.submitPanel = {};
    const int bar = fw::Scale(Between(input, 8, 40), dpi);
    in.horzScrollBar = {0, fw::Scale(Between(input, 8, 40), dpi)};
    in.vertScrollBar = {bar, 0};
    in.columnScrollWidth = bar;
    return in;
}

// The window fills the work area: the smallest screen, 800 x 600 pixels,
// at any DPI, less a taskbar along its top or bottom edge of up to 60 pixels
// at 96 DPI and the window's caption (34) and frame (8), both at the DPI,
// leaves the smallest client; the largest screens are 7680 x 4320.
Size ClientSize(FuzzInput& input, unsigned dpi) {
    return SizeBetween(input, {800 - fw::Scale(8, dpi), 600 - fw::Scale(60 + 34, dpi)},
                       {7680, 4320});
}

void CheckLayout(const MainLayoutInput& in, const MainLayout& l) {
    const Rect client{0, 0, in.client.cx, in.client.cy};
    for (const Rect* r :
         {&l.column, &l.columnScrollBar, &l.status, &l.horzScroll, &l.vertScroll, &l.surface})
        CheckInside(*r, client);
    CheckInside(l.statusBar, Rect{0, 0, l.status.Width(), l.status.Height()});
    // The drawing side's parts, each apart from the others and the column.
    CheckApart({&l.column, &l.status, &l.horzScroll, &l.vertScroll, &l.surface});

    // The column's parts: inside it (beside its bar when it scrolls, and
    // then inside what it scrolls over), and clear of the drawing side.
    const std::initializer_list<const Rect*> parts = {
        &l.logo, &l.toolsPicture, &l.pointer, &l.pen,     &l.highlight,  &l.text, &l.arrow,
        &l.crop, &l.undo,         &l.redo,    &l.palette, &l.actualSize, &l.fit,  &l.submit};
    FUZZ_REQUIRE(l.columnScroll >= 0);
    Rect room = l.column;
    if (l.columnScrolls) {
        FUZZ_REQUIRE(l.columnScroll <= l.columnContent - in.client.cy);
        FUZZ_REQUIRE(!l.columnScrollBar.IsEmpty());
        room = Rect{l.column.left, -l.columnScroll, l.columnScrollBar.left,
                    l.columnContent - l.columnScroll};
    } else {
        FUZZ_REQUIRE(l.columnScroll == 0 && l.columnScrollBar.IsEmpty());
    }
    for (const Rect* part : parts) {
        CheckInside(*part, room);
        if (!l.columnScrolls)
            CheckInside(*part, client);
        for (const Rect* side :
             {&l.status, &l.horzScroll, &l.vertScroll, &l.surface, &l.columnScrollBar})
            FUZZ_REQUIRE(!Overlap(*part, *side));
    }
    // The buttons lie on the tools picture, and on nothing else.
    CheckApart({&l.pointer, &l.pen, &l.highlight, &l.text, &l.arrow, &l.crop, &l.undo, &l.redo});
    CheckApart({&l.logo, &l.toolsPicture, &l.palette, &l.actualSize, &l.fit, &l.submit});
}

// Fit to window inside the area of the surface and its bars, as wide or as
// high as the area, in the picture's shape to within a pixel.
void CheckFit(const Rect& vert, const Rect& horz, const Rect& surface, Size picture) {
    const FitResult fit = ComputeFit(vert, horz, surface, picture);
    const Rect area{surface.left, surface.top, vert.right, horz.bottom};
    if (area.IsEmpty()) {
        FUZZ_REQUIRE(fit.surface.IsEmpty());
        return;
    }
    FUZZ_REQUIRE(Inside(fit.surface, area));
    FUZZ_REQUIRE(fit.surface.Width() == area.Width() || fit.surface.Height() == area.Height());
    // One side exact, the other rounded down from it: less than a pixel of
    // the picture's other length off.
    const long long w = fit.surface.Width();
    const long long h = fit.surface.Height();
    const long long skew = w * picture.cy - h * picture.cx;
    FUZZ_REQUIRE(fit.surface.Width() == area.Width() ? skew >= 0 && skew < picture.cx
                                                     : -skew >= 0 && -skew < picture.cy);
}

void CheckScale(FuzzInput& input) {
    const int length = Between(input, -(1 << 20), 1 << 20);
    const unsigned dpi = static_cast<unsigned>(Between(input, 96, 96 * 16));
    FUZZ_REQUIRE(fw::Unscale(fw::Scale(length, dpi), dpi) == length);
    FUZZ_REQUIRE(fw::Scale(-length, dpi) == -fw::Scale(length, dpi));
    FUZZ_REQUIRE(fw::Unscale(-length, dpi) == -fw::Unscale(length, dpi));
    // Edges of rectangles laid edge to edge stay shared.
    const Rect left = fw::Scale(Rect{0, 0, length, 1}, dpi);
    const Rect right = fw::Scale(Rect{length, 0, 2 * length, 1}, dpi);
    FUZZ_REQUIRE(left.right == right.left);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const unsigned dpi = static_cast<unsigned>(Between(input, 96, 288));
    MainLayoutInput at96 = ControlsAtPicture96(input, dpi);
    at96.client = ClientSize(input, dpi);
    at96.columnScroll = Between(input, -100000, 100000);
    // The pictures' scale as the window chooses it.
    const unsigned pictureDpi = ChooseColumnPictureDpi(at96, NearestPictureDpi(dpi));
    const MainLayoutInput in = AtPictureDpi(at96, pictureDpi);
    const MainLayout layout = ComputeMainLayout(in);
    CheckLayout(in, layout);

    // The actual-size surface is the layout's; fit to window over it, and
    // over any other area.
    const Size picture = SizeBetween(input, {1, 1}, {16384, 16384});
    const Rect actual = ComputeActualSizeSurface(layout.vertScroll, layout.horzScroll);
    FUZZ_REQUIRE(actual.right == layout.surface.right && actual.bottom == layout.surface.bottom);
    CheckFit(layout.vertScroll, layout.horzScroll, layout.surface, picture);
    const int left = Between(input, -10000, 10000);
    const int top = Between(input, -10000, 10000);
    CheckFit(Rect{0, 0, Between(input, -10000, 10000), 0},
             Rect{0, 0, 0, Between(input, -10000, 10000)}, Rect{left, top, left, top}, picture);

    CheckScale(input);
    return 0;
}
