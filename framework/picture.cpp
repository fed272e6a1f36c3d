#include "framework/picture.h"

#include "framework/application.h"

#include <algorithm>
#include <memory>

#include <objidl.h>
#include <shlwapi.h>

// The platform's GDI+ headers expect the min and max macros that NOMINMAX
// removes.
namespace Gdiplus {
using std::max;
using std::min;
} // namespace Gdiplus
#include <gdiplus.h>

namespace fw {

namespace {

struct GpBitmapDeleter {
    void operator()(Gdiplus::GpBitmap* bitmap) const noexcept {
        Gdiplus::DllExports::GdipDisposeImage(bitmap);
    }
};

} // namespace

GdiplusScope::GdiplusScope() {
    Gdiplus::GdiplusStartupInput input; // version 1, no debug callback
    m_ok = Gdiplus::GdiplusStartup(&m_token, &input, nullptr) == Gdiplus::Ok;
}

GdiplusScope::~GdiplusScope() {
    if (m_ok)
        Gdiplus::GdiplusShutdown(m_token);
}

GdiBitmap LoadBitmapResource(HINSTANCE instance, UINT id) {
    if (id == 0)
        return {};
    return GdiBitmap(static_cast<HBITMAP>(::LoadImageW(instance ? instance : ResourceInstance(),
                                                       MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0,
                                                       LR_DEFAULTCOLOR)));
}

GdiBitmap LoadPngResource(HINSTANCE instance, UINT id) {
    if (!instance)
        instance = ResourceInstance();
    HRSRC found =
        ::FindResourceW(instance, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10)); // RT_RCDATA
    if (!found)
        return {};
    HGLOBAL loaded = ::LoadResource(instance, found);
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    const DWORD size = ::SizeofResource(instance, found);
    if (!data || size == 0)
        return {};
    Stream stream(::SHCreateMemStream(static_cast<const BYTE*>(data), size));
    GdiplusScope gdiplus;
    if (!stream || !gdiplus)
        return {};
    Gdiplus::GpBitmap* decoded = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromStream(stream.get(), &decoded) != Gdiplus::Ok)
        return {};
    const std::unique_ptr<Gdiplus::GpBitmap, GpBitmapDeleter> owner(decoded);
    HBITMAP bitmap = nullptr;
    // Opaque pictures: the background colour never shows.
    if (Gdiplus::DllExports::GdipCreateHBITMAPFromBitmap(decoded, &bitmap, 0xFF000000) !=
        Gdiplus::Ok)
        return {};
    return GdiBitmap(bitmap);
}

SIZE BitmapSize(HBITMAP bitmap) noexcept {
    BITMAP info{};
    if (!bitmap || ::GetObjectW(bitmap, sizeof(info), &info) != sizeof(info))
        return {0, 0};
    return {info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

} // namespace fw
