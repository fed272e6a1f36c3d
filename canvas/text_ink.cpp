#include "canvas/text_ink.h"

#include <algorithm>
#include <cmath>

namespace {

// Word breaks, with the line handling of an edit control: the box wraps its
// text as the popup did while it was typed.
constexpr UINT kTextFormat = DT_WORDBREAK | DT_EDITCONTROL;
// Larger results are laid out for the part to draw only and not kept: a big
// box at a high zoom would hold many megabytes.
constexpr LONGLONG kMaxKeptPixels = 2'000'000;

LONG Width(const RECT& r) {
    return r.right - r.left;
}

LONG Height(const RECT& r) {
    return r.bottom - r.top;
}

} // namespace

bool CTextInk::Key::operator==(const Key& other) const {
    return text == other.text && font == other.font && color == other.color &&
           ::EqualRect(&rect, &other.rect) && scale == other.scale &&
           fractionX == other.fractionX && fractionY == other.fractionY;
}

void CTextInk::Draw(gfx::Graphics& graphics, const RECT& rect, const std::wstring& text, HFONT font,
                    COLORREF color) {
    const gfx::Matrix world = graphics.GetTransform();
    float m[6] = {};
    if (!world || world.GetElements(m) != Gdiplus::Ok)
        return;
    RECT whole = rect;
    ::InflateRect(&whole, 1, 1); // the rounding of fractional zooms
    const RECT target = world.TransformRect(whole);
    if (::IsRectEmpty(&target))
        return;
    Key key{text,
            font,
            color,
            rect,
            {m[0], m[1], m[2], m[3]},
            m[4] - std::floor(m[4]),
            m[5] - std::floor(m[5])};

    if (static_cast<LONGLONG>(Width(target)) * Height(target) > kMaxKeptPixels) {
        // Only what the graphics may still change.
        const RECT clip = graphics.GetClipBounds();
        RECT visible{};
        if (!::IntersectRect(&visible, &rect, &clip))
            return;
        ::InflateRect(&visible, 1, 1);
        const RECT part = world.TransformRect(visible);
        const CPixelBuffer once = LayOut(m, part, key);
        if (once) {
            graphics.DrawOnDevicePixels(gfx::Bitmap::OverArgbPixels(once.Width(), once.Height(),
                                                                    once.Width() * 4,
                                                                    once.Pixels()),
                                        part);
        }
        return;
    }
    const bool kept =
        m_ink && m_ink.Width() == Width(target) && m_ink.Height() == Height(target) && key == m_key;
    if (!kept) {
        m_ink = LayOut(m, target, key);
        m_key = std::move(key);
    }
    if (m_ink) {
        graphics.DrawOnDevicePixels(gfx::Bitmap::OverArgbPixels(m_ink.Width(), m_ink.Height(),
                                                                m_ink.Width() * 4, m_ink.Pixels()),
                                    target);
    }
}

CPixelBuffer CTextInk::LayOut(const float (&world)[6], const RECT& target, const Key& key) {
    const int width = Width(target);
    const int height = Height(target);
    CPixelBuffer coverage(width, height);
    if (!coverage)
        return {};
    {
        CBitmapDc dc(coverage.Handle());
        if (!dc)
            return {};
        fw::SelectionGuard selectFont(dc.get(), key.font);
        ::PatBlt(dc.get(), 0, 0, width, height, WHITENESS);
        ::SetGraphicsMode(dc.get(), GM_ADVANCED);
        const XFORM toBitmap{world[0],
                             world[1],
                             world[2],
                             world[3],
                             world[4] - static_cast<float>(target.left),
                             world[5] - static_cast<float>(target.top)};
        ::SetWorldTransform(dc.get(), &toBitmap);
        ::SetTextColor(dc.get(), RGB(0, 0, 0));
        ::SetBkMode(dc.get(), TRANSPARENT);
        RECT layout = key.rect;
        ::DrawTextW(dc.get(), key.text.c_str(), -1, &layout, kTextFormat);
        ::GdiFlush();
    }
    // Grey or sub-pixel coverage alike: the mean of the channels.
    const DWORD rgb = (static_cast<DWORD>(GetRValue(key.color)) << 16) |
                      (static_cast<DWORD>(GetGValue(key.color)) << 8) | GetBValue(key.color);
    DWORD* pixel = coverage.Pixels();
    for (int i = 0; i < width * height; ++i, ++pixel) {
        const DWORD p = *pixel;
        const DWORD alpha = 255 - (((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF)) / 3;
        *pixel = (alpha << 24) | rgb;
    }
    return coverage;
}
