#include "canvas/pixel_buffer.h"

#include "canvas/pixel_blend.h"

#include "framework/picture.h"

#include <algorithm>
#include <utility>

namespace {

fw::GdiBitmap CreateSection(int width, int height) {
    if (width <= 0 || height <= 0)
        return {};
    const BITMAPINFO format = fw::TopDownDibFormat(width, height);
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

CPixelBuffer::CPixelBuffer(CPixelBuffer&& other) noexcept
    : m_bitmap(std::move(other.m_bitmap)), m_bits(std::exchange(other.m_bits, nullptr)),
      m_width(std::exchange(other.m_width, 0)), m_height(std::exchange(other.m_height, 0)),
      m_stride(std::exchange(other.m_stride, 0)) {}

CPixelBuffer& CPixelBuffer::operator=(CPixelBuffer&& other) noexcept {
    if (this != &other) {
        m_bitmap = std::move(other.m_bitmap);
        m_bits = std::exchange(other.m_bits, nullptr);
        m_width = std::exchange(other.m_width, 0);
        m_height = std::exchange(other.m_height, 0);
        m_stride = std::exchange(other.m_stride, 0);
    }
    return *this;
}

fw::GdiBitmap CPixelBuffer::Release() noexcept {
    m_bits = nullptr;
    m_width = m_height = m_stride = 0;
    return std::move(m_bitmap);
}

void CPixelBuffer::BlendFrom(const std::uint32_t* source, SIZE size, POINT at, const RECT& clip) {
    if (!m_bits)
        return;
    // The section's memory holds no objects of another type: it is read as
    // the pixels it is.
    BlendPremultiplied({reinterpret_cast<std::uint32_t*>(m_bits), m_width, m_height},
                       {source, size.cx, size.cy}, at.x, at.y,
                       {clip.left, clip.top, clip.right, clip.bottom});
}

gfx::Bitmap CPixelBuffer::Over(const RECT& rect) const {
    RECT inside{};
    const RECT all{0, 0, m_width, m_height};
    if (!m_bits || !::IntersectRect(&inside, &rect, &all))
        return {};
    std::byte* first = m_bits + static_cast<std::ptrdiff_t>(inside.top) * m_stride +
                       static_cast<std::ptrdiff_t>(inside.left) * 4;
    return gfx::Bitmap::OverPixels(inside.right - inside.left, inside.bottom - inside.top, m_stride,
                                   first);
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
