// Pictures stored as resources: 24-bit bitmaps, or PNG data (RT_RCDATA)
// that GDI+ decodes into a bitmap.
#pragma once

#include "framework/handles.h"

#include <windows.h>

namespace fw {

// The bitmap resource id of instance (this program's when null); null when
// there is none.
GdiBitmap LoadBitmapResource(HINSTANCE instance, UINT id);
// The PNG in RT_RCDATA resource id, decoded into a 32-bit bitmap with its
// alpha dropped (our pictures are opaque); null when there is none or it
// cannot be decoded.
GdiBitmap LoadPngResource(HINSTANCE instance, UINT id);

// A new opaque bitmap of the given size with the picture smoothly scaled
// onto it; null when it cannot be made.
GdiBitmap ScaleBitmap(HBITMAP bitmap, SIZE size);

// A bitmap's size in pixels; {0, 0} for none.
SIZE BitmapSize(HBITMAP bitmap) noexcept;

// The format of a 32-bit top-down DIB of that size (BI_RGB, no colour
// table: the top byte of each pixel is unused), for CreateDIBSection and
// GetDIBits.
BITMAPINFO TopDownDibFormat(int width, int height) noexcept;

} // namespace fw
