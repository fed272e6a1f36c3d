#!/usr/bin/python3
"""Draws every bitmap, icon and cursor that lumvex.rc compiles in.

    /usr/bin/python3 resources/art/generate.py              rewrite the images
    /usr/bin/python3 resources/art/generate.py --sheet a.png   ... and a contact sheet
    /usr/bin/python3 resources/art/generate.py --check      verify the committed images

The images are committed beside this script, so building Lumvex needs no
Python. Run it with Debian's /usr/bin/python3, which has Pillow (python3-pil);
the fonts come from fonts-liberation and fonts-dejavu-core.

How things are drawn
--------------------
Shapes are drawn at SS (4) times the final size and reduced with LANCZOS,
which gives clean anti-aliased edges. Text is drawn afterwards at the final
size, where FreeType's hinting keeps small captions sharp (reduced 4x text
comes out grey and soft at 10-12 px).

Every bitmap is a 24-bit BMP (what windres and LoadBitmap read everywhere).
Buttons are drawn at their own size (the button class paints the bitmap at
the top-left corner without scaling), so each button picture has exactly the
size its button is given, and its corners carry the colour of whatever lies
behind that button.

Sizes
-----
Where a size is only known in dialog units, it is converted with the base
units of "MS Shell Dlg" 8 pt at 96 DPI: 6 x 13 px per 4 x 8 units, that is
1.5 px per horizontal and 1.625 px per vertical unit, rounded like
MapDialogRect. The child panels clip their picture to the panel's size
(the colour panel is 177 x 89 px although its picture is 178 x 93), so the
cards are drawn inside the visible part and the rest is column blue.

Sizes given by the window code or the templates are used as they are (tool
buttons 62 x 62, Undo/Redo 62 x 31, zoom buttons 84 x 29 and 73 x 73, Submit
140 x 33, Save/Email 68 x 26, own-server buttons 86 x 25, the panel pictures
178 x 128 and 178 x 93, the toolbar strip 757 x 40). Sizes chosen here:

    132 About picture    135 x 283  left 90 units of the 288 x 174 unit box
    137 logo             176 x 48   fits the 200 px column with margins
    186 upload banner    178 x 28   its 119 x 17 unit picture control
    189/190 CANCEL       86 x 25    the 57 x 15 unit button (86 x 24) made as
                                    tall as the other 86 x 25 buttons; the
                                    mask's size becomes the button's size
    196 submit panel     177 x 189  the whole 118 x 116 unit panel
    197 tools card       177 x 305  holds the buttons at the main window's
                                    offsets (see TOOLS_CARD)
    217 Change           63 x 21    inside the 71 x 29 px push button's frame
    250 own-server       467 x 301  the whole 311 x 185 unit dialog
    161 pen cursor       43 x 32, plus 32 x 32 and 48 x 48 (CURSOR_IMAGES)

Save (244/245) is the submit panel's 68 x 26 button; the own-server dialog's
86 x 25 Save has a pair of its own (251/252), as wide as Cancel beside it.
"""

import argparse
import io
import math
import os
import struct
import sys
import tempfile

try:
    from PIL import Image, ImageDraw, ImageFont
except ImportError:
    sys.exit("Pillow is missing: run this script with /usr/bin/python3 (python3-pil)")

HERE = os.path.dirname(os.path.abspath(__file__))
SS = 4  # supersampling factor for shapes

# The scale a picture is drawn at: 1 for 96 DPI, 1.5 for 144 and 2 for 192.
# Every drawing function works in 96-DPI pixels; Sketch, font, text_width and
# draw_text apply the scale, so the larger pictures come from the same code.
SCALE = 1.0
SCALES = ((144, 1.5), (192, 2.0))


def scaled(v):
    """A 96-DPI length at SCALE, rounded like the program rounds (halves up)."""
    return int(math.floor(v * SCALE + 0.5))

# ---------------------------------------------------------------------------
# Colours
# ---------------------------------------------------------------------------
COLUMN = (63, 112, 170)  # main window tool column (fixed by the main window)
WINDOW = (125, 125, 125)  # main window background (fixed by the main window)
UPLOAD_BG = (62, 113, 170)  # upload dialog background brush
TOOLBAR_BG = (0, 51, 101)  # toolbar panel background brush
MAGENTA = (255, 0, 255)  # outside of a shaped button (key colour of the region)

CARD = (236, 242, 250)  # panels in the column, and the own-server dialog
CARD_LINE = (205, 217, 234)  # separators on a card
INK = (30, 56, 94)  # headings, glyphs and captions on light ground
INK_SOFT = (92, 112, 140)  # secondary text
TILE = (255, 255, 255)  # tool button, normal
TILE_EDGE = (182, 199, 223)
ACCENT = (28, 99, 190)  # tool button, selected
ACCENT_EDGE = (17, 72, 146)
LIGHT_BLUE_BAR = (112, 160, 214)
GREEN = (40, 150, 72)
GREEN_DARK = (28, 118, 54)
GREEN_EDGE = (22, 104, 46)
GREY = (246, 247, 249)
GREY_SHADED = (221, 226, 233)
GREY_EDGE = (160, 170, 186)
CHARCOAL = (44, 52, 66)  # dark CANCEL button of the upload dialog
ORANGE = (255, 140, 26)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)

# ---------------------------------------------------------------------------
# Fonts
# ---------------------------------------------------------------------------
FONT_FILES = {
    "sans": "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
    "sans-bold": "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf",
    "serif-bold": "/usr/share/fonts/truetype/liberation/LiberationSerif-Bold.ttf",
    "brand": "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
}
_fonts = {}


def font(kind, px):
    """The font at px 96-DPI pixels, at the current SCALE."""
    size = max(1, round(px * SCALE))
    key = (kind, size)
    if key not in _fonts:
        path = FONT_FILES[kind]
        if not os.path.exists(path):
            sys.exit(f"font {path} is missing (install fonts-liberation and fonts-dejavu-core)")
        _fonts[key] = ImageFont.truetype(path, size)
    return _fonts[key]


def text_width(s, f):
    """Width in 96-DPI pixels."""
    return f.getlength(s) / SCALE


def fit_font(kind, s, max_width, largest, smallest=8):
    """Largest font of the kind, no bigger than `largest`, whose text fits."""
    for px in range(largest, smallest - 1, -1):
        if text_width(s, font(kind, px)) <= max_width:
            return font(kind, px)
    return font(kind, smallest)


# ---------------------------------------------------------------------------
# Dialog units
# ---------------------------------------------------------------------------
def dlu_x(units):
    return (units * 6 + 2) // 4  # MulDiv(units, 6, 4), rounded


def dlu_y(units):
    return (units * 13 + 4) // 8  # MulDiv(units, 13, 8), rounded


