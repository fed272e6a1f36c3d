// The program's pictures at the scale a window is shown with. Each bitmap
// resource is drawn at 96, 144 and 192 DPI; the larger two are PNG data under
// ids of their own (see IDB_PICTURES_144 in resource.h).
#pragma once

#include "common/picture_dpi.h"
#include "framework/handles.h"

#include <windows.h>

#include <map>
#include <utility>

// Bitmap resource id at pictureDpi: as drawn at 96, 144 and 192, between and
// below those the next larger drawing made smaller; the 96-DPI picture when
// the larger one is missing.
fw::GdiBitmap LoadPicture(UINT id, UINT pictureDpi);

// Gives a picture control (SS_BITMAP) a picture that held keeps alive: the
// control does not own what it is given, though it owns the picture it
// loaded from its template, which goes. A null picture changes nothing.
// https://learn.microsoft.com/en-us/windows/win32/controls/stm-setimage
void SetStaticPicture(HWND control, fw::GdiBitmap picture, fw::GdiBitmap& held);

// Pictures decoded once and handed out as copies, for a window that sets the
// same pictures again and again (tool buttons on every tool change).
class PictureCache {
public:
    // A copy the caller owns; null when the picture does not exist.
    fw::GdiBitmap Get(UINT id, UINT pictureDpi);
    // The picture's size, without a copy; {0, 0} when it does not exist.
    SIZE SizeOf(UINT id, UINT pictureDpi);
    void Clear() noexcept { m_pictures.clear(); }

private:
    const fw::GdiBitmap& Find(UINT id, UINT pictureDpi);

    std::map<std::pair<UINT, UINT>, fw::GdiBitmap> m_pictures;
};
