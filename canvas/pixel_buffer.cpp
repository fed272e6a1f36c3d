#include "canvas/pixel_buffer.h"

#include <algorithm>

namespace {

fw::GdiBitmap CreateSection(int width, int height) {
    if (width <= 0 || height <= 0)
        return {};
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height; // top row first
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    return fw::GdiBitmap(::CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
}

// The section's header reports the height as positive either way: GDI is
// asked where it puts the first row.
bool IsTopDown(HBITMAP bitmap, const DIBSECTION& section) {
    auto* first = static_cast<volatile DWORD*>(section.dsBm.bmBits);
    if (!first || section.dsBm.bmHeight < 2)
        return first != nullptr;
    fw::MemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!dc)
        return false;
    fw::SelectionGuard select(dc.get(), bitmap);
    const COLORREF old = ::GetPixel(dc.get(), 0, 0);
    const DWORD before = *first;
    ::SetPixelV(dc.get(), 0, 0, old == RGB(1, 2, 3) ? RGB(3, 2, 1) : RGB(1, 2, 3));
    ::GdiFlush();
    const bool topDown = *first != before;
    ::SetPixelV(dc.get(), 0, 0, old);
    ::GdiFlush();
    return topDown;
}

} // namespace

CPixelBuffer::CPixelBuffer(int width, int height) {
    Adopt(CreateSection(width, height));
}

CPixelBuffer::CPixelBuffer(fw::GdiBitmap bitmap) {
    DIBSECTION section{};
    if (bitmap && ::GetObjectW(bitmap.get(), sizeof(section), &section) == sizeof(section) &&
        section.dsBm.bmBitsPixel == 32 && IsTopDown(bitmap.get(), section)) {
        Adopt(std::move(bitmap));
        return;
    }
    BITMAP info{};
    if (!bitmap || ::GetObjectW(bitmap.get(), sizeof(info), &info) == 0)
        return;
    fw::GdiBitmap copy = CreateSection(info.bmWidth, info.bmHeight);
    if (!copy)
        return;
    {
        CBitmapDc from(bitmap.get());
        CBitmapDc to(copy.get());
        if (!from || !to ||
            !::BitBlt(to.get(), 0, 0, info.bmWidth, info.bmHeight, from.get(), 0, 0, SRCCOPY))
            return;
    }
    Adopt(std::move(copy));
}

void CPixelBuffer::Adopt(fw::GdiBitmap bitmap) {
    DIBSECTION section{};
    if (!bitmap || ::GetObjectW(bitmap.get(), sizeof(section), &section) != sizeof(section) ||
        !section.dsBm.bmBits)
        return;
    m_bitmap = std::move(bitmap);
    m_bits = static_cast<std::byte*>(section.dsBm.bmBits);
    m_width = section.dsBm.bmWidth;
    m_height = section.dsBm.bmHeight;
    m_stride = section.dsBm.bmWidthBytes;
}

fw::GdiBitmap CPixelBuffer::Release() noexcept {
    m_bits = nullptr;
    m_width = m_height = m_stride = 0;
    return std::move(m_bitmap);
}

gfx::Bitmap CPixelBuffer::Over(const RECT& rect) const {
    RECT inside{};
    const RECT all{0, 0, m_width, m_height};
    if (!m_bits || !::IntersectRect(&inside, &rect, &all))
        return {};
    std::byte* first = m_bits + static_cast<std::ptrdiff_t>(inside.top) * m_stride +
                       static_cast<std::ptrdiff_t>(inside.left) * 4;
    return gfx::Bitmap::OverPixels(inside.right - inside.left, inside.bottom - inside.top,
                                   m_stride, first);
}

CBitmapDc::CBitmapDc(HBITMAP bitmap) noexcept : m_dc(::CreateCompatibleDC(nullptr)) {
    if (m_dc && bitmap) {
        m_previous = ::SelectObject(m_dc.get(), bitmap);
        if (m_previous == HGDI_ERROR)
            m_previous = nullptr;
    }
}

CBitmapDc::~CBitmapDc() {
    if (m_previous)
        ::SelectObject(m_dc.get(), m_previous);
}
