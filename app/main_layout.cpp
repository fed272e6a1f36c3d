#include "app/main_layout.h"

#include <algorithm>

namespace {

Rect At(int left, int top, Size size) {
    return Rect{left, top, left + size.cx, top + size.cy};
}

// The zoom buttons stand side by side: the row is as high as the higher.
int ZoomRowHeight(const MainLayoutInput& in) {
    return std::max(in.actualSizeButton.cy, in.fitButton.cy);
}

void MoveBy(Rect& rect, int dy) {
    rect.top += dy;
    rect.bottom += dy;
}

// How the column's height is shared out: the top of the logo, its size, and
// the gaps below it (g between the parts, g2 above the zoom buttons).
struct ColumnSpread {
    int logoTop = 0;
    Size logo;
    int g = 0;
    int g2 = 0;
    bool fits = true;
};

ColumnSpread SpreadColumn(const MainLayoutInput& in, int logoTop, int bottomMargin, int minGap,
                          int zoomGap) {
    const int ch = in.client.cy;
    const int parts = in.toolsPicture.cy + in.palette.cy + ZoomRowHeight(in) + in.submitPanel.cy;
    ColumnSpread spread;
    // Spread the free height evenly over the gaps below the logo.
    const int free = ch - bottomMargin - logoTop - in.logo.cy - parts;
    if (free >= 4 * minGap) {
        spread.logoTop = logoTop;
        spread.logo = in.logo;
        spread.g = free / 4;
        spread.g2 = std::min(spread.g, zoomGap);
        return spread;
    }
    // Too short: the smallest gaps, and the logo makes room, first its
    // margin, then its height (keeping its shape); with less than half of it
    // left it goes.
    spread.fits = false;
    spread.g = minGap;
    spread.g2 = minGap;
    const int room = ch - bottomMargin - parts - 4 * minGap;
    if (room >= minGap + in.logo.cy) {
        spread.logoTop = room - in.logo.cy;
        spread.logo = in.logo;
    } else if (in.logo.cy > 0 && 2 * (room - minGap) >= in.logo.cy) {
        spread.logoTop = minGap;
        const int height = room - minGap;
        spread.logo = Size{in.logo.cx * height / in.logo.cy, height};
    }
    return spread;
}

} // namespace

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

    out.column = Rect{colX, 0, colX + columnWidth, ch};
    out.status = Rect{0, ch - statusHeight, colX, ch};
    out.statusBar = Rect{0, 0, colX, statusHeight};
    const int horzTop = ch - statusHeight - in.horzScrollBar.cy;
    out.horzScroll = Rect{0, horzTop, colX, horzTop + in.horzScrollBar.cy};
    out.vertScroll = Rect{colX - in.vertScrollBar.cx, 0, colX, horzTop};
    out.surface = Rect{0, 0, out.vertScroll.left, horzTop};

    const int bottomMargin = px(MainLayout::kBottomMargin);
    const int minGap = px(MainLayout::kMinGap);
    const ColumnSpread spread =
        SpreadColumn(in, px(MainLayout::kLogoTop), bottomMargin, minGap, px(5));
    // Pictures drawn for a larger DPI than the window's can be wider than
    // its column; a smaller scale of them has to be taken then.
    const int widest = std::max({in.logo.cx, in.toolsPicture.cx, in.palette.cx, in.submitPanel.cx});
    out.columnFits = spread.fits && widest <= columnWidth;
    const int g = spread.g;
    const int g2 = spread.g2;
    const bool logoShown = spread.logo.cy > 0;
    const int logoBottom = logoShown ? spread.logoTop + spread.logo.cy : 0;
    out.columnContent = logoBottom + g + in.toolsPicture.cy + g + in.palette.cy + g2 +
                        ZoomRowHeight(in) + g + in.submitPanel.cy + bottomMargin;
    // The last resort: the column scrolls, beside a bar of its own.
    out.columnScrolls = out.columnContent > ch;
    int shift = 0;
    int innerWidth = columnWidth;
    if (out.columnScrolls) {
        out.columnScroll =
            std::clamp(in.columnScroll, 0, std::max(0, out.columnContent - std::max(0, ch)));
        shift = -out.columnScroll;
        innerWidth = std::max(0, columnWidth - in.columnScrollWidth);
        out.columnScrollBar = Rect{colX + innerWidth, 0, colX + columnWidth, ch};
    }
    auto centred = [&](int width) { return colX + (innerWidth - width) / 2; };
    if (logoShown)
        out.logo = At(centred(spread.logo.cx), spread.logoTop + shift, spread.logo);

    // The tool buttons sit at fixed offsets inside the tools picture, which is
    // laid out with its top at 0 first and moved down once the vertical gap
    // is known.
    Rect p = At(centred(in.toolsPicture.cx), 0, in.toolsPicture);
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

    const int pTop = logoBottom + g + shift;
    for (Rect* r : {&p, &out.pointer, &out.highlight, &out.text, &out.arrow, &out.crop, &out.pen,
                    &out.undo, &out.redo})
        MoveBy(*r, pTop);
    out.toolsPicture = p;

    // Each panel is centred in the column on its own.
    out.palette = At(centred(in.palette.cx), p.bottom + g, in.palette);
    const int zoomTop = out.palette.bottom + g2;
    out.actualSize = At(out.palette.left + onPicture(3), zoomTop, in.actualSizeButton);
    // The insets are rounded apart from the buttons: never over each other.
    out.fit = At(std::max(out.palette.right - in.fitButton.cx - onPicture(4), out.actualSize.right),
                 zoomTop, in.fitButton);
    out.submit = At(centred(in.submitPanel.cx), zoomTop + ZoomRowHeight(in) + g, in.submitPanel);
    return out;
}

