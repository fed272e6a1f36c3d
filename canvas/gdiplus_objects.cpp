#include "canvas/gdiplus_objects.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

namespace gfx {

// ---- Matrix

Matrix Matrix::Identity() {
    Matrix matrix;
    matrix.CreateWith([](Gdiplus::GpMatrix** out) { return api::GdipCreateMatrix(out); });
    return matrix;
}

Matrix Matrix::FromElements(const float (&e)[6]) {
    Matrix matrix;
    matrix.CreateWith([&](Gdiplus::GpMatrix** out) {
        return api::GdipCreateMatrix2(e[0], e[1], e[2], e[3], e[4], e[5], out);
    });
    return matrix;
}

Status Matrix::Translate(float dx, float dy) {
    return Record(api::GdipTranslateMatrix(get(), dx, dy, Gdiplus::MatrixOrderPrepend));
}

Status Matrix::Scale(float sx, float sy) {
    return Record(api::GdipScaleMatrix(get(), sx, sy, Gdiplus::MatrixOrderPrepend));
}

Matrix Matrix::Clone() const {
    Matrix copy;
    copy.CreateWith([this](Gdiplus::GpMatrix** out) { return api::GdipCloneMatrix(get(), out); });
    return copy;
}

Status Matrix::Invert() {
    return Record(api::GdipInvertMatrix(get()));
}

Status Matrix::GetElements(float (&elements)[6]) const {
    return Record(api::GdipGetMatrixElements(get(), elements));
}

Status Matrix::TransformPoints(POINT* points, int count) const {
    std::vector<Gdiplus::GpPoint> converted(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        converted[static_cast<std::size_t>(i)] = Gdiplus::GpPoint(points[i].x, points[i].y);
    Status status = Record(api::GdipTransformMatrixPointsI(get(), converted.data(), count));
    if (status == Gdiplus::Ok) {
        for (int i = 0; i < count; ++i) {
            points[i].x = converted[static_cast<std::size_t>(i)].X;
            points[i].y = converted[static_cast<std::size_t>(i)].Y;
        }
    }
    return status;
}

POINT Matrix::Transform(POINT point) const {
    TransformPoints(&point, 1);
    return point;
}

RECT Matrix::TransformRect(const RECT& rect) const {
    POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
    TransformPoints(corners, 2);
    return RECT{std::min(corners[0].x, corners[1].x), std::min(corners[0].y, corners[1].y),
                std::max(corners[0].x, corners[1].x), std::max(corners[0].y, corners[1].y)};
}

// ---- Pens, caps, brushes

Pen::Pen(Argb color, float width) {
    CreateWith([&](Gdiplus::GpPen** out) {
        return api::GdipCreatePen1(color, width, Gdiplus::UnitWorld, out);
    });
}

Status Pen::SetWidth(float width) {
    return Record(api::GdipSetPenWidth(get(), width));
}

Status Pen::SetAlignment(Gdiplus::PenAlignment alignment) {
    return Record(api::GdipSetPenMode(get(), alignment));
}

Status Pen::SetDashStyle(Gdiplus::DashStyle style) {
    return Record(api::GdipSetPenDashStyle(get(), style));
}

Status Pen::SetLineJoin(Gdiplus::LineJoin join) {
    return Record(api::GdipSetPenLineJoin(get(), join));
}

Status Pen::SetMiterLimit(float limit) {
    return Record(api::GdipSetPenMiterLimit(get(), limit));
}

Status Pen::SetCustomEndCap(const ArrowCap& cap) {
    return Record(api::GdipSetPenCustomEndCap(get(), cap.get()));
}

ArrowCap::ArrowCap(float height, float width, bool filled) {
    CreateWith([&](Gdiplus::GpAdjustableArrowCap** out) {
        return api::GdipCreateAdjustableArrowCap(height, width, filled ? TRUE : FALSE, out);
    });
}

SolidBrush::SolidBrush(Argb color) {
    CreateWith([&](Gdiplus::GpSolidFill** out) { return api::GdipCreateSolidFill(color, out); });
}

// ---- Paths and regions

Path Path::Create() {
    Path path;
    path.CreateWith(
        [](Gdiplus::GpPath** out) { return api::GdipCreatePath(Gdiplus::FillModeAlternate, out); });
    return path;
}

Status Path::AddLine(int x1, int y1, int x2, int y2) {
    return Record(api::GdipAddPathLineI(get(), x1, y1, x2, y2));
}

Status Path::CloseFigure() {
    return Record(api::GdipClosePathFigure(get()));
}

Status Path::Widen(const Pen& pen, float flatness) {
    return Record(api::GdipWidenPath(get(), pen.get(), nullptr, flatness));
}

Region Region::Infinite() {
    Region region;
    region.CreateWith([](Gdiplus::GpRegion** out) { return api::GdipCreateRegion(out); });
    return region;
}

Region Region::FromRect(int x, int y, int width, int height) {
    Region region;
    const Gdiplus::GpRect rect(x, y, width, height);
    region.CreateWith(
        [&](Gdiplus::GpRegion** out) { return api::GdipCreateRegionRectI(&rect, out); });
    return region;
}

Region Region::FromPath(const Path& path) {
    Region region;
    region.CreateWith(
        [&](Gdiplus::GpRegion** out) { return api::GdipCreateRegionPath(path.get(), out); });
    return region;
}

Region Region::Clone() const {
    Region copy;
    copy.CreateWith([this](Gdiplus::GpRegion** out) { return api::GdipCloneRegion(get(), out); });
    return copy;
}

Status Region::Exclude(const Region& other) {
    return Record(api::GdipCombineRegionRegion(get(), other.get(), Gdiplus::CombineModeExclude));
}

bool Region::Contains(int x, int y) const {
    BOOL visible = FALSE;
    if (Record(api::GdipIsVisibleRegionPointI(get(), x, y, nullptr, &visible)) != Gdiplus::Ok)
        return false;
    return visible != FALSE;
}

// ---- Bitmaps and encoding

Bitmap Bitmap::FromHbitmap(HBITMAP source) {
    Bitmap bitmap;
    bitmap.CreateWith([&](Gdiplus::GpBitmap** out) {
        return api::GdipCreateBitmapFromHBITMAP(source, nullptr, out);
    });
    return bitmap;
}

Bitmap Bitmap::Create(int width, int height) {
    Bitmap bitmap;
    bitmap.CreateWith([&](Gdiplus::GpBitmap** out) {
        return api::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, out);
    });
    return bitmap;
}

Bitmap Bitmap::OverPixelsAs(Gdiplus::PixelFormat format, int width, int height, int stride,
                            void* pixels) {
    Bitmap bitmap;
    bitmap.CreateWith([&](Gdiplus::GpBitmap** out) {
        return api::GdipCreateBitmapFromScan0(width, height, stride, format,
                                              static_cast<BYTE*>(pixels), out);
    });
    return bitmap;
}

Bitmap Bitmap::OverPixels(int width, int height, int stride, void* pixels) {
    return OverPixelsAs(PixelFormat32bppRGB, width, height, stride, pixels);
}

Bitmap Bitmap::OverPargbPixels(int width, int height, int stride, void* pixels) {
    return OverPixelsAs(PixelFormat32bppPARGB, width, height, stride, pixels);
}

Bitmap Bitmap::OverArgbPixels(int width, int height, int stride, void* pixels) {
    return OverPixelsAs(PixelFormat32bppARGB, width, height, stride, pixels);
}

int Bitmap::Width() const {
    UINT width = 0;
    Record(api::GdipGetImageWidth(get(), &width));
    return static_cast<int>(width);
}

int Bitmap::Height() const {
    UINT height = 0;
    Record(api::GdipGetImageHeight(get(), &height));
    return static_cast<int>(height);
}

fw::GdiBitmap Bitmap::ToHbitmap(Argb background) const {
    HBITMAP bitmap = nullptr;
    if (Record(api::GdipCreateHBITMAPFromBitmap(get(), &bitmap, background)) != Gdiplus::Ok)
        return {};
    return fw::GdiBitmap(bitmap);
}

Status Bitmap::Save(IStream* stream, const CLSID& encoder,
                    const Gdiplus::EncoderParameters* parameters) const {
    return Record(api::GdipSaveImageToStream(get(), stream, &encoder, parameters));
}

Status Bitmap::Save(const wchar_t* path, const CLSID& encoder,
                    const Gdiplus::EncoderParameters* parameters) const {
    return Record(api::GdipSaveImageToFile(get(), path, &encoder, parameters));
}

bool FindEncoder(const wchar_t* mimeType, CLSID& encoder) {
    UINT count = 0;
    UINT size = 0;
    if (api::GdipGetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0)
        return false;
    // The descriptions and the strings they point to share one buffer.
    std::unique_ptr<std::byte[]> buffer(new (std::nothrow) std::byte[size]);
    if (!buffer)
        return false;
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.get());
    if (api::GdipGetImageEncoders(count, size, codecs) != Gdiplus::Ok)
        return false;
    for (UINT i = 0; i < count; ++i) {
        if (codecs[i].MimeType && std::wcscmp(codecs[i].MimeType, mimeType) == 0) {
            encoder = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

// ---- Graphics

Graphics Graphics::FromHdc(HDC dc) {
    Graphics graphics;
    graphics.CreateWith([&](Gdiplus::GpGraphics** out) { return api::GdipCreateFromHDC(dc, out); });
    return graphics;
}

Graphics Graphics::FromImage(const Bitmap& bitmap) {
    Graphics graphics;
    graphics.CreateWith([&](Gdiplus::GpGraphics** out) {
        return api::GdipGetImageGraphicsContext(bitmap.get(), out);
    });
    return graphics;
}

Status Graphics::SetSmoothingMode(Gdiplus::SmoothingMode mode) {
    return Record(api::GdipSetSmoothingMode(get(), mode));
}

Status Graphics::SetTransform(const Matrix& matrix) {
    return Record(api::GdipSetWorldTransform(get(), matrix.get()));
}

Matrix Graphics::GetTransform() const {
    Matrix matrix = Matrix::Identity();
    if (matrix)
        Record(api::GdipGetWorldTransform(get(), matrix.get()));
    return matrix;
}

float Graphics::GetScale() const {
    Matrix world = Matrix::Identity();
    Gdiplus::REAL m[6] = {1, 0, 0, 1, 0, 0};
    if (!world || Record(api::GdipGetWorldTransform(get(), world.get())) != Gdiplus::Ok ||
        api::GdipGetMatrixElements(world.get(), m) != Gdiplus::Ok)
        return 1.0f;
    return std::min(std::hypot(m[0], m[1]), std::hypot(m[2], m[3]));
}

Status Graphics::SetClip(int x, int y, int width, int height) {
    return Record(api::GdipSetClipRectI(get(), x, y, width, height, Gdiplus::CombineModeReplace));
}

Status Graphics::SetClip(float x, float y, float width, float height) {
    return Record(api::GdipSetClipRect(get(), x, y, width, height, Gdiplus::CombineModeReplace));
}

Region Graphics::GetClip() const {
    Region clip = Region::Infinite();
    if (clip)
        Record(api::GdipGetClip(get(), clip.get()));
    return clip;
}

RECT Graphics::GetClipBounds() const {
    Gdiplus::GpRect bounds;
    if (Record(api::GdipGetClipBoundsI(get(), &bounds)) != Gdiplus::Ok)
        return RECT{LONG_MIN / 2, LONG_MIN / 2, LONG_MAX / 2, LONG_MAX / 2};
    return RECT{bounds.X, bounds.Y, bounds.X + bounds.Width, bounds.Y + bounds.Height};
}

Status Graphics::DrawImage(const Bitmap& image, int x, int y, int srcX, int srcY, int srcWidth,
                           int srcHeight) {
    return Record(api::GdipDrawImagePointRectI(get(), image.get(), x, y, srcX, srcY, srcWidth,
                                               srcHeight, Gdiplus::UnitPixel));
}

Status Graphics::DrawOnDevicePixels(const Bitmap& image, const RECT& place) {
    const Matrix world = GetTransform();
    SetTransform(Matrix::Identity());
    // The clip was set in device terms: without the transform its bounds
    // are device pixels.
    const RECT clip = GetClipBounds();
    RECT shown{};
    Status status = Gdiplus::Ok;
    if (::IntersectRect(&shown, &place, &clip)) {
        status =
            DrawImage(image, shown.left, shown.top, shown.left - place.left, shown.top - place.top,
                      shown.right - shown.left, shown.bottom - shown.top);
    }
    SetTransform(world);
    return status;
}

Status Graphics::DrawLine(const Pen& pen, int x1, int y1, int x2, int y2) {
    return Record(api::GdipDrawLineI(get(), pen.get(), x1, y1, x2, y2));
}

Status Graphics::DrawLines(const Pen& pen, const POINT* points, int count) {
    std::vector<Gdiplus::Point> converted;
    converted.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i)
        converted.emplace_back(static_cast<INT>(points[i].x), static_cast<INT>(points[i].y));
    return Record(api::GdipDrawLinesI(get(), pen.get(), converted.data(), count));
}

Status Graphics::DrawRectangle(const Pen& pen, int x, int y, int width, int height) {
    return Record(api::GdipDrawRectangleI(get(), pen.get(), x, y, width, height));
}

Status Graphics::FillRectangle(const SolidBrush& brush, int x, int y, int width, int height) {
    return Record(api::GdipFillRectangleI(get(), brush.get(), x, y, width, height));
}

Status Graphics::FillRegion(const SolidBrush& brush, const Region& region) {
    return Record(api::GdipFillRegion(get(), brush.get(), region.get()));
}

} // namespace gfx
