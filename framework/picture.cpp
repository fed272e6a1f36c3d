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

GdiBitmap ScaleBitmap(HBITMAP bitmap, SIZE size) {
    using namespace Gdiplus::DllExports;
    GdiplusScope gdiplus;
    if (!bitmap || size.cx <= 0 || size.cy <= 0 || !gdiplus)
        return {};
    const SIZE from = BitmapSize(bitmap);
    Gdiplus::GpBitmap* source = nullptr;
    if (GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &source) != Gdiplus::Ok)
        return {};
    const std::unique_ptr<Gdiplus::GpBitmap, GpBitmapDeleter> sourceOwner(source);
    Gdiplus::GpBitmap* target = nullptr;
    if (GdipCreateBitmapFromScan0(size.cx, size.cy, 0, PixelFormat32bppRGB, nullptr, &target) !=
        Gdiplus::Ok)
        return {};
    const std::unique_ptr<Gdiplus::GpBitmap, GpBitmapDeleter> targetOwner(target);
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

} // namespace fw
