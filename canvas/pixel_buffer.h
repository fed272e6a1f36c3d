// A picture in memory that GDI and GDI+ both draw on without copies: a 32-bit
// top-down DIB section. GDI blits into it through a device context; GDI+
// draws on any rectangle of it through a bitmap over those same pixels.
#pragma once

#include <cstddef>
#include <cstdint>

#include <windows.h>

#include "canvas/gdiplus_objects.h"
#include "framework/handles.h"

class CPixelBuffer {
public:
    CPixelBuffer() = default;
    // Every pixel starts black. Empty when the section cannot be made.
    CPixelBuffer(int width, int height);
    // Takes a DIB section of 32 bits per pixel; any other bitmap is copied
    // into a new one (and released). Empty when that fails.
    explicit CPixelBuffer(fw::GdiBitmap bitmap);
    // A buffer moved from is empty.
    CPixelBuffer(CPixelBuffer&& other) noexcept;
    CPixelBuffer& operator=(CPixelBuffer&& other) noexcept;

    explicit operator bool() const noexcept { return m_bits != nullptr; }
    int Width() const noexcept { return m_width; }
    int Height() const noexcept { return m_height; }
    HBITMAP Handle() const noexcept { return m_bitmap.get(); }
    // The first row's first pixel; rows follow each other without gaps.
    DWORD* Pixels() const noexcept { return reinterpret_cast<DWORD*>(m_bits); }
    // Gives the section up, for a caller that keeps it as a bitmap.
    fw::GdiBitmap Release() noexcept;

    // Blends a source whose alpha is premultiplied (rows of `size.cx` pixels
    // after each other) over these pixels, its first pixel at `at`, within
    // the clip rectangle (and this buffer) only: BlendPremultiplied. Call
    // GdiFlush first when GDI drew here.
    void BlendFrom(const std::uint32_t* source, SIZE size, POINT at, const RECT& clip);

    // GDI+ over the pixels of a rectangle (clipped to the buffer), without
    // alpha: what is drawn there lands in this buffer.
    gfx::Bitmap Over(const RECT& rect) const;

private:
    void Adopt(fw::GdiBitmap bitmap);

    fw::GdiBitmap m_bitmap;
    std::byte* m_bits = nullptr;
    int m_width = 0;
    int m_height = 0;
    int m_stride = 0;
};

// A memory device context with a bitmap selected for as long as it lives.
class CBitmapDc {
public:
    explicit CBitmapDc(HBITMAP bitmap) noexcept;
    ~CBitmapDc();
    CBitmapDc(const CBitmapDc&) = delete;
    CBitmapDc& operator=(const CBitmapDc&) = delete;

    HDC get() const noexcept { return m_dc.get(); }
    explicit operator bool() const noexcept { return m_dc && m_previous; }

private:
    fw::MemoryDc m_dc;
    HGDIOBJ m_previous = nullptr;
};
