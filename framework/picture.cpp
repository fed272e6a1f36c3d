#include "framework/picture.h"

#include "framework/application.h"
#include "framework/gdiplus.h"

#include <shlwapi.h>

namespace fw {

namespace {

using GpBitmapOwner =
    UniqueHandle<Gdiplus::GpBitmap*, decltype(&Gdiplus::DllExports::GdipDisposeImage),
                 Gdiplus::DllExports::GdipDisposeImage>;

} // namespace

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
    const GpBitmapOwner owner(decoded);
    HBITMAP bitmap = nullptr;
    // Opaque pictures: the background colour never shows.
    if (Gdiplus::DllExports::GdipCreateHBITMAPFromBitmap(decoded, &bitmap, 0xFF000000) !=
        Gdiplus::Ok)
        return {};
    return GdiBitmap(bitmap);
}

GdiBitmap ScaleBitmap(HBITMAP bitmap, SIZE size) {
    using namespace Gdiplus::DllExports;
    GdiplusSession gdiplus;
    if (!bitmap || size.cx <= 0 || size.cy <= 0 || !gdiplus.Start())
        return {};
    const SIZE from = BitmapSize(bitmap);
    Gdiplus::GpBitmap* source = nullptr;
    if (GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &source) != Gdiplus::Ok)
        return {};
    const GpBitmapOwner sourceOwner(source);
    Gdiplus::GpBitmap* target = nullptr;
    if (GdipCreateBitmapFromScan0(size.cx, size.cy, 0, PixelFormat32bppRGB, nullptr, &target) !=
        Gdiplus::Ok)
        return {};
    const GpBitmapOwner targetOwner(target);
    Gdiplus::GpGraphics* graphics = nullptr;
    if (GdipGetImageGraphicsContext(target, &graphics) != Gdiplus::Ok)
        return {};
    // Each target pixel an average of the source pixels under it; mirrored
    // at the edges so that the border keeps its colour.
    GdipSetInterpolationMode(graphics, Gdiplus::InterpolationModeHighQualityBicubic);
    GdipSetPixelOffsetMode(graphics, Gdiplus::PixelOffsetModeHalf);
    Gdiplus::GpImageAttributes* attributes = nullptr;
    GdipCreateImageAttributes(&attributes);
    GdipSetImageAttributesWrapMode(attributes, Gdiplus::WrapModeTileFlipXY, 0, FALSE);
    GdipDrawImageRectRectI(graphics, source, 0, 0, size.cx, size.cy, 0, 0, from.cx, from.cy,
                           Gdiplus::UnitPixel, attributes, nullptr, nullptr);
    GdipDisposeImageAttributes(attributes);
    GdipDeleteGraphics(graphics);
    HBITMAP scaled = nullptr;
    if (GdipCreateHBITMAPFromBitmap(target, &scaled, 0xFF000000) != Gdiplus::Ok)
        return {};
    return GdiBitmap(scaled);
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
