// The text of a box drawn over a graphics: laid out by GDI's DrawTextW through
// the graphics' own transform, at the target's resolution, in one colour.
//
// GDI knows nothing of the graphics' transform, and its anti-aliasing blends
// with what the device context holds, which for a graphics over a bitmap is
// not the picture (Wine hands out a scratch bitmap). So the text is laid out
// black on white in a bitmap of ours (the box is white: edges come out as
// they would on it), and that coverage becomes the alpha of the colour, drawn
// pixel for pixel onto the target.
//
// Laying text out costs far more than drawing the result, and a paint asks
// for the same text again and again (every tile the box crosses, every
// scroll, every repaint of other items near it). So the result is kept and
// drawn again while the text, its font, colour, box and scale stay; a scroll
// moves the view by whole pixels and keeps it too.
#pragma once

#include <array>
#include <string>

#include <windows.h>

#include "canvas/gdiplus_objects.h"
#include "canvas/pixel_buffer.h"

class CTextInk {
public:
    // Draws the text word-wrapped in the rectangle (in world coordinates)
    // with the font, which is in world units as well.
    void Draw(gfx::Graphics& graphics, const RECT& rect, const std::wstring& text, HFONT font,
              COLORREF color);

private:
    // What the laid-out text depends on. The transform's offset counts only
    // in its fraction of a pixel: whole pixels move the result unchanged.
    struct Key {
        std::wstring text;
        HFONT font = nullptr;
        COLORREF color = 0;
        RECT rect{};
        std::array<float, 4> scale{};
        float fractionX = 0.0f;
        float fractionY = 0.0f;
        bool operator==(const Key& other) const;
    };

    // Lays the text out into a new bitmap covering the target rectangle.
    static CPixelBuffer LayOut(const float (&world)[6], const RECT& target, const Key& key);

    Key m_key;
    // The text laid out for the key: the size of the box in target pixels.
    CPixelBuffer m_ink;
};
