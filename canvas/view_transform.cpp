#include "canvas/view_transform.h"

gfx::Matrix CViewTransform::ViewMatrix() const {
    gfx::Matrix matrix = gfx::Matrix::Identity();
    matrix.Translate(static_cast<float>(-m_offsetX), static_cast<float>(-m_offsetY));
    matrix.Scale(m_zoomX, m_zoomY);
    return matrix;
}

gfx::Matrix CViewTransform::ImageMatrix() const {
    gfx::Matrix matrix = ViewMatrix();
    matrix.Invert();
    return matrix;
}

POINT CViewTransform::ToView(POINT image) const {
    return ViewMatrix().Transform(image);
}

POINT CViewTransform::ToImage(POINT view) const {
    return ImageMatrix().Transform(view);
}
