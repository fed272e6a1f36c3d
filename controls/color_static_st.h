// A static control with its own text and background colours, bold and
// underline switches and a cursor. Given WS_TABSTOP and SS_NOTIFY it is a
// link or a swatch a keyboard can reach: it shows a focus cue while it has
// the focus, and Enter or Space act as a click (STN_CLICKED).
#pragma once

#include "framework/control.h"
#include "framework/handles.h"

#include <windows.h>

class CColorStaticST : public fw::Control {
public:
    enum class ColorIndex { Background, Text };

    CColorStaticST();
    ~CColorStaticST() override;

    // Stores the colour and repaints; a background colour gets a new brush.
    void SetColors(ColorIndex which, COLORREF colour);
    // These take effect with the caption font, which is built once, at the
    // first paint after the control is bound.
    void SetBold(bool bold) noexcept { m_bold = bold; }
    void SetUnderline(bool underline) noexcept { m_underline = underline; }
    // Cursor over the control; null keeps the class cursor. Not owned.
    void SetStaticCursor(HCURSOR cursor) noexcept { m_cursor = cursor; }
    // A colour field shows its background colour only: its window text is
    // its name for screen readers and is not drawn.
    void SetColorField(bool field);

    bool OnReflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    friend class CColorStaticSTTestDriver;

    HFONT CaptionFont();
    HBRUSH BackgroundBrush();
    void Repaint() const;
    void OnPaint();
    void NotifyClicked() const;

    bool m_underline = false;
    bool m_bold = false;
    bool m_colorField = false;
    COLORREF m_textColor;
    fw::GdiFont m_captionFont;
    HFONT m_originalFont = nullptr; // not owned
    HCURSOR m_cursor = nullptr;
    COLORREF m_background;
    fw::GdiBrush m_backgroundBrush;
};
