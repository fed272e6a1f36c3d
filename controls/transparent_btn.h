// A radio button (or check box) placed over the dialog's picture: the picture
// shows through around its glyph and caption.
//
// With visual styles the stock button fills its rectangle with the parent's
// background (DrawThemeParentBackground), which hides a sibling picture
// beneath it, and a button that paints no background at all leaves stale
// glyphs and focus marks behind. So this control paints itself, double
// buffered: first what lies behind it (the parent's background and the
// siblings beneath it), then its glyph, caption and focus mark.
#pragma once

#include "framework/control.h"

class CTransparentBtn : public fw::Control {
public:
    bool OnReflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Paint(HDC dc);
    void PaintBackdrop(HDC dc, const RECT& client) const;
    void PaintGlyph(HDC dc, const RECT& box, LRESULT state) const;
    void PaintCaption(HDC dc, const RECT& area, LRESULT state);
};
