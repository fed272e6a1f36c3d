// A rectangle in pixels, its right and bottom edges outside it (as GDI's
// RECT), for the window-free units; the window code converts at its edge
// (app/window_geometry.h).
#pragma once

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const noexcept { return right - left; }
    int Height() const noexcept { return bottom - top; }
    // No pixel inside.
    bool IsEmpty() const noexcept { return right <= left || bottom <= top; }
};
