// Owners for the GDI+ objects the canvas draws, hit-tests and encodes with,
// over the flat interface. Each object records the status of its last failed
// call and otherwise ignores it: a failing call leaves the drawing incomplete
// and the caller goes on with the next one.
#pragma once

#include <cstdint>

#include <windows.h>

#include "framework/gdiplus.h"
#include "framework/handles.h"

namespace gfx {

namespace api = Gdiplus::DllExports;
using Status = Gdiplus::GpStatus;
using Argb = Gdiplus::ARGB;

using fw::GdiplusSession;

// Move-only owner of one GDI+ object with its recorded status; Delete is the
// flat function that frees it.
template <typename T, typename DeleteFunction, DeleteFunction Delete> class Object {
public:
    Object() noexcept = default;
    explicit Object(T* object) noexcept : m_object(object) {}

    T* get() const noexcept { return m_object.get(); }
    explicit operator bool() const noexcept { return static_cast<bool>(m_object); }
    void reset(T* object = nullptr) noexcept { m_object.reset(object); }

    // The status of the last call on this object that failed, or Ok.
    Status LastStatus() const noexcept { return m_status; }

protected:
    Status Record(Status status) const noexcept {
        if (status != Gdiplus::Ok)
            m_status = status;
        return status;
    }
    // Creating calls: the status of the creation is the object's first.
    template <typename Create> void CreateWith(Create&& create) {
        T* object = nullptr;
        Status status = create(&object);
        reset(status == Gdiplus::Ok ? object : nullptr);
        m_status = status;
    }

private:
    fw::UniqueHandle<T*, DeleteFunction, Delete> m_object;
    mutable Status m_status = Gdiplus::Ok;
};

class Matrix
    : public Object<Gdiplus::GpMatrix, decltype(&api::GdipDeleteMatrix), api::GdipDeleteMatrix> {
public:
    Matrix() = default;
    // The identity.
    static Matrix Identity();
    // From the six elements in the order GetElements gives them.
    static Matrix FromElements(const float (&elements)[6]);

    // Both prepend, so that a translate followed by a scale maps a point by
    // scaling it first.
    Status Translate(float dx, float dy);
    Status Scale(float sx, float sy);
    Matrix Clone() const;
    Status Invert();
    // The six elements m11, m12, m21, m22, dx, dy, as GDI's XFORM orders them.
    Status GetElements(float (&elements)[6]) const;
    // Rounds to the nearest integer point, in place.
    Status TransformPoints(POINT* points, int count) const;
    POINT Transform(POINT point) const;
    // The rectangle spanned by the two corners of an axis-aligned one,
    // each rounded; meant for transforms that neither rotate nor shear.
    RECT TransformRect(const RECT& rect) const;
};

// An adjustable arrow cap, sized in pen widths.
class ArrowCap
    : public Object<Gdiplus::GpAdjustableArrowCap, decltype(&api::GdipDeleteCustomLineCap),
                    api::GdipDeleteCustomLineCap> {
public:
    ArrowCap() = default;
    ArrowCap(float height, float width, bool filled);
};

class Pen : public Object<Gdiplus::GpPen, decltype(&api::GdipDeletePen), api::GdipDeletePen> {
public:
    Pen() = default;
    // Width in world units.
    Pen(Argb color, float width);

    Status SetWidth(float width);
    Status SetAlignment(Gdiplus::PenAlignment alignment);
    Status SetDashStyle(Gdiplus::DashStyle style);
    Status SetLineJoin(Gdiplus::LineJoin join);
    Status SetMiterLimit(float limit);
    Status SetCustomEndCap(const ArrowCap& cap);
};

class SolidBrush
    : public Object<Gdiplus::GpSolidFill, decltype(&api::GdipDeleteBrush), api::GdipDeleteBrush> {
public:
    SolidBrush() = default;
    explicit SolidBrush(Argb color);
};

class Path : public Object<Gdiplus::GpPath, decltype(&api::GdipDeletePath), api::GdipDeletePath> {
public:
    Path() = default;
    // Alternate fill.
    static Path Create();

