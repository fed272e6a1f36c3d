// The capture as the view shows it at a zoom other than 1, stretched once in
// one piece: every paint is then a plain copy out of it, and no two paints
// (or parts of one) can stretch the same pixel differently. Stretching in
// separately clipped pieces leaves seams at their edges under Wine.
#pragma once

#include <windows.h>

#include "canvas/pixel_buffer.h"

class CScaledPicture {
public:
    // Stretches picture to size unless that is already done. False when
    // the copy cannot be made.
    bool Prepare(const CPixelBuffer& picture, SIZE size);
    // Frees the copy; the next Prepare makes it again.
    void Drop() noexcept;

    explicit operator bool() const noexcept { return static_cast<bool>(m_pixels); }
    HBITMAP Handle() const noexcept { return m_pixels.Handle(); }

private:
    CPixelBuffer m_pixels;
    // What the copy was made from.
    HBITMAP m_source = nullptr;
};
