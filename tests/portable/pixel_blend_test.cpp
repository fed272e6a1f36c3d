#include "canvas/pixel_blend.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

constexpr std::uint32_t kBackground = 0xFF204080;

struct Target {
    std::vector<std::uint32_t> pixels = std::vector<std::uint32_t>(4 * 3, kBackground);
    PixelArray<std::uint32_t> Array() { return {pixels.data(), 4, 3}; }
    std::uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y * 4 + x)]; }
};

TEST(PixelBlend, BlendsSourceOverWithinTheClipOnly) {
    // Opaque, transparent, half-covering white and half-covering black.
    const std::vector<std::uint32_t> source{0xFF112233, 0x00FFFFFF, 0x80808080, 0x80000000};
    Target target;
    BlendPremultiplied(target.Array(), {source.data(), 2, 2}, 1, 1, {0, 0, 4, 3});
    EXPECT_EQ(target.At(1, 1), 0xFF112233u);
    EXPECT_EQ(target.At(2, 1), kBackground);
    // 0x80 + 0x20 * 127 / 255 rounded, channel by channel; alpha stays full.
    EXPECT_EQ(target.At(1, 2), 0xFF90A0C0u);
    EXPECT_EQ(target.At(2, 2), 0xFF102040u);
    EXPECT_EQ(target.At(0, 0), kBackground);

    // The clip, the target's edges and any position, however far out.
    const std::vector<std::uint32_t> opaque(9, 0xFFFFFFFF);
    Target clipped;
    BlendPremultiplied(clipped.Array(), {opaque.data(), 3, 3}, -1, -1, {1, 0, 3, 3});
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(clipped.At(x, y), x >= 1 && x < 2 && y < 2 ? 0xFFFFFFFF : kBackground)
                << x << "," << y;
    }
    Target far;
    BlendPremultiplied(far.Array(), {opaque.data(), 3, 3}, INT_MAX - 1, INT_MIN,
                       {INT_MIN, INT_MIN, INT_MAX, INT_MAX});
    EXPECT_EQ(far.pixels, Target().pixels);
}

} // namespace