    Status AddLine(int x1, int y1, int x2, int y2);
    Status CloseFigure();
    // Replaces the path by its outline when drawn with the pen.
    Status Widen(const Pen& pen, float flatness);
};

class Region
    : public Object<Gdiplus::GpRegion, decltype(&api::GdipDeleteRegion), api::GdipDeleteRegion> {
public:
    Region() = default;
    // The infinite region.
    static Region Infinite();
    static Region FromRect(int x, int y, int width, int height);
    static Region FromPath(const Path& path);

    Region Clone() const;
    Status Exclude(const Region& other);
    // In the region's own coordinates; false when the test fails.
    bool Contains(int x, int y) const;
};

class Bitmap
    : public Object<Gdiplus::GpBitmap, decltype(&api::GdipDisposeImage), api::GdipDisposeImage> {
public:
    Bitmap() = default;
    // A copy of a device-dependent bitmap, no palette.
    static Bitmap FromHbitmap(HBITMAP bitmap);
    // 32-bit ARGB, every pixel transparent black.
    static Bitmap Create(int width, int height);
    // 32-bit pixels without alpha over memory the caller keeps alive.
    static Bitmap OverPixels(int width, int height, int stride, void* pixels);
    // The same with alpha (not premultiplied).
    static Bitmap OverArgbPixels(int width, int height, int stride, void* pixels);
    // The same with premultiplied alpha.
    static Bitmap OverPargbPixels(int width, int height, int stride, void* pixels);

    int Width() const;
    int Height() const;
    // A new DIB section composited on the background; empty on failure.
    fw::GdiBitmap ToHbitmap(Argb background) const;
    Status Save(IStream* stream, const CLSID& encoder,
                const Gdiplus::EncoderParameters* parameters) const;
    Status Save(const wchar_t* path, const CLSID& encoder,
                const Gdiplus::EncoderParameters* parameters) const;

private:
    static Bitmap OverPixelsAs(Gdiplus::PixelFormat format, int width, int height, int stride,
                               void* pixels);
};

// The encoder for a MIME type ("image/jpeg", compared exactly).
bool FindEncoder(const wchar_t* mimeType, CLSID& encoder);

class Graphics : public Object<Gdiplus::GpGraphics, decltype(&api::GdipDeleteGraphics),
                               api::GdipDeleteGraphics> {
public:
    Graphics() = default;
    static Graphics FromHdc(HDC dc);
    static Graphics FromImage(const Bitmap& bitmap);

    Status SetSmoothingMode(Gdiplus::SmoothingMode mode);
    Status SetTransform(const Matrix& matrix);
    // A copy of the world transform; the identity when it cannot be read.
    Matrix GetTransform() const;
    // How many device pixels one world unit spans at least (1 when the
    // transform cannot be read).
    float GetScale() const;
    // Replaces the clip; the rectangle is in world coordinates.
    Status SetClip(int x, int y, int width, int height);
    Status SetClip(float x, float y, float width, float height);
    Region GetClip() const;
    // The clip's bounding rectangle in world coordinates.
    RECT GetClipBounds() const;

    // Draws the source rectangle of the image at (x, y), unit pixel.
    Status DrawImage(const Bitmap& image, int x, int y, int srcX, int srcY, int srcWidth,
                     int srcHeight);
    // Draws the image unscaled over a rectangle of device pixels, setting the
    // world transform aside; only what lies within the clip.
    Status DrawOnDevicePixels(const Bitmap& image, const RECT& place);
    Status DrawLine(const Pen& pen, int x1, int y1, int x2, int y2);
    // One connected line through the points: the pen's joins where they meet.
    Status DrawLines(const Pen& pen, const POINT* points, int count);
    Status DrawRectangle(const Pen& pen, int x, int y, int width, int height);
    Status FillRectangle(const SolidBrush& brush, int x, int y, int width, int height);
    Status FillRegion(const SolidBrush& brush, const Region& region);
};

} // namespace gfx
