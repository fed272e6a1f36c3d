// Window shapes cut from mask pictures: every pixel that is not the key
// colour, magenta, belongs to the shape.
#pragma once

#include "framework/handles.h"

#include <windows.h>

#include <cstdint>
#include <vector>

inline constexpr COLORREF kMaskKeyColor = RGB(255, 0, 255);

// The shape of a block of top-down pixels (0x00RRGGBB, the layout of a
// 32-bit BI_RGB DIB; the top byte is ignored): one rectangle one pixel high
// for every maximal horizontal run of non-key pixels. A run ends at the end
// of its row.
std::vector<RECT> MaskRuns(const std::uint32_t* pixels, int width, int height);

// The union of rectangles as a region (an empty region for none).
fw::GdiRegion RegionFromRects(const std::vector<RECT>& rects);

// The shape of a mask bitmap; an empty owner when the bitmap cannot be read.
fw::GdiRegion RegionFromMask(HBITMAP mask);