# ---------------------------------------------------------------------------
# Drawing at SS times the size
# ---------------------------------------------------------------------------
class Sketch:
    """A picture drawn at SS times its final size. Coordinates given to the
    methods are in final pixels (floats allowed); boxes are (x0, y0, x1, y1)
    with exclusive right and bottom edges, like Windows rectangles."""

    def __init__(self, w, h, ground=None):
        self.w, self.h = scaled(w), scaled(h)  # final pixels
        self.k = SS * SCALE  # final 96-DPI pixel -> sketch pixel
        fill = (0, 0, 0, 0) if ground is None else tuple(ground) + (255,)
        self.img = Image.new("RGBA", (self.w * SS, self.h * SS), fill)
        self.d = ImageDraw.Draw(self.img)

    @staticmethod
    def _c(color):
        return tuple(color) + (255,) if len(color) == 3 else tuple(color)

    def _box(self, box):
        x0, y0, x1, y1 = box
        k = self.k
        return (round(x0 * k), round(y0 * k), round(x1 * k) - 1, round(y1 * k) - 1)

    def rect(self, box, fill):
        self.d.rectangle(self._box(box), fill=self._c(fill))

    def rrect(self, box, radius, fill=None, edge=None, edge_width=1.0):
        """Rounded rectangle; the edge is drawn inside the box."""
        if edge is not None:
            self.d.rounded_rectangle(self._box(box), round(radius * self.k), fill=self._c(edge))
            x0, y0, x1, y1 = box
            box = (x0 + edge_width, y0 + edge_width, x1 - edge_width, y1 - edge_width)
            radius = max(0.0, radius - edge_width)
        if fill is not None:
            self.d.rounded_rectangle(self._box(box), round(radius * self.k), fill=self._c(fill))

    def ellipse(self, box, fill):
        self.d.ellipse(self._box(box), fill=self._c(fill))

    def polygon(self, points, fill):
        self.d.polygon([(x * self.k, y * self.k) for x, y in points], fill=self._c(fill))

    def line(self, points, width, color, cap="round"):
        """Polyline with round joints; caps 'round', 'square' or 'butt'."""
        pts = list(points)
        if cap == "square" and len(pts) >= 2:
            pts[0] = _extend(pts[1], pts[0], width / 2)
            pts[-1] = _extend(pts[-2], pts[-1], width / 2)
        k = self.k
        self.d.line([(x * k, y * k) for x, y in pts], fill=self._c(color), width=round(width * k),
                    joint="curve")
        # Discs on the inner vertices close the hairline seams that thick
        # polylines leave between their segments.
        r = width / 2
        for x, y in pts[1:-1]:
            self.ellipse((x - r, y - r, x + r, y + r), color)
        if cap == "round":
            r = width / 2
            for x, y in (pts[0], pts[-1]):
                self.ellipse((x - r, y - r, x + r, y + r), color)

    def arc_points(self, cx, cy, r, a0, a1, steps=48):
        """Points of a circular arc, angles in degrees, 0 = east, clockwise (y down)."""
        return [
            (cx + r * math.cos(math.radians(a0 + (a1 - a0) * i / steps)),
             cy + r * math.sin(math.radians(a0 + (a1 - a0) * i / steps)))
            for i in range(steps + 1)
        ]

    def glyph_text(self, xy, s, kind, px, color, anchor="mm"):
        """Text drawn as a shape (large glyphs that are part of a symbol)."""
        self.d.text((xy[0] * self.k, xy[1] * self.k), s, font=font(kind, px * SS),
                    fill=self._c(color), anchor=anchor)

    def reduce(self, mode="RGB"):
        small = self.img.resize((self.w, self.h), Image.LANCZOS)
        return small.convert(mode) if mode == "RGB" else small

    def coverage(self):
        """Alpha of the drawing, reduced: how much of each final pixel is covered."""
        return self.img.getchannel("A").resize((self.w, self.h), Image.BOX)


def mix(a, b, amount_of_a):
    return tuple(round(p * amount_of_a + q * (1 - amount_of_a)) for p, q in zip(a[:3], b[:3]))


def _extend(a, b, by):
    """Point b moved further away from a by `by`."""
    dx, dy = b[0] - a[0], b[1] - a[1]
    n = math.hypot(dx, dy) or 1.0
    return (b[0] + dx / n * by, b[1] + dy / n * by)


def arrow_head(sk, tip, direction_deg, length, half_width, color):
    a = math.radians(direction_deg)
    ux, uy = math.cos(a), math.sin(a)
    bx, by = tip[0] - ux * length, tip[1] - uy * length
    sk.polygon([tip, (bx - uy * half_width, by + ux * half_width),
                (bx + uy * half_width, by - ux * half_width)], color)


def draw_text(img, xy, s, f, color, anchor="mm"):
    """Text at xy in 96-DPI pixels; f comes from font() at the same SCALE."""
    ImageDraw.Draw(img).text((xy[0] * SCALE, xy[1] * SCALE), s, font=f, fill=tuple(color),
                             anchor=anchor)


# ---------------------------------------------------------------------------
# Glyphs. Each draws into the square (x, y, size) of a Sketch.
# ---------------------------------------------------------------------------
def glyph_pointer(sk, x, y, s, color, ground):
    u = lambda px, py: (x + px * s, y + py * s)
    outline = [u(0.27, 0.04), u(0.27, 0.84), u(0.45, 0.67), u(0.58, 0.95), u(0.71, 0.89),
               u(0.58, 0.62), u(0.82, 0.62)]
    sk.polygon(outline, color)


def glyph_pen(sk, x, y, s, color, ground):
    # A pencil lying from the top right down to the tip at the bottom left.
    tip = (x + 0.10 * s, y + 0.90 * s)
    end = (x + 0.90 * s, y + 0.10 * s)
    ax, ay = end[0] - tip[0], end[1] - tip[1]
    n = math.hypot(ax, ay)
    ux, uy = ax / n, ay / n  # along the pencil
    px, py = -uy, ux  # across it
    half = 0.115 * s

    def at(t, side):
        return (tip[0] + ux * n * t + px * half * side, tip[1] + uy * n * t + py * half * side)

    sk.polygon([at(0.30, -1), at(1.0, -1), at(1.0, 1), at(0.30, 1)], color)  # body
    sk.polygon([(tip[0], tip[1]), at(0.25, -1), at(0.25, 1)], color)  # sharpened wood
    gap = 0.035 * s
    # Light gaps that separate the wood from the body and mark the ferrule.
    for t in (0.275, 0.84):
        a, b = at(t, -1.3), at(t, 1.3)
        sk.line([a, b], gap, ground, cap="butt")


def glyph_highlight(sk, x, y, s, color, ground):
    # A frame drawn round a line of text, the way the tool marks a spot.
    w = 0.10 * s
    tint = mix(color, ground, 0.22)
    sk.rect((x + 0.02 * s, y + 0.2 * s, x + 0.98 * s, y + 0.8 * s), color)
    sk.rect((x + 0.02 * s + w, y + 0.2 * s + w, x + 0.98 * s - w, y + 0.8 * s - w), tint)
    t = 0.09 * s
    sk.line([(x + 0.24 * s, y + 0.5 * s), (x + 0.76 * s, y + 0.5 * s)], t, color, cap="butt")


def glyph_text(sk, x, y, s, color, ground):
    sk.glyph_text((x + 0.5 * s, y + 0.52 * s), "T", "serif-bold", 1.12 * s, color)


def glyph_arrow(sk, x, y, s, color, ground):
    a, b = (x + 0.12 * s, y + 0.88 * s), (x + 0.88 * s, y + 0.12 * s)
    head = 0.36 * s
    shaft_end = (b[0] - head * 0.6 * math.sqrt(0.5), b[1] + head * 0.6 * math.sqrt(0.5))
    sk.line([a, shaft_end], 0.11 * s, color)
    arrow_head(sk, b, -45, head, 0.2 * s, color)


def glyph_crop(sk, x, y, s, color, ground):
    w = 0.10 * s
    sk.line([(x + 0.28 * s, y + 0.04 * s), (x + 0.28 * s, y + 0.72 * s),
             (x + 0.96 * s, y + 0.72 * s)], w, color, cap="butt")
    sk.line([(x + 0.04 * s, y + 0.28 * s), (x + 0.72 * s, y + 0.28 * s),
             (x + 0.72 * s, y + 0.96 * s)], w, color, cap="butt")


def glyph_undo(sk, x, y, s, color, ground, mirror=False):
    # A return arrow: the head points left at the top, the tail runs right
    # and bends round and back underneath.
    width = 0.15 * s
    cx, cy, r = x + 0.60 * s, y + 0.56 * s, 0.27 * s
    pts = [(x + 0.30 * s, cy - r)] + sk.arc_points(cx, cy, r, -90, 90) + [(x + 0.36 * s, cy + r)]
    tip = (x + 0.04 * s, cy - r)
    if mirror:
        flip = lambda p: (2 * (x + 0.5 * s) - p[0], p[1])
        pts, tip = [flip(p) for p in pts], flip(tip)
    sk.line(pts, width, color, cap="butt")
    arrow_head(sk, tip, 0 if mirror else 180, 0.34 * s, 0.26 * s, color)


