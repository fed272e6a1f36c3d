// A text box's text laid out once, in image pixels: its lines as the box's
// editor wrapped them, where each character of a line starts, and the height
// the lines need. The screen at every zoom and the flattened picture draw
// this one layout through their transform, so that they show the lines the
// user typed, none cut and none wrapped anew.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

#include "controls/window_text.h"

// The height of one line of text in the font (what an edit control gives a
// line).
int LineHeightOf(HFONT font);

class CTextLayout {
public:
    struct Line {
        // As drawn: a tab is drawn as a space stretched to the next stop.
        std::wstring text;
        // The advance of each character, in image pixels.
        std::vector<INT> advances;
    };

    CTextLayout() = default;
    // The lines as the editor shows them, in the font the editor uses. Where
    // a line comes without the places of its characters, they are measured
    // in the font at the resolution of the screen (the editor's, and that of
    // image pixels).
    CTextLayout(HFONT font, const std::vector<EditLine>& lines);

    const std::vector<Line>& Lines() const noexcept { return m_lines; }
    int LineHeight() const noexcept { return m_lineHeight; }
    // The height the lines need.
    int Height() const noexcept { return static_cast<int>(m_lines.size()) * m_lineHeight; }

    // Draws the lines, the first with its top left at the box's, cut at the
    // box, in the font and text colour selected into dc. Whatever world
    // transform dc has applies; each character is placed where the layout
    // puts it, so that a line keeps its length at every scale.
    void Draw(HDC dc, const RECT& box) const;

private:
    std::vector<Line> m_lines;
    int m_lineHeight = 0;
};
