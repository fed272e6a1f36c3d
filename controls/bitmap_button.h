// An owner-drawn push button with an icon beside its caption, colours per
// state and a tooltip.
#pragma once

#include "framework/control.h"
#include "framework/handles.h"

#include <windows.h>

#include <array>
#include <string>

class BitmapButton : public fw::Control {
public:
    // Which colour pair paints the button: pointer over it or pressed,
    // focused, any other state.
    enum class ColorState { Hover, Focus, Normal };

    BitmapButton();

    void SetColors(ColorState state, COLORREF background, COLORREF text);
    COLORREF GetBackgroundColor(ColorState state) const noexcept;
    COLORREF GetTextColor(ColorState state) const noexcept;
    // The icon drawn while the pointer is over the button and the one drawn
    // otherwise; either may be empty (the other is used). The button owns
    // them.
    void SetIcons(fw::Icon hover, fw::Icon normal);
    // Loads icon resources of instance (this program's when null) at size
    // pixels square (0: the system's icon size); 0 ids mean none.
    void SetIcons(HINSTANCE instance, UINT hoverId, UINT normalId, int size = 0);
    // Creates the tooltip on first use; tips wrap at 400 pixels.
    void SetTooltipText(const std::wstring& text);

    bool OnReflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    void OnAttached() override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    friend class BitmapButtonTestDriver;

    struct ColorPair {
        COLORREF background;
        COLORREF text;
    };
    ColorPair& Pair(ColorState state) noexcept { return m_colors[static_cast<int>(state)]; }
    const ColorPair& Pair(ColorState state) const noexcept {
        return m_colors[static_cast<int>(state)];
    }
    void DrawItem(const DRAWITEMSTRUCT& item) const;
    void Repaint() const;

    bool m_default = false;
    bool m_hover = false;
    std::array<ColorPair, 3> m_colors; // by ColorState
    fw::Icon m_hoverIcon;
    fw::Icon m_normalIcon;
    SIZE m_hoverIconSize{};
    SIZE m_normalIconSize{};
    std::wstring m_tooltipText;
    fw::Window m_tooltip;
};
