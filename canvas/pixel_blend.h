// Blending a picture whose alpha is premultiplied over another, on plain
// arrays of 32-bit pixels (0xAARRGGBB, rows after each other without gaps).
#pragma once

#include "common/rect.h"

#include <cstdint>

// The pixels of a picture; `pixels` holds width * height of them.
template <typename Pixel> struct PixelArray {
    Pixel* pixels = nullptr;
    int width = 0;
    int height = 0;
};

// Source over: blends source over target with the source's first pixel at
// (atX, atY) of the target, within clip and the target only. Fully
// transparent source pixels cost next to nothing: the pixels a line or a
// frame leaves around itself are skipped, not blended. Any position and
// size may be given: what lies outside is left alone, without overflow.
void BlendPremultiplied(PixelArray<std::uint32_t> target, PixelArray<const std::uint32_t> source,
                        int atX, int atY, const Rect& clip) noexcept;