def glyph_redo(sk, x, y, s, color, ground):
    glyph_undo(sk, x, y, s, color, ground, mirror=True)


def glyph_fit(sk, x, y, s, color, ground):
    w = 0.07 * s
    sk.rrect((x, y + 0.1 * s, x + s, y + 0.9 * s), 0.08 * s, fill=None, edge=color,
             edge_width=w)
    sk.rect((x + w, y + 0.1 * s + w, x + s - w, y + 0.9 * s - w), ground)
    cx, cy = x + 0.5 * s, y + 0.5 * s
    for dx, dy in ((-1, -1), (1, -1), (1, 1), (-1, 1)):
        tip = (cx + dx * 0.34 * s, cy + dy * 0.24 * s)
        start = (cx + dx * 0.08 * s, cy + dy * 0.06 * s)
        ang = math.degrees(math.atan2(tip[1] - start[1], tip[0] - start[0]))
        neck = (tip[0] - math.cos(math.radians(ang)) * 0.1 * s,
                tip[1] - math.sin(math.radians(ang)) * 0.1 * s)
        sk.line([start, neck], 0.06 * s, color)
        arrow_head(sk, tip, ang, 0.15 * s, 0.09 * s, color)


def glyph_actual(sk, x, y, s, color, ground):
    w = 0.07 * s
    sk.rrect((x, y + 0.1 * s, x + s, y + 0.9 * s), 0.08 * s, fill=None, edge=color,
             edge_width=w)
    sk.rect((x + w, y + 0.1 * s + w, x + s - w, y + 0.9 * s - w), ground)
    sk.glyph_text((x + 0.5 * s, y + 0.52 * s), "1:1", "sans-bold", 0.42 * s, color)


def glyph_disk(sk, x, y, s, color, ground):
    sk.polygon([(x + 0.1 * s, y + 0.1 * s), (x + 0.74 * s, y + 0.1 * s),
                (x + 0.9 * s, y + 0.26 * s), (x + 0.9 * s, y + 0.9 * s),
                (x + 0.1 * s, y + 0.9 * s)], color)
    sk.rect((x + 0.28 * s, y + 0.1 * s, x + 0.66 * s, y + 0.34 * s), ground)
    sk.rect((x + 0.24 * s, y + 0.54 * s, x + 0.76 * s, y + 0.9 * s), ground)
    sk.rect((x + 0.33 * s, y + 0.64 * s, x + 0.67 * s, y + 0.7 * s), color)


def glyph_envelope(sk, x, y, s, color, ground):
    sk.rrect((x + 0.05 * s, y + 0.2 * s, x + 0.95 * s, y + 0.8 * s), 0.06 * s, fill=color)
    sk.line([(x + 0.12 * s, y + 0.28 * s), (x + 0.5 * s, y + 0.56 * s),
             (x + 0.88 * s, y + 0.28 * s)], 0.07 * s, ground)


def glyph_plus(sk, x, y, s, color, ground):
    w = 0.22 * s
    sk.line([(x + 0.5 * s, y + 0.12 * s), (x + 0.5 * s, y + 0.88 * s)], w, color, cap="butt")
    sk.line([(x + 0.12 * s, y + 0.5 * s), (x + 0.88 * s, y + 0.5 * s)], w, color, cap="butt")


def brand_mark(sk, x, y, s, ground=None):
    """The Lumvex mark: a blue tile with white capture corners and an orange
    annotation arrow. `ground` is the colour behind it (None = transparent)."""
    tile = (34, 110, 204)
    edge = (255, 255, 255) if ground is not None and ground != WHITE else None
    if edge is not None and s >= 30:
        sk.rrect((x - 1.5, y - 1.5, x + s + 1.5, y + s + 1.5), 0.24 * s + 1.5, fill=(255, 255, 255, 70))
    sk.rrect((x, y, x + s, y + s), 0.24 * s, fill=tile)
    w = max(0.09 * s, 1.5)
    # At tray size the corners get fixed pixel sizes, so that they stay four
    # separate marks instead of merging into a frame.
    i, L = (2.5, 2.6) if s <= 16 else (0.2 * s, 0.17 * s)
    for cx, cy, dx, dy in ((x + i, y + i, 1, 1), (x + s - i, y + i, -1, 1),
                           (x + s - i, y + s - i, -1, -1), (x + i, y + s - i, 1, -1)):
        sk.line([(cx + dx * L, cy), (cx, cy), (cx, cy + dy * L)], w, WHITE, cap="square")
    a, b = (x + 0.36 * s, y + 0.66 * s), (x + 0.66 * s, y + 0.36 * s)
    sk.line([a, (b[0] - 0.07 * s, b[1] + 0.07 * s)], max(0.1 * s, 1.8), ORANGE)
    arrow_head(sk, (b[0] + 0.03 * s, b[1] - 0.03 * s), -45, 0.24 * s, 0.15 * s, ORANGE)


# ---------------------------------------------------------------------------
# Pictures
# ---------------------------------------------------------------------------
TOOLS = [
    # id normal, id selected, file name, caption, glyph
    (200, 199, "tool_pointer", "Pointer", glyph_pointer),
    (203, 204, "tool_pen", "Pen", glyph_pen),
    (202, 201, "tool_highlight", "Highlight", glyph_highlight),
    (205, 206, "tool_text", "Text", glyph_text),
    (207, 208, "tool_arrow", "Arrow", glyph_arrow),
    (209, 210, "tool_crop", "Crop", glyph_crop),
]

TOOL_SIZE = 62  # the main window sizes the tool buttons to 62 x 62 px
TOOL_GAP = 18  # horizontal margin and gap of the tool buttons in their card
UNDO_SIZE = (62, 31)  # Undo and Redo are 62 x 31 px
ZOOM_BUTTON = (84, 29)  # zoom buttons of the column and the toolbar
ZOOM_PANEL_BUTTON = 73  # zoom panel buttons, 73 x 73 px

# The tools card behind the buttons: 177 px wide like the colour and submit
# panels (118 dialog units), buttons 18 px from the left edge, first row 40 px
# from the top (room for the heading), rows 10 px apart, Undo/Redo 14 px under
# the last row; the bottom margin repeats those 14 px.
TOOLS_CARD = (177, 40 + 3 * TOOL_SIZE + 2 * 10 + 14 + 31 + 14)
TOOLS_FIRST_ROW = 40


def tool_button(glyph, caption, selected):
    ground = ACCENT if selected else TILE
    ink = WHITE if selected else INK
    sk = Sketch(TOOL_SIZE, TOOL_SIZE, CARD)
    if selected:
        sk.rrect((0, 0, 62, 62), 9, fill=ground, edge=ACCENT_EDGE, edge_width=1)
    else:
        sk.rrect((0, 0, 62, 62), 9, fill=ground, edge=TILE_EDGE, edge_width=1)
    glyph(sk, 18, 9, 26, ink, ground)
    img = sk.reduce()
    draw_text(img, (31, 49), caption, font("sans-bold" if selected else "sans", 11), ink,
              anchor="mm")
    return img


def undo_button(glyph, caption):
    w, h = UNDO_SIZE
    sk = Sketch(w, h, CARD)
    sk.rrect((0, 0, w, h), 7, fill=TILE, edge=TILE_EDGE, edge_width=1)
    f = font("sans-bold", 11)
    tw = text_width(caption, f)
    gs = 13
    x0 = (w - (gs + 4 + tw)) / 2
    glyph(sk, x0, (h - gs) / 2 - 0.5, gs, INK, TILE)
    img = sk.reduce()
    draw_text(img, (x0 + gs + 4, h / 2), caption, f, INK, anchor="lm")
    return img


def zoom_button(caption, selected):
    # Selected reads like a selected tool: accent ground, white caption.
    w, h = ZOOM_BUTTON
    sk = Sketch(w, h, COLUMN)
    if selected:
        sk.rrect((0, 0, w, h), 5, fill=ACCENT, edge=WHITE, edge_width=1)
    else:
        sk.rrect((0, 0, w, h), 5, fill=TILE, edge=TILE_EDGE, edge_width=1)
    img = sk.reduce()
    # One size for both captions, so the pair looks alike side by side.
    f = fit_font("sans-bold", "Fit to Window", w - 10, 12)
    draw_text(img, (w / 2, h / 2), caption, f, WHITE if selected else INK)
    return img


