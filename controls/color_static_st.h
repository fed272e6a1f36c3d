// A static control with its own text and background colours, bold and
// underline switches and a cursor.
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
    COLORREF GetColor(ColorIndex which) const noexcept {
        return which == ColorIndex::Background ? m_background : m_textColor;
    }
    // These take effect with the caption font, which is built once, at the
    // first paint after the control is bound.
    void SetBold(bool bold) noexcept { m_bold = bold; }
    void SetUnderline(bool underline) noexcept { m_underline = underline; }
    // Cursor over the control; null keeps the class cursor. Not owned.
    void SetStaticCursor(HCURSOR cursor) noexcept { m_cursor = cursor; }

    bool OnReflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    HFONT CaptionFont();
    HBRUSH BackgroundBrush();
    void Repaint() const;

    bool m_underline = false;
    bool m_bold = false;
    COLORREF m_textColor;
    fw::GdiFont m_captionFont;
    HFONT m_originalFont = nullptr; // not owned
    HCURSOR m_cursor = nullptr;
    COLORREF m_background;
    fw::GdiBrush m_backgroundBrush;
};
