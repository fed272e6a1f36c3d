// What the button tests read of a button's state, which its users never need.
#pragma once

#include "controls/bitmap_button.h"
#include "controls/button_rgn.h"

class BitmapButtonTestDriver {
public:
    static HWND ToolTip(const BitmapButton& button) noexcept { return button.m_tooltip.get(); }
    static bool IsDefault(const BitmapButton& button) noexcept { return button.m_default; }
    static bool IsHovering(const BitmapButton& button) noexcept { return button.m_hover; }
};

class CButtonRgnTestDriver {
public:
    static bool IsHovering(const CButtonRgn& button) noexcept { return button.m_hover; }
    static bool IsTracking(const CButtonRgn& button) noexcept { return button.m_tracking; }
    // The caption's point size after fitting (the starting size before).
    static int CaptionPointSize(const CButtonRgn& button) noexcept {
        return button.m_fittedPointSize;
    }
};
