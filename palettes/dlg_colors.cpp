#include "palettes/dlg_colors.h"

#include "resource.h"

namespace {

struct Swatch {
    int controlId;
    COLORREF colour;
};

// Row by row as shown; the ids do not run in screen order.
constexpr std::array<Swatch, CDlgColors::kSwatchCount> kSwatches{{
    {IDC_SWATCH_R1C1, RGB(255, 0, 10)},
    {IDC_SWATCH_R1C2, RGB(153, 0, 47)},
    {IDC_SWATCH_R1C3, RGB(255, 126, 0)},
    {IDC_SWATCH_R1C4, RGB(255, 194, 14)},
    {IDC_SWATCH_R1C5, RGB(255, 242, 0)},
    {IDC_SWATCH_R1C6, RGB(0, 0, 0)},
    {IDC_SWATCH_R2C1, RGB(168, 231, 29)},
    {IDC_SWATCH_R2C2, RGB(9, 120, 0)},
    {IDC_SWATCH_R2C3, RGB(0, 183, 240)},
    {IDC_SWATCH_R2C4, RGB(0, 32, 234)},
    {IDC_SWATCH_R2C5, RGB(46, 54, 153)},
    {IDC_SWATCH_R2C6, RGB(255, 255, 255)},
}};

} // namespace

CDlgColors::CDlgColors() noexcept : fw::Dialog(IDD_COLORS), m_currentColor(RGB(255, 0, 10)) {}

COLORREF CDlgColors::SwatchColor(int controlId) noexcept {
    for (const Swatch& swatch : kSwatches) {
        if (swatch.controlId == controlId)
            return swatch.colour;
    }
    return kNoColor;
}

void CDlgColors::SetCurrentColor(COLORREF colour) {
    m_currentColor = colour;
    ShowCurrentColor();
}

void CDlgColors::ShowCurrentColor() {
    if (!m_currentBox.Hwnd())
        return;
    m_currentBox.SetColors(CColorStaticST::ColorIndex::Background,
                           m_currentColor == kNoColor ? ::GetSysColor(COLOR_BTNFACE)
                                                      : m_currentColor);
}

void CDlgColors::DoDataExchange() {
    Bind(m_currentBox, IDC_CURRENT_COLOR);
    for (size_t i = 0; i < kSwatches.size(); ++i)
        Bind(m_swatches[i], kSwatches[i].controlId);
}

BOOL CDlgColors::OnInitDialog() {
    fw::Dialog::OnInitDialog();
    for (size_t i = 0; i < kSwatches.size(); ++i)
        m_swatches[i].SetColors(CColorStaticST::ColorIndex::Background, kSwatches[i].colour);
    ShowCurrentColor();
    return TRUE;
}

bool CDlgColors::OnCommand(WORD id, WORD notifyCode, HWND control) {
    const COLORREF colour = SwatchColor(id);
    if (colour != kNoColor && control) {
        // Only the palette changes: the canvas reads the colour when it
        // next needs it.
        if (notifyCode == STN_CLICKED)
            SetCurrentColor(colour);
        return true;
    }
    return fw::Dialog::OnCommand(id, notifyCode, control);
}