def zoom_panel_button(glyph, caption, selected):
    s = ZOOM_PANEL_BUTTON
    sk = Sketch(s, s, CARD)
    if selected:
        sk.rrect((0, 0, s, s), 9, fill=TILE, edge=ACCENT, edge_width=2)
        ink = ACCENT
    else:
        sk.rrect((0, 0, s, s), 9, fill=TILE, edge=TILE_EDGE, edge_width=1)
        ink = INK_SOFT
    glyph(sk, 22, 8, 29, ink, TILE)
    img = sk.reduce()
    f = font("sans-bold" if selected else "sans", 11)
    first, second = caption.rsplit(" ", 1)
    for line, y in ((first, 48), (second, 61)):
        draw_text(img, (s / 2, y), line, f, INK if selected else INK_SOFT)
    return img


def card_heading(img, title, top=9):
    draw_text(img, (18, top + 9), title, font("sans-bold", 13), INK, anchor="lm")


def card(w, h, visible_w, visible_h, separators=()):
    """A card panel of the column: CARD colour, rounded, inside the visible part."""
    sk = Sketch(w, h, COLUMN)
    sk.rrect((0, 0, visible_w, visible_h), 8, fill=CARD)
    for y, x0, x1 in separators:
        sk.rect((x0, y, x1, y + 1), CARD_LINE)
    return sk


def tools_panel():
    w, h = TOOLS_CARD
    last = TOOLS_FIRST_ROW + 3 * TOOL_SIZE + 2 * 10
    sk = card(w, h, w, h, separators=[(32, 18, w - 17), (last + 6, 18, w - 17)])
    img = sk.reduce()
    card_heading(img, "Tools")
    return img


# The current-colour box, then the twelve swatches row by row, in 96-DPI
# pixels of the colour panel (the palette places its controls on them).
COLOR_SLOTS = [(19, 39, 47, 67)] + [
    (56 + c * 17, 39 + r * 17, 56 + c * 17 + 14, 39 + r * 17 + 14)
    for r in range(2) for c in range(6)
]


def colors_panel():
    # 178 x 93 picture; the panel (118 x 55 units) shows 177 x 89 px of it.
    # Box 1026 and the swatches start at y = 39 px, so the heading sits above.
    vw, vh = dlu_x(118), dlu_y(55)
    sk = card(178, 93, vw, vh, separators=[(31, 18, vw - 17)])
    # Wells around the slots the palette puts its box and swatches on
    # (CDlgColors::SlotRect).
    for x0, y0, x1, y1 in COLOR_SLOTS:
        sk.rrect((x0 - 1, y0 - 1, x1 + 1, y1 + 1), 2, fill=WHITE, edge=TILE_EDGE)
    img = sk.reduce()
    card_heading(img, "Color", top=7)
    return img


def zoom_panel():
    # 178 x 128 picture; the panel (118 x 78 units) shows 177 x 127 px. Its
    # buttons are placed at (15, 38) and (92, 38), 73 px square.
    vw, vh = dlu_x(118), dlu_y(78)
    sk = card(178, 128, vw, vh, separators=[(30, 15, vw - 16)])
    img = sk.reduce()
    card_heading(img, "Zoom", top=6)
    return img


def submit_panel():
    # The panel is 118 x 116 units = 177 x 189 px. Radio buttons at y = 23 and
    # 44, the edit at y = 68..92, the Submit button from y = 104, Save and
    # Email 10 px under it. A separator parts the choice from the buttons.
    vw, vh = dlu_x(118), dlu_y(116)
    sk = card(vw, vh, vw, vh, separators=[(98, 18, vw - 18)])
    return sk.reduce()


def logo():
    w, h = 176, 48
    sk = Sketch(w, h, COLUMN)
    f = font("brand", 27)
    tw = text_width("Lumvex", f)
    mark = 40
    x0 = round((w - (mark + 10 + tw)) / 2)
    brand_mark(sk, x0, (h - mark) / 2, mark, COLUMN)
    img = sk.reduce()
    draw_text(img, (x0 + mark + 10, h / 2 + 1), "Lumvex", f, WHITE, anchor="lm")
    return img


def about_picture():
    # Left side of the About box (288 x 174 units): 90 units wide, full height.
    w, h = dlu_x(90), dlu_y(174)
    sk = Sketch(w, h, COLUMN)
    # A lighter band at the bottom gives the column some depth.
    sk.polygon([(0, h * 0.78), (w, h * 0.64), (w, h), (0, h)], (72, 123, 182))
    mark = 72
    brand_mark(sk, (w - mark) / 2, 58, mark, COLUMN)
    img = sk.reduce()
    draw_text(img, (w / 2, 160), "Lumvex", font("brand", 22), WHITE)
    draw_text(img, (w / 2, 184), "Capture. Mark up.", font("sans", 11), (214, 228, 245))
    draw_text(img, (w / 2, 199), "Share.", font("sans", 11), (214, 228, 245))
    return img


def upload_banner():
    # Picture static of the upload dialog: 119 x 17 units.
    w, h = 178, 28
    sk = Sketch(w, h, UPLOAD_BG)
    f1, f2 = font("brand", 16), font("sans", 14)
    t1, t2 = "Lumvex", "Upload"
    mark = 22
    total = mark + 8 + text_width(t1, f1) + 6 + text_width(t2, f2)
    x0 = round((w - total) / 2)
    brand_mark(sk, x0, (h - mark) / 2, mark, UPLOAD_BG)
    img = sk.reduce()
    x = x0 + mark + 8
    draw_text(img, (x, h / 2), t1, f1, WHITE, anchor="lm")
    draw_text(img, (x + text_width(t1, f1) + 6, h / 2 + 1), t2, f2, (200, 220, 244), anchor="lm")
    return img


def shaped_cancel():
    """CANCEL button of the upload dialog and its region mask. Pixels outside
    the rounded shape are magenta in both (the region leaves them out);
    inside, the edge is blended with the dialog background."""
    w, h = 86, 25
    shape = Sketch(w, h)
    shape.rrect((0, 0, w, h), 7, fill=WHITE)
    inside = shape.coverage().point(lambda a: 255 if a >= 128 else 0)

    sk = Sketch(w, h, UPLOAD_BG)
    sk.rrect((0, 0, w, h), 7, fill=(88, 100, 120), edge=None)
    sk.rrect((1, 1, w - 1, h - 1), 6, fill=CHARCOAL)
    pic = sk.reduce()
    f = font("sans-bold", 11)
    # Spaced capitals read better than the plain word on a small dark button.
    draw_spaced(pic, (w / 2, h / 2), "CANCEL", f, WHITE, 1.2)

    key = Image.new("RGB", pic.size, MAGENTA)
    picture = Image.composite(pic, key, inside)
    mask = Image.composite(Image.new("RGB", pic.size, BLACK), key, inside)
    return picture, mask


def draw_spaced(img, centre, s, f, color, spacing):
    widths = [text_width(c, f) for c in s]
    total = sum(widths) + spacing * (len(s) - 1)
    x = centre[0] - total / 2
    for c, cw in zip(s, widths):
        draw_text(img, (x, centre[1]), c, f, color, anchor="lm")
        x += cw + spacing


def push_button(size, caption, ground, edge, ink, ground_behind, glyph=None, font_px=12,
                radius=6):
    w, h = size
    sk = Sketch(w, h, ground_behind)
    sk.rrect((0, 0, w, h), radius, fill=ground, edge=edge, edge_width=1)
    f = font("sans-bold", font_px)
    tw = text_width(caption, f)
    gs = round(h * 0.46) if glyph else 0
    gap = 5 if glyph else 0
    x0 = (w - (gs + gap + tw)) / 2
    if glyph:
        glyph(sk, x0, (h - gs) / 2, gs, ink, ground)
    img = sk.reduce()
    draw_text(img, (x0 + gs + gap, h / 2), caption, f, ink, anchor="lm")
    return img