MainLayoutInput AtPictureDpi(const MainLayoutInput& atPicture96, unsigned pictureDpi) {
    MainLayoutInput in = atPicture96;
    in.pictureDpi = pictureDpi;
    for (Size* size : {&in.logo, &in.toolsPicture, &in.toolButton, &in.undoRedoButton, &in.palette,
                       &in.actualSizeButton, &in.fitButton, &in.submitPanel})
        *size = Size{fw::Scale(size->cx, pictureDpi), fw::Scale(size->cy, pictureDpi)};
    return in;
}

unsigned ChooseColumnPictureDpi(const MainLayoutInput& atPicture96, unsigned nearest) {
    for (unsigned candidate = nearest; candidate > kSmallestColumnPictureDpi;
         candidate -= kColumnPictureDpiStep) {
        if (ComputeMainLayout(AtPictureDpi(atPicture96, candidate)).columnFits)
            return candidate;
    }
    return kSmallestColumnPictureDpi;
}

FitResult ComputeFit(const Rect& vert, const Rect& horz, const Rect& surface, Size picture) {
    FitResult fit;
    if (picture.cx <= 0 || picture.cy <= 0)
        return fit;
    // The area runs from the surface's corner to the bars' far edges; a
    // window too small for it leaves it empty. 64 bits: a length times a
    // length.
    const long long aw = std::max(0, vert.right - surface.left);
    const long long ah = std::max(0, horz.bottom - surface.top);
    const long long cx = picture.cx;
    const long long cy = picture.cy;
    const long long h = aw * cy / cx;
    long long width, height, left, top;
    if (h <= ah) {
        width = aw;
        height = h;
        left = 0;
        top = (ah - h) / 2;
    } else {
        width = ah * cx / cy;
        height = ah;
        left = (aw - width) / 2;
        top = 0;
    }
    // Each offset from the area's corner.
    fit.surface = Rect{surface.left + static_cast<int>(left), surface.top + static_cast<int>(top),
                       surface.left + static_cast<int>(left + width),
                       surface.top + static_cast<int>(top + height)};
    fit.zoomX = static_cast<float>(width) / static_cast<float>(cx);
    fit.zoomY = static_cast<float>(height) / static_cast<float>(cy);
    return fit;
}

Rect ComputeActualSizeSurface(const Rect& vert, const Rect& horz) {
    return Rect{0, 0, vert.left, horz.top};
}
