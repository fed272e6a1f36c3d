// The blend touches no pixel outside the rectangle where the placed source,
// the clip and the target meet; inside it, a transparent source pixel leaves
// the target as it was and an opaque one replaces it.
#include "canvas/pixel_blend.h"
#include "portable/support/fuzz_input.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <vector>

namespace {

// A coordinate near the target, or now and then one near the ends of int.
int Coordinate(FuzzInput& input) {
    const std::uint8_t kind = input.Byte();
    const int offset = static_cast<int>(input.Below(64)) - 32;
    if (kind % 8 == 0)
        return INT_MAX - 32 + (offset + 32) / 2;
    if (kind % 8 == 1)
        return INT_MIN + 32 + offset;
    return offset;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const int width = static_cast<int>(input.Below(24));
    const int height = static_cast<int>(input.Below(24));
    const int sourceWidth = static_cast<int>(input.Below(24));
    const int sourceHeight = static_cast<int>(input.Below(24));
    const int atX = Coordinate(input);
    const int atY = Coordinate(input);
    const Rect clip{Coordinate(input), Coordinate(input), Coordinate(input), Coordinate(input)};

    std::vector<std::uint32_t> source(static_cast<size_t>(sourceWidth * sourceHeight));
    for (std::uint32_t& pixel : source) {
        // Premultiplied: no channel above alpha.
        const std::uint32_t alpha =
            std::array<std::uint32_t, 4>{0, 255, 128, input.Byte()}[input.Byte() % 4];
        pixel = alpha << 24;
        for (int shift = 0; shift < 24; shift += 8)
            pixel |= (alpha == 0 ? 0 : input.Byte() % (alpha + 1)) << shift;
    }
    std::vector<std::uint32_t> target(static_cast<size_t>(width * height));
    for (size_t i = 0; i < target.size(); ++i)
        target[i] = 0xFF000000u | static_cast<std::uint32_t>(i * 2654435761u >> 8);
    const std::vector<std::uint32_t> before = target;

    BlendPremultiplied({target.data(), width, height}, {source.data(), sourceWidth, sourceHeight},
                       atX, atY, clip);

    const auto inside = [&](std::int64_t x, std::int64_t y) {
        return x >= atX && x < std::int64_t{atX} + sourceWidth && y >= atY &&
               y < std::int64_t{atY} + sourceHeight && x >= clip.left && x < clip.right &&
               y >= clip.top && y < clip.bottom;
    };
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const size_t at = static_cast<size_t>(y * width + x);
            if (!inside(x, y)) {
                FUZZ_REQUIRE(target[at] == before[at]);
                continue;
            }
            const std::uint32_t s =
                source[static_cast<size_t>((y - atY) * sourceWidth + (x - atX))];
            if (s >> 24 == 0)
                FUZZ_REQUIRE(target[at] == before[at]);
            else if (s >> 24 == 255)
                FUZZ_REQUIRE(target[at] == s);
            else
                FUZZ_REQUIRE(target[at] >> 24 == 255); // over an opaque target, opaque
        }
    }
    return 0;
}
