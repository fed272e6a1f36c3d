#include "common/pictures.h"

#include "framework/picture.h"

#include "resource.h"

UINT NearestPictureDpi(UINT dpi) noexcept {
    if (dpi <= 120)
        return 96;
    if (dpi <= 168)
        return 144;
    return 192;
}

fw::GdiBitmap LoadPicture(UINT id, UINT pictureDpi) {
    const UINT base =
        pictureDpi >= 192 ? IDB_PICTURES_192 : (pictureDpi >= 144 ? IDB_PICTURES_144 : 0);
    if (base != 0) {
        if (fw::GdiBitmap scaled = fw::LoadPngResource(nullptr, base + id))
            return scaled;
    }
    return fw::LoadBitmapResource(nullptr, id);
}

void SetStaticPicture(HWND control, fw::GdiBitmap picture, fw::GdiBitmap& held) {
    if (!control || !picture)
        return;
    HBITMAP previous = reinterpret_cast<HBITMAP>(::SendMessageW(
        control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.get())));
    if (previous && previous != held.get() && previous != picture.get())
        ::DeleteObject(previous);
    held = std::move(picture);
}

fw::GdiBitmap PictureCache::Get(UINT id, UINT pictureDpi) {
    if (id == 0)
        return {};
    const auto key = std::make_pair(id, NearestPictureDpi(pictureDpi));
    auto found = m_pictures.find(key);
    if (found == m_pictures.end())
        found = m_pictures.emplace(key, LoadPicture(id, key.second)).first;
    if (!found->second)
        return {};
    return fw::GdiBitmap(
        static_cast<HBITMAP>(::CopyImage(found->second.get(), IMAGE_BITMAP, 0, 0, 0)));
}
