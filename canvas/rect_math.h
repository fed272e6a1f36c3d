// Rectangle arithmetic the canvas shares, on RECTs as GDI defines them (right
// and bottom exclusive).
#pragma once

#include <windows.h>

inline int RectWidth(const RECT& r) noexcept {
    return r.right - r.left;
}

inline int RectHeight(const RECT& r) noexcept {
    return r.bottom - r.top;
}

// The common part of two rectangles; empty (all zero) when they do not meet.
inline RECT Intersection(const RECT& a, const RECT& b) noexcept {
    RECT result{};
    if (!::IntersectRect(&result, &a, &b))
        return RECT{};
    return result;
}

inline bool MeetsRect(const RECT& a, const RECT& b) noexcept {
    RECT common{};
    return ::IntersectRect(&common, &a, &b) != FALSE;
}