def submit_button(pressed):
    ground = GREEN_DARK if pressed else GREEN
    return push_button((140, 33), "Submit", ground, GREEN_EDGE, WHITE, CARD, glyph=glyph_plus,
                       font_px=15, radius=7)


def small_grey_button(caption, glyph, shaded, size=(68, 26)):
    return push_button(size, caption, GREY_SHADED if shaded else GREY, GREY_EDGE, INK, CARD,
                       glyph=glyph, font_px=12)


def more_info_button():
    return push_button((86, 25), "More Info", GREEN, GREEN_EDGE, WHITE, CARD, font_px=12)


def cancel_button(pressed):
    return push_button((86, 25), "Cancel", GREY_SHADED if pressed else GREY, GREY_EDGE, INK,
                       CARD, font_px=12)


def change_button():
    # Bitmap on the status strip's hidden push button (71 x 29 px); the
    # button draws its own frame around it, so the picture is smaller.
    return push_button((63, 21), "Change", GREY, GREY_EDGE, INK, (240, 240, 240), font_px=11,
                       radius=4)


def toolbar_strip():
    # 757 x 40: a rounded light-blue bar behind the four toolbar buttons
    # (x = 10 .. 422, y = 5 .. 33) on the toolbar's dark blue.
    sk = Sketch(757, 40, TOOLBAR_BG)
    sk.rrect((4, 2, 428, 38), 9, fill=LIGHT_BLUE_BAR)
    return sk.reduce()


def settings_ex_background():
    # Whole own-server dialog, 311 x 185 units. The dialog places its
    # controls over it in these pixels (dlg_settings_ex.cpp): More Info at
    # (357, 137), the address combo from (161, 234) with its edit field
    # centred on y = 245, Cancel at (263, 263) and Save at (357, 263), each
    # 86 x 25. "http://" is printed to the left of the combo.
    w, h = dlu_x(311), dlu_y(185)
    sk = Sketch(w, h, CARD)
    sk.rect((0, 0, w, 58), COLUMN)
    brand_mark(sk, 20, 13, 32, COLUMN)
    sk.rect((20, 204, w - 20, 205), CARD_LINE)
    img = sk.reduce()
    draw_text(img, (64, 29), "Use your own server", font("sans-bold", 18), WHITE, anchor="lm")
    body = font("sans", 13)
    draw_text(img, (20, 84), "Lumvex can send your screenshots to a work-order", body, INK,
              anchor="ls")
    draw_text(img, (20, 101), "server of your own instead of the public one.", body, INK,
              anchor="ls")
    # Level with the More Info button (y = 137 .. 162), just left of it.
    draw_text(img, (347, 154), "Want to run your own server?", body, INK, anchor="rs")
    draw_text(img, (20, 192), "Type the address of your server below and press Save.", body,
              INK, anchor="ls")
    combo_y = dlu_y(144)
    draw_text(img, (20, combo_y + 11), "Server address:", font("sans-bold", 12), INK, anchor="lm")
    draw_text(img, (dlu_x(107) - 4, combo_y + 11), "http://", font("sans", 13), INK_SOFT,
              anchor="rm")
    return img


# ---------------------------------------------------------------------------
# Icons and the cursor
# ---------------------------------------------------------------------------
ICON_SIZES = (16, 32, 48)  # 16 first: "its own size" loads the first image


def icon_images(draw):
    """RGBA images of one icon at every size; `draw(sk, s)` draws at size s."""
    out = []
    for s in ICON_SIZES:
        sk = Sketch(s, s)
        draw(sk, s)
        out.append(sk.reduce("RGBA"))
    return out


def icon_app(sk, s):
    brand_mark(sk, 0.5 if s > 16 else 0, 0.5 if s > 16 else 0, s - (1 if s > 16 else 0))


def outlined(glyph):
    """White glyph with a dark outline, for icons on the toolbar buttons (62, 112, 169)."""

    def draw(sk, s):
        pad = 1.0 if s <= 16 else s / 16
        dark = (16, 38, 72)
        for dx, dy in ((-1, 0), (1, 0), (0, -1), (0, 1), (-1, -1), (1, 1), (-1, 1), (1, -1)):
            glyph(sk, pad + dx * pad * 0.9, pad + dy * pad * 0.9, s - 2 * pad, dark, (0, 0, 0, 0))
        glyph(sk, pad, pad, s - 2 * pad, WHITE, dark)

    return draw


def icon_server(sk, s):
    body, light = (96, 112, 136), (200, 212, 228)
    for top in (0.08, 0.40):
        sk.rrect((0.06 * s, top * s, 0.80 * s, (top + 0.27) * s), 0.06 * s, fill=body)
        sk.rect((0.16 * s, (top + 0.11) * s, 0.50 * s, (top + 0.16) * s), light)
        sk.ellipse((0.60 * s, (top + 0.09) * s, 0.70 * s, (top + 0.19) * s), (120, 230, 120))
    # Green badge with an upward arrow: the uploads go to this server.
    sk.ellipse((0.44 * s, 0.44 * s, 1.0 * s, 1.0 * s), WHITE)
    sk.ellipse((0.48 * s, 0.48 * s, 0.96 * s, 0.96 * s), GREEN)
    cx = 0.72 * s
    sk.line([(cx, 0.86 * s), (cx, 0.66 * s)], 0.09 * s, WHITE, cap="butt")
    arrow_head(sk, (cx, 0.55 * s), -90, 0.16 * s, 0.13 * s, WHITE)


def icon_bell(sk, s):
    amber, dark = (245, 176, 35), (176, 112, 12)
    cx = 0.5 * s
    sk.polygon([(cx - 0.12 * s, 0.16 * s), (cx + 0.12 * s, 0.16 * s), (cx + 0.28 * s, 0.36 * s),
                (cx + 0.30 * s, 0.62 * s), (cx + 0.40 * s, 0.76 * s), (cx - 0.40 * s, 0.76 * s),
                (cx - 0.30 * s, 0.62 * s), (cx - 0.28 * s, 0.36 * s)], dark)
    sk.polygon([(cx - 0.10 * s, 0.19 * s), (cx + 0.10 * s, 0.19 * s), (cx + 0.25 * s, 0.37 * s),
                (cx + 0.27 * s, 0.63 * s), (cx + 0.34 * s, 0.73 * s), (cx - 0.34 * s, 0.73 * s),
                (cx - 0.27 * s, 0.63 * s), (cx - 0.25 * s, 0.37 * s)], amber)
    sk.ellipse((cx - 0.08 * s, 0.06 * s, cx + 0.08 * s, 0.2 * s), dark)
    sk.ellipse((cx - 0.11 * s, 0.74 * s, cx + 0.11 * s, 0.92 * s), dark)
    sk.ellipse((0.66 * s, 0.02 * s, 0.98 * s, 0.34 * s), (220, 50, 47))


def pen_cursor_image(w, h):
    """RGBA pen for the pen tool: black body, red tip at the bottom-left
    corner, a white outline so that it shows on dark pictures."""
    sk = Sketch(w, h)
    tip = (0.0, h - 0.0)
    end = (w * 0.92, h * 0.08) if w == h else (w * 0.94, 1.5)
    ax, ay = end[0] - tip[0], end[1] - tip[1]
    n = math.hypot(ax, ay)
    ux, uy = ax / n, ay / n
    px, py = -uy, ux
    half = max(3.0, h * 0.115)

    def at(t, side, grow=0.0):
        return (tip[0] + ux * n * t + px * (half + grow) * side,
                tip[1] + uy * n * t + py * (half + grow) * side)

    o = 1.1  # outline width in px
    cone = 0.26
    sk.polygon([_extend(at(1, 0), tip, o), at(cone, -1, o), at(1.0, -1, o), at(1.0, 1, o),
                at(cone, 1, o)], WHITE)
    sk.polygon([tip, at(cone, -1), at(cone, 1)], (214, 168, 120))  # wood
    sk.polygon([tip, at(0.13, -1), at(0.13, 1)], (220, 20, 20))  # red tip
    sk.polygon([at(cone, -1), at(0.97, -1), at(0.97, 1), at(cone, 1)], BLACK)
    img = sk.reduce("RGBA")
    # Hard edges: a cursor has a one-bit mask.
    alpha = img.getchannel("A").point(lambda a: 255 if a >= 110 else 0)
    solid = Image.new("RGBA", img.size, (0, 0, 0, 0))
    rgb = img.convert("RGB")
    solid.paste(rgb, (0, 0), alpha)
    solid.putalpha(alpha)
    return solid


