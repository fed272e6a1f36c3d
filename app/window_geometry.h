// Rectangles of the main window's children, as its parts measure and move
// them: where the layout's own rectangles meet the windows' RECTs.
#pragma once

#include "app/main_layout.h"

#include <windows.h>

// A child's rectangle in its parent's client coordinates.
inline RECT WindowRectIn(HWND parent, HWND child) {
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

inline RECT ToRECT(const Rect& rect) {
    return RECT{rect.left, rect.top, rect.right, rect.bottom};
}

inline Rect ToRect(const RECT& rect) {
    return Rect{static_cast<int>(rect.left), static_cast<int>(rect.top),
                static_cast<int>(rect.right), static_cast<int>(rect.bottom)};
}

// A child's rectangle in its parent's client coordinates, as the layout
// takes it.
inline Rect LayoutRectIn(HWND parent, HWND child) {
    return ToRect(WindowRectIn(parent, child));
}

// {0, 0} for a window that does not exist.
inline Size SizeOf(HWND window) {
    if (!window || !::IsWindow(window))
        return {};
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

inline void MoveTo(HWND window, const Rect& rect) {
    if (window)
        ::MoveWindow(window, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                     TRUE);
}
