// The panel's output: picture and items flattened into one image, as JPEG or
// as a bitmap.
#include "canvas/canvas_panel.h"

#include "canvas/rect_math.h"

namespace {

constexpr LONG kJpegQuality = 90;
// EncoderQuality, spelled out: the platform headers only declare it.
// https://learn.microsoft.com/en-us/dotnet/api/system.drawing.imaging.encoder.-ctor
constexpr GUID kEncoderQuality = {
    0x1d5be4b5, 0xfa4a, 0x452d, {0x9c, 0xdd, 0x5d, 0xb3, 0x51, 0x05, 0xe7, 0xeb}};

// The output is drawn in larger tiles than the screen: it draws every item
// afresh, and under GDI+ a line or a fill costs in proportion to the
// rectangle around it, again for every tile it crosses.
constexpr LONG kOutputTileSize = 2048;

} // namespace

CPixelBuffer CCanvasPanel::Flatten() const {
    if (!m_picture)
        return {};
    const RECT picture{0, 0, m_picture.Width(), m_picture.Height()};
    // Not limited to the picture: a crop reaching past it comes out black
    // there.
    const RECT output = m_activeCrop ? m_activeCrop->GetImageRect() : picture;
    if (RectWidth(output) <= 0 || RectHeight(output) <= 0)
        return {};
    CPixelBuffer flat(RectWidth(output), RectHeight(output));
    if (!flat)
        return {};
    const RECT shown = Intersection(output, picture);
    if (::IsRectEmpty(&shown))
        return flat;
    // The output's pixels are the device: image point p lands at p - output's
    // corner. Items end at the picture's edge, as if drawn on the picture.
    const CViewTransform mapping(1.0f, 1.0f, output.left, output.top);
    const RECT area{shown.left - output.left, shown.top - output.top, shown.right - output.left,
                    shown.bottom - output.top};
    {
        const CBitmapDc target(flat.Handle());
        const CBitmapDc source(m_picture.Handle());
        ::BitBlt(target.get(), area.left, area.top, RectWidth(area), RectHeight(area), source.get(),
                 shown.left, shown.top, SRCCOPY);
    }
    ::GdiFlush(); // GDI+ reads the pixels the blit wrote
    CTileRenderer::DrawTiles(flat, POINT{0, 0}, area, mapping, CollectDrawn(false).items,
                             kOutputTileSize, nullptr);
    return flat;
}

bool CCanvasPanel::SaveJpeg(IStream* stream, const wchar_t* path) {
    // What is being typed belongs in the picture.
    EndEditAll();
    const CPixelBuffer flat = Flatten();
    if (!flat)
        return false;
    const gfx::Bitmap image = flat.Over(RECT{0, 0, flat.Width(), flat.Height()});
    if (!image)
        return false;
    CLSID encoder{};
    if (!gfx::FindEncoder(L"image/jpeg", encoder))
        return false;
    LONG quality = kJpegQuality;
    Gdiplus::EncoderParameters parameters{};
    parameters.Count = 1;
    parameters.Parameter[0].Guid = kEncoderQuality;
    parameters.Parameter[0].NumberOfValues = 1;
    parameters.Parameter[0].Type = Gdiplus::EncoderParameterValueTypeLong;
    parameters.Parameter[0].Value = &quality;
    const gfx::Status status =
        stream ? image.Save(stream, encoder, &parameters) : image.Save(path, encoder, &parameters);
    return status == Gdiplus::Ok;
}

bool CCanvasPanel::SaveJpegToStream(IStream* stream) {
    return stream && SaveJpeg(stream, nullptr);
}

bool CCanvasPanel::SaveJpegToFile(const wchar_t* path) {
    return path && *path && SaveJpeg(nullptr, path);
}

fw::GdiBitmap CCanvasPanel::GetFlattenedBitmap() {
    EndEditAll();
    const CPixelBuffer flat = Flatten();
    if (!flat)
        return {};
    // A device-dependent copy, as the clipboard wants it.
    return fw::GdiBitmap(static_cast<HBITMAP>(::CopyImage(flat.Handle(), IMAGE_BITMAP, 0, 0, 0)));
}
