// One axis of a scrolled view: content longer than the page that shows it,
// and where the page starts on it. Free of windows, so that the scroll bars,
// the wheel and the canvas move by the same rules.
#pragma once

#include <windows.h>

struct ScrollAxis {
    int content = 0;  // length of what is scrolled
    int page = 0;     // length shown at once
    int position = 0; // the content's pixel at the start of the page

    // The last position that still fills the page; 0 when everything shows.
    int MaxPosition() const noexcept;
    // Never before the content's start nor past its end.
    int Clamp(int wanted) const noexcept;
    // What an arrow click moves: a twentieth of the page, at least a pixel.
    int LineStep() const noexcept;
    // Where a scroll bar's code (SB_LINEUP to SB_ENDSCROLL) moves the page;
    // track is the thumb's position for SB_THUMBTRACK and SB_THUMBPOSITION.
    // Codes that move nothing keep the position.
    int AfterScrollCode(int code, int track) const noexcept;
    // Where wheel rotation moves the page. delta in WHEEL_DELTA units,
    // positive towards the start (wheel turned away from the user);
    // linesPerNotch as SPI_GETWHEELSCROLLLINES gives it (WHEEL_PAGESCROLL:
    // a page per notch).
    int AfterWheel(int delta, UINT linesPerNotch) const noexcept;
    // For SetScrollInfo: range 0 to content - 1, the page, the position.
    SCROLLINFO ToScrollInfo() const noexcept;
};
