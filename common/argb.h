// Colours: the program stores Windows colour values (0x00BBGGRR); GDI+ draws
// 32-bit ARGB.
#pragma once

#include <cstdint>

#include <windows.h>

// The colour drawn opaque: 0xFF000000 + red * 65536 + green * 256 + blue.
constexpr std::uint32_t OpaqueArgb(COLORREF color) noexcept {
    return 0xFF000000u | (static_cast<std::uint32_t>(GetRValue(color)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(color)) << 8) |
           static_cast<std::uint32_t>(GetBValue(color));
}
