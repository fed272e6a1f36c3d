// The scales the program's pictures are drawn at, as plain arithmetic.
#pragma once

// The picture DPI drawn that comes nearest to dpi (a tie takes the smaller,
// so that a picture never outgrows the lengths the window's DPI gives it).
constexpr unsigned NearestPictureDpi(unsigned dpi) noexcept {
    if (dpi <= 120)
        return 96;
    if (dpi <= 168)
        return 144;
    return 192;
}
