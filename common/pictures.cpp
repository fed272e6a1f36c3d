#include "common/pictures.h"

#include "framework/dpi.h"
#include "framework/picture.h"

#include "resource.h"

namespace {

// The drawn scale a picture at pictureDpi is made from: the smallest drawn
// one at least as large, or the largest.
UINT DrawnPictureDpi(UINT pictureDpi) noexcept {
    if (pictureDpi <= 96)
        return 96;
    return pictureDpi <= 144 ? 144 : 192;
}

} // namespace

fw::GdiBitmap LoadPicture(UINT id, UINT pictureDpi) {
    UINT drawn = DrawnPictureDpi(pictureDpi);
    fw::GdiBitmap picture;
    if (drawn != 96)
        picture =
            fw::LoadPngResource(nullptr, (drawn == 192 ? IDB_PICTURES_192 : IDB_PICTURES_144) + id);
    if (!picture) {
        drawn = 96;
        picture = fw::LoadBitmapResource(nullptr, id);
    }
    // Never made larger than drawn.
    if (!picture || pictureDpi >= drawn)
        return picture;
    // Between the drawn scales, or below the smallest: the next larger
    // drawing made smaller, to the size the 96-DPI drawing has at pictureDpi.
    const SIZE size = fw::BitmapSize(picture.get());
    const SIZE scaled{fw::Scale(fw::Unscale(size.cx, drawn), pictureDpi),
                      fw::Scale(fw::Unscale(size.cy, drawn), pictureDpi)};
    if (fw::GdiBitmap smaller = fw::ScaleBitmap(picture.get(), scaled))
        return smaller;
    return picture;
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

const fw::GdiBitmap& PictureCache::Find(UINT id, UINT pictureDpi) {
    static const fw::GdiBitmap none;
    if (id == 0)
        return none;
    const auto key = std::make_pair(id, pictureDpi);
    auto found = m_pictures.find(key);
    if (found == m_pictures.end())
        found = m_pictures.emplace(key, LoadPicture(id, pictureDpi)).first;
    return found->second;
}

fw::GdiBitmap PictureCache::Get(UINT id, UINT pictureDpi) {
    const fw::GdiBitmap& picture = Find(id, pictureDpi);
    if (!picture)
        return {};
    return fw::GdiBitmap(static_cast<HBITMAP>(::CopyImage(picture.get(), IMAGE_BITMAP, 0, 0, 0)));
}

SIZE PictureCache::SizeOf(UINT id, UINT pictureDpi) {
    return fw::BitmapSize(Find(id, pictureDpi).get());
}
