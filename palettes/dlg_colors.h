// The colour palette beside the canvas: twelve swatches and a box with the
// colour the next annotation is drawn in. It fires no events; its owner
// reads the current colour when it needs it. Tab reaches the swatch of the
// current colour, the arrow keys move between swatches, and Space or Enter
// picks the one with the focus.
#pragma once

#include "controls/color_static_st.h"
#include "framework/dialog.h"
#include "framework/handles.h"

#include <windows.h>

#include <array>

class CDlgColors : public fw::Dialog {
public:
    // The value for "no colour", shown in the button-face colour.
    static constexpr COLORREF kNoColor = 0xFFFFFFFF;
    static constexpr int kSwatchCount = 12;

    CDlgColors() noexcept;

    COLORREF GetCurrentColor() const noexcept { return m_currentColor; }
    // Makes a colour current and shows it in the current-colour box.
    void SetCurrentColor(COLORREF colour);

    // The colour of the swatch with this control id, or kNoColor.
    static COLORREF SwatchColor(int controlId) noexcept;

    // Arrow keys on a swatch move the focus to its neighbour.
    bool PreTranslateMessage(MSG* message) override;

    // Where the panel's picture paints its slots, in panel pixels at the
    // picture's DPI: slot 0 holds the current-colour box, slots 1 to 12 the
    // swatches row by row. The controls sit exactly on them.
    static RECT SlotRect(size_t slot, UINT pictureDpi) noexcept;
    // The panel's size: the visible part of its picture.
    static SIZE PanelSize(UINT pictureDpi) noexcept;
    // Shows the picture drawn for pictureDpi (96, 144 or 192) and puts the
    // controls on its slots; at creation, the one nearest the panel's DPI.
    void SetPictureDpi(UINT pictureDpi);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange() override;
    bool OnCommand(WORD id, WORD notifyCode, HWND control) override;

private:
    friend class CDlgColorsTestDriver;

    // The swatch's name, which screen readers read out; null for no swatch.
    static const wchar_t* SwatchName(int controlId) noexcept;
    void ShowCurrentColor();
    // Tab stops at one swatch only, the current colour's (or the first).
    void MoveTabStop();

    COLORREF m_currentColor;
    CColorStaticST m_currentBox;
    std::array<CColorStaticST, kSwatchCount> m_swatches;
    // The panel's picture at its scale; the picture control does not own it.
    fw::GdiBitmap m_picture;
};