# ---------------------------------------------------------------------------
# File formats
# ---------------------------------------------------------------------------
def bmp_bytes(img):
    buf = io.BytesIO()
    img.convert("RGB").save(buf, "BMP")
    return buf.getvalue()


def _and_mask(alpha, w, h, threshold=1):
    """1-bit AND mask, bottom-up, rows padded to 32 bits; 1 = transparent."""
    stride = ((w + 31) // 32) * 4
    out = bytearray()
    px = alpha.load()
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            if px[x, y] < threshold:
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


def _dib32(img):
    w, h = img.size
    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0, 0, 0, 0, 0, 0)
    px = img.load()
    data = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b, a = px[x, y]
            data += bytes((b, g, r, a))
    return header + bytes(data) + _and_mask(img.getchannel("A"), w, h)


def _dib8(img):
    """8-bit palette image with a one-bit mask (the classic cursor format)."""
    w, h = img.size
    alpha = img.getchannel("A")
    rgb = Image.new("RGB", img.size, BLACK)
    rgb.paste(img.convert("RGB"), (0, 0), alpha)
    pal = rgb.quantize(colors=255, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    colours = pal.getpalette()[: 3 * 255]
    # Index 0 is black: transparent pixels XOR black, which leaves the screen alone.
    palette = [(0, 0, 0)] + [tuple(colours[i:i + 3]) for i in range(0, len(colours), 3)]
    idx = pal.load()
    a = alpha.load()
    stride = (w + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            row[x] = 0 if a[x, y] == 0 else idx[x, y] + 1
        data += row
    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 8, 0, 0, 0, 0, 256, 0)
    pal_bytes = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    pal_bytes += bytes(4 * (256 - len(palette)))
    return header + pal_bytes + bytes(data) + _and_mask(alpha, w, h)


def icon_file(images, cursor_hotspots=None):
    """.ico (or .cur when hot spots are given) with one entry per image."""
    kind = 2 if cursor_hotspots else 1
    blobs = [(_dib8(im) if cursor_hotspots else _dib32(im)) for im in images]
    out = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    for i, (im, blob) in enumerate(zip(images, blobs)):
        w, h = im.size
        if cursor_hotspots:
            hx, hy = cursor_hotspots[i]
            out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, hx, hy, len(blob), offset)
        else:
            out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)


# ---------------------------------------------------------------------------
# The catalogue: id, kind, file, size and how to make it
# ---------------------------------------------------------------------------
class Entry:
    def __init__(self, rid, kind, path, make, role, size=None, shaped=False):
        self.rid, self.kind, self.path, self.make, self.role = rid, kind, path, make, role
        self.size, self.shaped = size, shaped


def catalogue():
    e = []
    bm = lambda rid, name, make, role, **kw: e.append(
        Entry(rid, "bitmap", f"bitmaps/{name}.bmp", make, role, **kw))

    bm(132, "about", about_picture, "About box, left side")
    bm(137, "logo", logo, "logo in the tool column")
    bm(186, "upload_banner", upload_banner, "upload dialog banner")
    cancel = {}

    def cancel_part(i):
        if not cancel:
            cancel["pair"] = shaped_cancel()
        return cancel["pair"][i]

    bm(189, "upload_cancel", lambda: cancel_part(0), "upload CANCEL button", shaped=True)
    bm(190, "upload_cancel_mask", lambda: cancel_part(1), "shape of the CANCEL button",
       shaped=True)
    bm(194, "zoom_panel", zoom_panel, "zoom panel background")
    bm(195, "colors_panel", colors_panel, "colour palette background")
    bm(196, "submit_panel", submit_panel, "submit panel background")
    bm(197, "tools_panel", tools_panel, "card behind the tool buttons")
    for normal, selected, name, caption, glyph in TOOLS:
        bm(normal, name, lambda g=glyph, c=caption: tool_button(g, c, False),
           f"{caption} tool")
        bm(selected, name + "_sel", lambda g=glyph, c=caption: tool_button(g, c, True),
           f"{caption} tool, selected")
    bm(211, "zoompanel_fit_sel", lambda: zoom_panel_button(glyph_fit, "Fit to Window", True),
       "zoom panel: fit, selected")
    bm(212, "zoompanel_actual", lambda: zoom_panel_button(glyph_actual, "Actual Size", False),
       "zoom panel: actual size")
    bm(213, "zoompanel_actual_sel",
       lambda: zoom_panel_button(glyph_actual, "Actual Size", True),
       "zoom panel: actual size, selected")
    bm(214, "zoompanel_fit", lambda: zoom_panel_button(glyph_fit, "Fit to Window", False),
       "zoom panel: fit")
    bm(215, "toolbar_strip", toolbar_strip, "toolbar background")
    bm(217, "status_change", change_button, "status strip Change button")
    bm(226, "zoom_fit_sel", lambda: zoom_button("Fit to Window", True), "fit, selected")
    bm(227, "zoom_actual", lambda: zoom_button("Actual Size", False), "actual size")
    bm(228, "zoom_actual_sel", lambda: zoom_button("Actual Size", True),
       "actual size, selected")
    bm(229, "zoom_fit", lambda: zoom_button("Fit to Window", False), "fit")
    bm(239, "undo", lambda: undo_button(glyph_undo, "Undo"), "Undo button")
    bm(240, "redo", lambda: undo_button(glyph_redo, "Redo"), "Redo button")
    bm(241, "submit_pressed", lambda: submit_button(True), "Submit, pressed")
    bm(242, "submit", lambda: submit_button(False), "Submit")
    bm(243, "email_pressed", lambda: small_grey_button("Email", glyph_envelope, True),
       "Email, pressed")
    bm(244, "save_light", lambda: small_grey_button("Save", glyph_disk, False), "Save, light")
    bm(245, "save_shaded", lambda: small_grey_button("Save", glyph_disk, True), "Save, shaded")
    bm(246, "email", lambda: small_grey_button("Email", glyph_envelope, False), "Email")
    bm(249, "more_info", more_info_button, "More Info button")
    bm(250, "settings_ex", settings_ex_background, "own-server dialog background")
    bm(251, "settings_ex_save",
       lambda: small_grey_button("Save", glyph_disk, True, size=(86, 25)), "own-server Save")
    bm(252, "settings_ex_save_pressed",
       lambda: small_grey_button("Save", glyph_disk, False, size=(86, 25)),
       "own-server Save, pressed")
    bm(253, "cancel", lambda: cancel_button(False), "Cancel button")
    bm(254, "cancel_pressed", lambda: cancel_button(True), "Cancel, pressed")

    ic = lambda rid, name, draw, role: e.append(
        Entry(rid, "icon", f"icons/{name}.ico", lambda d=draw: icon_images(d), role))
    ic(135, "upload_server", icon_server, "settings: upload server")
    ic(218, "toolbar_email", outlined(glyph_envelope), "toolbar e-mail")
    ic(219, "toolbar_redo", outlined(glyph_redo), "toolbar redo")
    ic(220, "toolbar_save", outlined(glyph_disk), "toolbar save")
    ic(221, "toolbar_undo", outlined(glyph_undo), "toolbar undo")
    ic(224, "lumvex", icon_app, "application and tray")
    ic(231, "notifications", icon_bell, "settings: notifications")

    e.append(Entry(161, "cursor", "cursors/pen.cur", pen_cursor_images, "pen tool cursor"))
    return e


