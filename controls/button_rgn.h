// An owner-drawn push button painted from pictures, one per state, and
// optionally shaped by a mask picture.
#pragma once

#include "framework/control.h"
#include "framework/handles.h"

#include <windows.h>

// The pictures of a CButtonRgn; any may be empty.
struct ButtonBitmaps {
    fw::GdiBitmap normal;
    fw::GdiBitmap pressed;
    fw::GdiBitmap hover;
    fw::GdiBitmap disabled;
    // Magenta outside the button's shape, black inside.
    fw::GdiBitmap mask;
};

class CButtonRgn : public fw::Control {
public:
    // Edge drawn around the picture. Any other non-zero value: a raised edge
    // in the normal state only.
    enum EdgeMode : int { kNoEdge = 0, kEdgeByState = 1 };
    // How a picture covers the button.
    enum Placement : int { kOwnSize = 0, kStretch = 1, kTile = 2 };

    CButtonRgn();

    // Replaces the pictures with bitmap resources of instance (this
    // program's when null); 0 means none. Without a disabled picture the
    // normal one is loaded again for that state. Resets edge and placement;
    // a mask shapes the window and gives the button its size.
    void SetBitmaps(HINSTANCE instance, UINT normal, UINT pressed, UINT hover, UINT disabled,
                    UINT mask);
    // The same with pictures the caller made; the button owns them.
    void SetBitmaps(ButtonBitmaps bitmaps);
    // One picture of this program for the normal, pressed and disabled looks.
    void SetBitmap(UINT bitmap) { SetBitmaps(nullptr, bitmap, bitmap, 0, bitmap, 0); }

    void SetEdgeMode(int mode) noexcept { m_edgeMode = mode; }
    void SetPlacement(int placement) noexcept { m_placement = placement; }
    // Inset of the focus cue; kAutoFocusInset (the default) grows with the
    // DPI, 0 draws none.
    static constexpr short kAutoFocusInset = -1;
    void SetFocusInset(short inset) noexcept { m_focusInset = inset; }
    // For pictures that carry the button's label: the window text is then
    // only the button's name (for screen readers) and is not drawn.
    void SetDrawsCaption(bool draws);
    void SetCaptionColor(COLORREF colour);
    // Cursor over the button; null keeps the class cursor. Not owned.
    void SetButtonCursor(HCURSOR cursor) noexcept { m_cursor = cursor; }
    // A tooltip control that gets this button's mouse messages. Not owned.
    void SetToolTip(HWND tooltip) noexcept { m_tooltip = tooltip; }

    bool OnReflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    void OnAttached() override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    friend class CButtonRgnTestDriver;

    void DrawItem(const DRAWITEMSTRUCT& item);
    void DrawPicture(HDC dc, const RECT& rect, HBITMAP picture) const;
    void DrawTiled(HDC dc, const RECT& rect, HDC pictureDc, SIZE pictureSize) const;
    // Shows or clears the pushed look from whether the window under a
    // screen point is this button. Answers true when the look changed.
    bool FollowPointer(POINT screen);
    HFONT CaptionFont(HDC dc);
    void OnLButtonDown(WPARAM wParam, LPARAM lParam);
    void DrawFocus(HDC dc, const RECT& rect) const;
    void RelayToToolTip(UINT message, WPARAM wParam, LPARAM lParam) const;
    void Repaint() const;

    int m_edgeMode = kNoEdge;
    int m_placement = kOwnSize;
    HCURSOR m_cursor = nullptr;
    bool m_hover = false;
    bool m_tracking = false;
    fw::GdiBitmap m_normal;
    fw::GdiBitmap m_pressed;
    fw::GdiBitmap m_disabled;
    fw::GdiBitmap m_mask;
    fw::GdiBitmap m_hoverPicture;
    short m_focusInset = kAutoFocusInset;
    bool m_drawsCaption = true;
    COLORREF m_captionColor;
    HWND m_tooltip = nullptr;
    fw::GdiFont m_captionFont;
    int m_pointSize = 9;
    int m_fittedPointSize = 9;
};
