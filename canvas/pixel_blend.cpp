#include "canvas/pixel_blend.h"

#include <algorithm>
#include <cstddef>

namespace {

// Each channel of the source plus what it leaves of the destination's,
// rounded.
std::uint32_t SourceOver(std::uint32_t s, std::uint32_t d) noexcept {
    const std::uint32_t keep = 255 - (s >> 24);
    std::uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const std::uint32_t blended =
            ((s >> shift) & 0xFF) + (((d >> shift) & 0xFF) * keep + 127) / 255;
        out |= std::min<std::uint32_t>(blended, 255) << shift;
    }
    return out;
}

} // namespace

void BlendPremultiplied(PixelArray<std::uint32_t> target, PixelArray<const std::uint32_t> source,
                        int atX, int atY, const Rect& clip) noexcept {
    if (!target.pixels || !source.pixels || source.width <= 0 || source.height <= 0)
        return;
    // In 64 bits: a position near the end of int plus a width does not wrap.
    const std::int64_t left = std::max<std::int64_t>({atX, clip.left, 0});
    const std::int64_t top = std::max<std::int64_t>({atY, clip.top, 0});
    const std::int64_t right =
        std::min<std::int64_t>({std::int64_t{atX} + source.width, clip.right, target.width});
    const std::int64_t bottom =
        std::min<std::int64_t>({std::int64_t{atY} + source.height, clip.bottom, target.height});
    for (std::int64_t y = top; y < bottom; ++y) {
        const std::uint32_t* from =
            source.pixels + static_cast<std::ptrdiff_t>((y - atY) * source.width + (left - atX));
        std::uint32_t* to = target.pixels + static_cast<std::ptrdiff_t>(y * target.width + left);
        for (std::int64_t x = left; x < right; ++x, ++from, ++to) {
            const std::uint32_t s = *from;
            const std::uint32_t alpha = s >> 24;
            if (alpha == 0)
                continue;
            *to = alpha == 255 ? s : SourceOver(s, *to);
        }
    }
}