# The pen cursor is 43 x 32 px with its hot spot on the tip at (0, 31). A
# 32 x 32 and a 48 x 48 image come with it, so that the standard cursor sizes
# load undistorted instead of squeezing the 43 px picture.
CURSOR_IMAGES = [((32, 32), (0, 31)), ((43, 32), (0, 31)), ((48, 48), (0, 47))]


def pen_cursor_images():
    return [pen_cursor_image(w, h) for (w, h), _ in CURSOR_IMAGES]


# Sizes every picture must have; the check below holds the drawings to them.
EXPECTED_SIZES = {
    132: (135, 283), 137: (176, 48), 186: (178, 28), 189: (86, 25), 190: (86, 25),
    194: (178, 128), 195: (178, 93), 196: (177, 189), 197: TOOLS_CARD,
    **{i: (62, 62) for i in range(199, 211)},
    **{i: (73, 73) for i in range(211, 215)},
    215: (757, 40), 217: (63, 21),
    **{i: (84, 29) for i in range(226, 230)},
    239: (62, 31), 240: (62, 31), 241: (140, 33), 242: (140, 33),
    243: (68, 26), 244: (68, 26), 245: (68, 26), 246: (68, 26),
    249: (86, 25), 250: (467, 301), 251: (86, 25), 252: (86, 25), 253: (86, 25), 254: (86, 25),
}


def png_bytes(img):
    buf = io.BytesIO()
    img.convert("RGB").save(buf, "PNG", optimize=True)
    return buf.getvalue()


def scaled_path(entry, dpi):
    name = os.path.splitext(os.path.basename(entry.path))[0]
    return f"bitmaps/{dpi}/{name}.png"


# The larger pictures' resource ids: IDB_PICTURES_144 and IDB_PICTURES_192 in
# resource.h, plus the 96-DPI picture's id.
SCALED_ID_BASE = {144: 10000, 192: 11000}
SCALED_RC = "scaled.rc"


def scaled_rc(entries):
    lines = [
        "// Written by generate.py: every bitmap at 144 and 192 DPI as PNG data,",
        "// under IDB_PICTURES_144 + id and IDB_PICTURES_192 + id (resource.h).",
        "",
    ]
    for dpi, _ in SCALES:
        for entry in entries:
            lines.append(f'{SCALED_ID_BASE[dpi] + entry.rid} RCDATA "art/{scaled_path(entry, dpi)}"')
    return ("\n".join(lines) + "\n").encode()


def render_scaled():
    """{path: bytes} of the 144 and 192 DPI pictures and the script naming them."""
    global SCALE
    out = {}
    bitmaps = [e for e in catalogue() if e.kind == "bitmap"]
    try:
        for dpi, scale in SCALES:
            SCALE = scale
            made = {}
            # A fresh catalogue: the shaped pair keeps its drawing per scale.
            bitmaps = [e for e in catalogue() if e.kind == "bitmap"]
            for entry in bitmaps:
                # The shaped pair is drawn once for both files.
                made[entry.rid] = entry.make()
            for entry in bitmaps:
                out[scaled_path(entry, dpi)] = png_bytes(made[entry.rid])
    finally:
        SCALE = 1.0
    out[SCALED_RC] = scaled_rc(bitmaps)
    return out


def render_all():
    """{entry: (bytes of the file, list of PIL images for the sheet)}"""
    out = {}
    for entry in catalogue():
        made = entry.make()
        if entry.kind == "bitmap":
            out[entry] = (bmp_bytes(made), [made])
        elif entry.kind == "icon":
            out[entry] = (icon_file(made), made)
        else:
            out[entry] = (icon_file(made, [hs for _, hs in CURSOR_IMAGES]), made)
    return out


def write_all(rendered, root, scaled_files=None):
    files = {entry.path: data for entry, (data, _) in rendered.items()}
    files.update(scaled_files or {})
    for name, data in files.items():
        path = os.path.join(root, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)


# ---------------------------------------------------------------------------
# Checks on the committed files
# ---------------------------------------------------------------------------
def read_icon_dir(data):
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    entries = []
    for i in range(count):
        w, h, _, _, a, b, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        bits = struct.unpack_from("<IiiHH", data, offset)
        entries.append({"w": w or 256, "h": h or 256, "a": a, "b": b, "bpp": bits[4],
                        "dib_w": bits[1], "dib_h": bits[2], "size": size, "offset": offset})
    return kind, entries


def check(root):
    problems = []
    for entry in catalogue():
        path = os.path.join(root, entry.path)
        if not os.path.exists(path):
            problems.append(f"{entry.path}: missing")
            continue
        with open(path, "rb") as f:
            data = f.read()
        if entry.kind == "bitmap":
            if data[:2] != b"BM" or struct.unpack_from("<H", data, 28)[0] != 24:
                problems.append(f"{entry.path}: not a 24-bit BMP")
                continue
            img = Image.open(io.BytesIO(data)).convert("RGB")
            if img.size != EXPECTED_SIZES[entry.rid]:
                problems.append(f"{entry.path}: {img.size}, expected {EXPECTED_SIZES[entry.rid]}")
            if entry.rid == 190:  # the mask, checked together with its picture
                problems += check_shaped(entry, img, root)
        else:
            kind, entries = read_icon_dir(data)
            if entry.kind == "icon":
                sizes = [(d["w"], d["h"]) for d in entries]
                if kind != 1 or sizes != [(s, s) for s in ICON_SIZES]:
                    problems.append(f"{entry.path}: sizes {sizes}")
                if any(d["bpp"] != 32 for d in entries):
                    problems.append(f"{entry.path}: not 32-bit with alpha")
            else:
                want = [(wh, hs) for wh, hs in CURSOR_IMAGES]
                got = [((d["w"], d["h"]), (d["a"], d["b"])) for d in entries]
                if kind != 2 or got != want:
                    problems.append(f"{entry.path}: entries {got}, expected {want}")
    return problems


