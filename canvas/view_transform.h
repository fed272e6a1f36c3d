// Image and view coordinates: view = image * zoom - offset on each axis, with
// float zoom factors and integer offsets in view pixels.
#pragma once

#include <windows.h>

#include "canvas/gdiplus_objects.h"

class CViewTransform {
public:
    CViewTransform() = default;
    CViewTransform(float zoomX, float zoomY, int offsetX, int offsetY) noexcept
        : m_zoomX(zoomX), m_zoomY(zoomY), m_offsetX(offsetX), m_offsetY(offsetY) {}

    float ZoomX() const noexcept { return m_zoomX; }
    float ZoomY() const noexcept { return m_zoomY; }
    int OffsetX() const noexcept { return m_offsetX; }
    int OffsetY() const noexcept { return m_offsetY; }

    // Translate by the negative offsets, then scale, both prepended, so that
    // a point is scaled first.
    gfx::Matrix ViewMatrix() const;
    gfx::Matrix ImageMatrix() const;

    // Rounded to the nearest pixel.
    POINT ToView(POINT image) const;
    POINT ToImage(POINT view) const;

private:
    float m_zoomX = 1.0f;
    float m_zoomY = 1.0f;
    int m_offsetX = 0;
    int m_offsetY = 0;
};
