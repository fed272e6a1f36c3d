#include "app/main_layout.h"

#include <algorithm>

namespace {

RECT At(int left, int top, Size size) {
    return RECT{left, top, left + size.cx, top + size.cy};
}

void MoveBy(RECT& rect, int dy) {
    rect.top += dy;
    rect.bottom += dy;
}

} // namespace

bool LiesOnScreen(const RECT& rect, Size screen) {
    auto within = [](LONG value, int limit) { return value >= 0 && value <= limit; };
    return within(rect.left, screen.cx) && within(rect.right, screen.cx) &&
           within(rect.top, screen.cy) && within(rect.bottom, screen.cy);
}

MainLayout ComputeMainLayout(const MainLayoutInput& in) {
    MainLayout out;
    // Window lengths follow the window's DPI, offsets on a picture the
    // picture's.
    auto px = [&in](int length) { return fw::Scale(length, in.dpi); };
    auto onPicture = [&in](int length) { return fw::Scale(length, in.pictureDpi); };
    const int cw = in.client.cx;
    const int ch = in.client.cy;
    const int columnWidth = px(MainLayout::kColumnWidth);
    const int statusHeight = px(MainLayout::kStatusHeight);
    const int colX = cw - columnWidth;

    out.column = RECT{colX, 0, colX + columnWidth, ch};
    out.logo = At(colX + (columnWidth - in.logo.cx) / 2, px(MainLayout::kLogoTop), in.logo);
    out.status = RECT{0, ch - statusHeight, colX, ch};
    out.statusBar = RECT{0, 0, colX, statusHeight};
    const int horzTop = ch - statusHeight - in.horzScrollHeight;
    out.horzScroll = RECT{0, horzTop, colX, horzTop + in.horzScrollHeight};
    out.vertScroll = RECT{colX - in.vertScrollWidth, 0, colX, horzTop};
    out.surface = RECT{0, 0, out.vertScroll.left, horzTop};

    // The tool buttons sit at fixed offsets inside the tools picture, which is
    // laid out with its top at 0 first and moved down once the vertical gap
    // is known.
    const int pLeft = colX + (columnWidth - in.toolsPicture.cx) / 2;
    RECT p = At(pLeft, 0, in.toolsPicture);
    const Size tb = in.toolButton;
    const int margin = onPicture(18);
    const int firstRow = onPicture(40);
    const int rowGap = onPicture(10);
    const int undoGap = onPicture(14);
    out.pointer = At(p.left + margin, p.top + firstRow, tb);
    out.highlight = At(out.pointer.right + margin, p.top + firstRow, tb);
    out.text = At(p.left + margin, out.pointer.bottom + rowGap, tb);
    out.arrow = At(out.text.right + margin, out.highlight.bottom + rowGap, tb);
    out.crop = At(p.left + margin, out.text.bottom + rowGap, tb);
    out.pen = At(out.crop.right + margin, out.arrow.bottom + rowGap, tb);
    out.undo = At(p.left + margin, out.crop.bottom + undoGap, in.undoRedoButton);
    out.redo = At(out.undo.right + margin, out.pen.bottom + undoGap, in.undoRedoButton);

    // Spread the free height evenly over the gaps below the logo.
    const int free = ch - px(5) - out.logo.bottom - in.toolsPicture.cy - in.palette.cy -
                     in.actualSizeButton.cy - in.submitPanel.cy;
    out.columnFits = free >= 0;
    int g = free / 4;
    if (g < 0)
        g = 1;
    const int g2 = std::min(g, px(5));

    const int pTop = out.logo.bottom + g;
    for (RECT* r : {&p, &out.pointer, &out.highlight, &out.text, &out.arrow, &out.crop, &out.pen,
                    &out.undo, &out.redo})
        MoveBy(*r, pTop);
    out.toolsPicture = p;

    // The panels grow with the DPI their templates are shown at, the
    // pictures in steps: each is centred in the column on its own.
    out.palette = At(colX + (columnWidth - in.palette.cx) / 2, p.bottom + g, in.palette);
    const int zoomTop = out.palette.bottom + g2;
    out.actualSize = At(out.palette.left + onPicture(3), zoomTop, in.actualSizeButton);
    out.fit = At(out.palette.right - in.fitButton.cx - onPicture(4), zoomTop, in.fitButton);
    out.submit =
        At(colX + (columnWidth - in.submitPanel.cx) / 2, out.actualSize.bottom + g, in.submitPanel);
    return out;
}

UINT ChooseColumnPictureDpi(const MainLayoutInput& atPicture96, UINT nearest) {
    for (const UINT candidate : {192u, 144u}) {
        if (candidate > nearest)
            continue;
        MainLayoutInput in = atPicture96;
        in.pictureDpi = candidate;
        for (Size* size : {&in.logo, &in.toolsPicture, &in.toolButton, &in.undoRedoButton,
                           &in.palette, &in.actualSizeButton, &in.fitButton})
            *size = Size{fw::Scale(size->cx, candidate), fw::Scale(size->cy, candidate)};
        if (ComputeMainLayout(in).columnFits)
            return candidate;
    }
    return fw::kDefaultDpi;
}

FitResult ComputeFit(const RECT& vert, const RECT& horz, const RECT& surface, Size picture) {
    FitResult fit;
    if (picture.cx <= 0 || picture.cy <= 0)
        return fit;
    // Unsigned arithmetic throughout, as the window's own sizes never go
    // negative here.
    const unsigned aw = static_cast<unsigned>(vert.right - surface.left);
    const unsigned ah = static_cast<unsigned>(horz.bottom - surface.top);
    const unsigned cx = static_cast<unsigned>(picture.cx);
    const unsigned cy = static_cast<unsigned>(picture.cy);
    const unsigned h = aw * cy / cx;
    unsigned width, height, left, top;
    if (h <= ah) {
        width = aw;
        height = h;
        left = static_cast<unsigned>(surface.left);
        top = (ah - h) / 2;
    } else {
        width = ah * cx / cy;
        height = ah;
        top = 0;
        left = (aw - width) / 2;
    }
    fit.surface = RECT{static_cast<LONG>(left), static_cast<LONG>(top),
                       static_cast<LONG>(left + width), static_cast<LONG>(top + height)};
    fit.zoomX = static_cast<float>(width) / static_cast<float>(cx);
    fit.zoomY = static_cast<float>(height) / static_cast<float>(cy);
    return fit;
}

RECT ComputeActualSizeSurface(const RECT& vert, const RECT& horz) {
    return RECT{0, 0, vert.left, horz.top};
}