def check_shaped(entry, img, root):
    """The shaped CANCEL button: magenta outside the shape in picture and mask
    alike, black inside the mask, and no magenta inside the picture."""
    problems = []
    mask_path = os.path.join(root, "bitmaps/upload_cancel_mask.bmp")
    pic_path = os.path.join(root, "bitmaps/upload_cancel.bmp")
    if not (os.path.exists(mask_path) and os.path.exists(pic_path)):
        return problems
    mask = Image.open(mask_path).convert("RGB")
    pic = Image.open(pic_path).convert("RGB")
    m, p = mask.load(), pic.load()
    for y in range(mask.height):
        for x in range(mask.width):
            if m[x, y] == MAGENTA:
                if p[x, y] != MAGENTA:
                    problems.append(f"{entry.path}: ({x},{y}) outside the shape is not magenta")
                    return problems
            elif m[x, y] != BLACK:
                problems.append(f"{entry.path}: mask pixel ({x},{y}) is neither black nor magenta")
                return problems
            elif p[x, y] == MAGENTA:
                problems.append(f"{entry.path}: ({x},{y}) inside the shape is magenta")
                return problems
    corners = [(0, 0), (mask.width - 1, 0), (0, mask.height - 1),
               (mask.width - 1, mask.height - 1)]
    if any(m[c] != MAGENTA for c in corners):
        problems.append(f"{entry.path}: the corners of the mask are not cut off")
    if m[mask.width // 2, mask.height // 2] != BLACK:
        problems.append(f"{entry.path}: the middle of the mask is not black")
    return problems


# ---------------------------------------------------------------------------
# Contact sheet
# ---------------------------------------------------------------------------
def checkerboard(w, h, cell=4):
    img = Image.new("RGB", (w, h), (255, 255, 255))
    d = ImageDraw.Draw(img)
    for y in range(0, h, cell):
        for x in range(0, w, cell):
            if (x // cell + y // cell) % 2:
                d.rectangle((x, y, x + cell - 1, y + cell - 1), fill=(214, 214, 214))
    return img


def column_preview(rendered):
    """The tool column as the main window lays it out (free space 10 px per gap)."""
    by_id = {e.rid: imgs[0] for e, (_, imgs) in rendered.items() if e.kind == "bitmap"}
    g = 10
    col_w = 200
    pw, ph = TOOLS_CARD
    height = 30 + 48 + g + ph + g + 89 + 5 + 29 + g + 189 + 5 + 10
    col = Image.new("RGB", (col_w, height), COLUMN)
    lg = by_id[137]
    col.paste(lg, ((col_w - lg.width) // 2, 30))
    px, py = (col_w - pw) // 2, 30 + lg.height + g
    col.paste(by_id[197], (px, py))
    order = [(200, 0, 0), (202, 1, 0), (205, 0, 1), (207, 1, 1), (210, 0, 2), (203, 1, 2)]
    for rid, cx, cy in order:
        col.paste(by_id[rid], (px + 18 + cx * 80, py + TOOLS_FIRST_ROW + cy * 72))
    col.paste(by_id[239], (px + 18, py + TOOLS_FIRST_ROW + 3 * 62 + 20 + 14))
    col.paste(by_id[240], (px + 98, py + TOOLS_FIRST_ROW + 3 * 62 + 20 + 14))
    cy = py + ph + g
    col.paste(by_id[195].crop((0, 0, 177, 89)), (px, cy))
    d = ImageDraw.Draw(col)
    swatches = [(255, 0, 10), (153, 0, 47), (255, 126, 0), (255, 194, 14), (255, 242, 0),
                (0, 0, 0), (168, 231, 29), (9, 120, 0), (0, 183, 240), (0, 32, 234),
                (46, 54, 153), (255, 255, 255)]
    for (x0, y0, x1, y1), c in zip(COLOR_SLOTS, [(255, 0, 10)] + swatches):
        d.rectangle((px + x0, cy + y0, px + x1 - 1, cy + y1 - 1), fill=c, outline=(0, 0, 0))
    zy = cy + 89 + 5
    col.paste(by_id[228], (px + 3, zy))
    col.paste(by_id[229], (px + 177 - 84 - 4, zy))
    sy = zy + 29 + g
    col.paste(by_id[196], (px, sy))
    f = font("sans", 11)
    d.text((px + 20 + 16, sy + 23), "Create TQ", font=f, fill=BLACK)
    d.ellipse((px + 21, sy + 25, px + 31, sy + 35), outline=(90, 90, 90), fill=WHITE)
    d.ellipse((px + 24, sy + 28, px + 28, sy + 32), fill=BLACK)
    d.text((px + 20 + 16, sy + 44), "Add to existing TQ", font=f, fill=BLACK)
    d.ellipse((px + 21, sy + 46, px + 31, sy + 56), outline=(90, 90, 90), fill=WHITE)
    d.rectangle((px + 33, sy + 68, px + 33 + 94, sy + 68 + 23), fill=WHITE,
                outline=(122, 122, 122))
    col.paste(by_id[242], (px + 18, sy + 104))
    col.paste(by_id[244], (px + 18, sy + 147))
    col.paste(by_id[246], (px + 18 + 140 - 68, sy + 147))
    return col


def contact_sheet(rendered, path):
    label_font = font("sans", 11)
    small = font("sans", 10)
    cells = []
    for entry, (_, images) in sorted(rendered.items(), key=lambda kv: kv[0].rid):
        if entry.kind == "bitmap":
            pics = images
        elif entry.kind == "icon":
            pics = []
            for im in images:
                bg = checkerboard(im.width + 8, im.height + 8)
                bg.paste(im, (4, 4), im)
                pics.append(bg)
        else:
            pics = []
            for im, (_, (hx, hy)) in zip(images, CURSOR_IMAGES):
                for ground in ((255, 255, 255), (40, 40, 40)):
                    bg = Image.new("RGB", (im.width + 8, im.height + 8), ground)
                    bg.paste(im, (4, 4), im)
                    ImageDraw.Draw(bg).point((4 + hx, 4 + hy), fill=(0, 200, 255))
                    pics.append(bg)
        w = sum(p.width for p in pics) + 6 * (len(pics) - 1)
        h = max(p.height for p in pics)
        sizes = " ".join(f"{im.width}x{im.height}" for im in images)
        label_w = max(text_width(f"{entry.kind} {entry.rid}  {sizes}", label_font),
                      text_width(entry.role, small))
        cells.append((entry, pics, max(w, round(label_w)), h, sizes))

    margin, gap, label_h = 16, 14, 30
    sheet_w = 1600
    x = y = margin
    row_h = 0
    placed = []
    for entry, pics, w, h, sizes in cells:
        if x + w > sheet_w - margin and x > margin:
            x = margin
            y += row_h + gap
            row_h = 0
        placed.append((x, y, entry, pics, sizes))
        x += w + gap
        row_h = max(row_h, h + label_h)
    preview_top = y + row_h + gap + 10
    preview = column_preview(rendered)
    sheet_h = preview_top + preview.height + 20
    sheet = Image.new("RGB", (sheet_w, sheet_h), (250, 250, 250))
    d = ImageDraw.Draw(sheet)
    for x, y, entry, pics, sizes in placed:
        px = x
        for p in pics:
            d.rectangle((px - 1, y - 1, px + p.width, y + p.height), outline=(200, 200, 200))
            sheet.paste(p, (px, y))
            px += p.width + 6
        h = max(p.height for p in pics)
        d.text((x, y + h + 3), f"{entry.kind} {entry.rid}  {sizes}", font=label_font, fill=BLACK)
        d.text((x, y + h + 16), entry.role, font=small, fill=(90, 90, 90))
    d.text((margin, preview_top - 4), "Tool column as laid out (1:1), on the window grey",
           font=label_font, fill=BLACK, anchor="ls")
    backdrop = Image.new("RGB", (preview.width + 40, preview.height), WINDOW)
    backdrop.paste(preview, (40, 0))
    sheet.paste(backdrop, (margin, preview_top))
    # Tool buttons enlarged 3x (nearest) to judge the pixels.
    zoom = 3
    cell = 62 * zoom + 4
    zx = margin + backdrop.width + 30
    d.text((zx, preview_top - 4), f"Tool buttons at {zoom}x", font=label_font, fill=BLACK,
           anchor="ls")
    by_id = {e.rid: imgs[0] for e, (_, imgs) in rendered.items() if e.kind == "bitmap"}
    for i, (normal, selected, *_rest) in enumerate(TOOLS):
        for j, rid in enumerate((normal, selected)):
            big = by_id[rid].resize((62 * zoom, 62 * zoom), Image.NEAREST)
            sheet.paste(big, (zx + (i % 3) * 2 * cell + j * cell, preview_top + (i // 3) * cell))
    sheet.save(path)


# ---------------------------------------------------------------------------
def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--sheet", metavar="PNG", help="also write a contact sheet")
    ap.add_argument("--check", action="store_true",
                    help="check the committed images instead of writing them")
    ap.add_argument("--out", default=HERE, help="where to write (default: beside this script)")
    args = ap.parse_args()

    if args.check:
        problems = check(args.out)
        with tempfile.TemporaryDirectory() as tmp:
            scaled_files = render_scaled()
            write_all(render_all(), tmp, scaled_files)
            problems += [f"generator: {p}" for p in check(tmp)]
            for name in [e.path for e in catalogue()] + list(scaled_files):
                a, b = os.path.join(tmp, name), os.path.join(args.out, name)
                if not os.path.exists(b):
                    problems.append(f"{name}: missing")
                elif open(a, "rb").read() != open(b, "rb").read():
                    problems.append(f"{name}: differs from what the generator draws now")
        for p in problems:
            print(p)
        print("ok" if not problems else f"{len(problems)} problem(s)")
        return 1 if problems else 0

    rendered = render_all()
    write_all(rendered, args.out, render_scaled())
    if args.sheet:
        contact_sheet(rendered, args.sheet)
    return 0


if __name__ == "__main__":
    sys.exit(main())
