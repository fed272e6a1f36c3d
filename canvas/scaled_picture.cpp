#include "canvas/scaled_picture.h"

bool CScaledPicture::Prepare(const CPixelBuffer& picture, SIZE size) {
    if (m_pixels && m_source == picture.Handle() && m_pixels.Width() == size.cx &&
        m_pixels.Height() == size.cy)
        return true;
    Drop();
    if (!picture || size.cx <= 0 || size.cy <= 0)
        return false;
    m_pixels = CPixelBuffer(size.cx, size.cy);
    const CBitmapDc target(m_pixels.Handle());
    const CBitmapDc source(picture.Handle());
    if (!target || !source) {
        Drop();
        return false;
    }
    // HALFTONE averages the pixels each target pixel covers; it needs the
    // brush origin set after the mode.
    // https://learn.microsoft.com/windows/win32/api/wingdi/nf-wingdi-setstretchbltmode
    ::SetStretchBltMode(target.get(), HALFTONE);
    ::SetBrushOrgEx(target.get(), 0, 0, nullptr);
    ::StretchBlt(target.get(), 0, 0, size.cx, size.cy, source.get(), 0, 0, picture.Width(),
                 picture.Height(), SRCCOPY);
    ::GdiFlush();
    m_source = picture.Handle();
    return true;
}

void CScaledPicture::Drop() noexcept {
    m_pixels = CPixelBuffer();
    m_source = nullptr;
}
