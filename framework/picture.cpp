#include "framework/picture.h"

#include "framework/application.h"
#include "framework/gdiplus.h"

#include <shlwapi.h>

namespace fw {

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
    GdiplusSession gdiplus;
    if (!stream || !gdiplus.Start())
        return {};
    Gdiplus::GpBitmap* decoded = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromStream(stream.get(), &decoded) != Gdiplus::Ok)
        return {};
    const UniqueHandle<Gdiplus::GpBitmap*, decltype(&Gdiplus::DllExports::GdipDisposeImage),
                       Gdiplus::DllExports::GdipDisposeImage>
        owner(decoded);
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

BITMAPINFO TopDownDibFormat(int width, int height) noexcept {
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height; // top row first
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    return format;
}

} // namespace fw
