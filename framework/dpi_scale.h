// Lengths at the DPI a window is shown with, as plain arithmetic. Every pixel
// length the program chooses itself (not one measured from a real window) is
// written for 96 DPI and goes through here. Points and rectangles are any
// type with x and y, or left, top, right and bottom, members: POINT and RECT
// in the window code, the layout's own types elsewhere.
#pragma once

namespace fw {

inline constexpr unsigned kDefaultDpi = 96; // "100 %"

namespace dpi_detail {

// value * numerator / denominator, rounded to the nearest integer, halves
// away from zero; value itself for a denominator of 0.
constexpr int MulDivRounded(int value, unsigned numerator, unsigned denominator) noexcept {
    if (denominator == 0)
        return value;
    // 64-bit: a screen coordinate times a DPI fits easily.
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    const long long rounded =
        product >= 0 ? (product + half) / denominator : -((-product + half) / denominator);
    return static_cast<int>(rounded);
}

} // namespace dpi_detail

template <class T>
concept PointLike = requires(T point) {
    point.x;
    point.y;
};

template <class T>
concept RectLike = requires(T rect) {
    rect.left;
    rect.top;
    rect.right;
    rect.bottom;
};

// A length written for 96 DPI, at dpi; rounded to the nearest pixel, halves
// away from zero, so that a length and its negation stay symmetric.
constexpr int Scale(int length, unsigned dpi) noexcept {
    return dpi_detail::MulDivRounded(length, dpi, kDefaultDpi);
}

// The inverse: a length measured at dpi, at 96 DPI.
constexpr int Unscale(int length, unsigned dpi) noexcept {
    return dpi_detail::MulDivRounded(length, kDefaultDpi, dpi);
}

template <PointLike Point> constexpr Point Scale(Point point, unsigned dpi) noexcept {
    point.x = Scale(static_cast<int>(point.x), dpi);
    point.y = Scale(static_cast<int>(point.y), dpi);
    return point;
}

template <PointLike Point> constexpr Point Unscale(Point point, unsigned dpi) noexcept {
    point.x = Unscale(static_cast<int>(point.x), dpi);
    point.y = Unscale(static_cast<int>(point.y), dpi);
    return point;
}

// Each edge on its own, so that rectangles laid edge to edge stay so.
template <RectLike Rect> constexpr Rect Scale(Rect rect, unsigned dpi) noexcept {
    rect.left = Scale(static_cast<int>(rect.left), dpi);
    rect.top = Scale(static_cast<int>(rect.top), dpi);
    rect.right = Scale(static_cast<int>(rect.right), dpi);
    rect.bottom = Scale(static_cast<int>(rect.bottom), dpi);
    return rect;
}

template <RectLike Rect> constexpr Rect Unscale(Rect rect, unsigned dpi) noexcept {
    rect.left = Unscale(static_cast<int>(rect.left), dpi);
    rect.top = Unscale(static_cast<int>(rect.top), dpi);
    rect.right = Unscale(static_cast<int>(rect.right), dpi);
    rect.bottom = Unscale(static_cast<int>(rect.bottom), dpi);
    return rect;
}

} // namespace fw
