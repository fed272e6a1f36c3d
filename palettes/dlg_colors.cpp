#include "palettes/dlg_colors.h"

#include "common/pictures.h"
#include "framework/dpi.h"
#include "palettes/swatch_navigation.h"

#include "resource.h"

namespace {

struct Swatch {
    int controlId;
    COLORREF colour;
    const wchar_t* name;
};

constexpr size_t kSwatchesPerRow = 6;

// Row by row as shown; the ids do not run in screen order.
constexpr std::array<Swatch, CDlgColors::kSwatchCount> kSwatches{{
    {IDC_SWATCH_R1C1, RGB(255, 0, 10), L"Red"},
    {IDC_SWATCH_R1C2, RGB(153, 0, 47), L"Dark red"},
    {IDC_SWATCH_R1C3, RGB(255, 126, 0), L"Orange"},
    {IDC_SWATCH_R1C4, RGB(255, 194, 14), L"Amber"},
    {IDC_SWATCH_R1C5, RGB(255, 242, 0), L"Yellow"},
    {IDC_SWATCH_R1C6, RGB(0, 0, 0), L"Black"},
    {IDC_SWATCH_R2C1, RGB(168, 231, 29), L"Light green"},
    {IDC_SWATCH_R2C2, RGB(9, 120, 0), L"Green"},
    {IDC_SWATCH_R2C3, RGB(0, 183, 240), L"Light blue"},
    {IDC_SWATCH_R2C4, RGB(0, 32, 234), L"Blue"},
    {IDC_SWATCH_R2C5, RGB(46, 54, 153), L"Dark blue"},
    {IDC_SWATCH_R2C6, RGB(255, 255, 255), L"White"},
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

const wchar_t* CDlgColors::SwatchName(int controlId) noexcept {
    for (const Swatch& swatch : kSwatches) {
        if (swatch.controlId == controlId)
            return swatch.name;
    }
    return nullptr;
}

RECT CDlgColors::SlotRect(size_t slot, UINT pictureDpi) noexcept {
    // At 96 DPI: the box 28 px square at (19, 39); the swatches 14 px square,
    // 17 px apart, from (56, 39) in the first row and (56, 56) in the second.
    RECT rect{};
    if (slot == 0) {
        rect = RECT{19, 39, 47, 67};
    } else if (slot <= kSwatchCount) {
        const int column = static_cast<int>((slot - 1) % 6);
        const int row = static_cast<int>((slot - 1) / 6);
        const int left = 56 + column * 17;
        const int top = 39 + row * 17;
        rect = RECT{left, top, left + 14, top + 14};
    }
    return fw::Scale(rect, pictureDpi);
}

SIZE CDlgColors::PanelSize(UINT pictureDpi) noexcept {
    return SIZE{fw::Scale(177, pictureDpi), fw::Scale(89, pictureDpi)};
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
    MoveTabStop();
}

void CDlgColors::MoveTabStop() {
    size_t stop = 0;
    for (size_t i = 0; i < kSwatches.size(); ++i) {
        if (kSwatches[i].colour == m_currentColor)
            stop = i;
    }
    for (size_t i = 0; i < kSwatches.size(); ++i) {
        HWND swatch = m_swatches[i].Hwnd();
        const LONG_PTR style = ::GetWindowLongPtrW(swatch, GWL_STYLE);
        ::SetWindowLongPtrW(swatch, GWL_STYLE,
                            i == stop ? style | WS_TABSTOP : style & ~LONG_PTR{WS_TABSTOP});
    }
}

bool CDlgColors::PreTranslateMessage(MSG* message) {
    if (message->message != WM_KEYDOWN || !Hwnd())
        return false;
    for (size_t i = 0; i < kSwatches.size(); ++i) {
        if (m_swatches[i].Hwnd() != message->hwnd)
            continue;
        const size_t to = SwatchInDirection(i, message->wParam, kSwatchesPerRow, kSwatches.size());
        if (to == i)
            return false;
        // Through the window that runs the dialog manager, which keeps track
        // of the focus.
        ::SendMessageW(::GetAncestor(Hwnd(), GA_ROOT), WM_NEXTDLGCTL,
                       reinterpret_cast<WPARAM>(m_swatches[to].Hwnd()), TRUE);
        return true;
    }
    return false;
}

void CDlgColors::DoDataExchange() {
    Bind(m_currentBox, IDC_CURRENT_COLOR);
    for (size_t i = 0; i < kSwatches.size(); ++i)
        Bind(m_swatches[i], kSwatches[i].controlId);
}

void CDlgColors::SetPictureDpi(UINT pictureDpi) {
    if (!Hwnd())
        return;
    // The panel is its picture, and the box and swatches sit on the slots
    // that picture paints (dialog units would follow the font instead, and
    // drift off them).
    const SIZE size = PanelSize(pictureDpi);
    ::SetWindowPos(Hwnd(), nullptr, 0, 0, size.cx, size.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (HWND background = Item(IDC_COLORS_BACKGROUND)) {
        SetStaticPicture(background, LoadPicture(IDB_COLORS_PANEL, pictureDpi), m_picture);
        // Under the controls that lie on it, for painting and the mouse alike.
        ::SetWindowPos(background, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    }
    auto place = [](HWND control, const RECT& rect) {
        ::SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left,
                       rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(m_currentBox.Hwnd(), SlotRect(0, pictureDpi));
    for (size_t i = 0; i < kSwatches.size(); ++i)
        place(m_swatches[i].Hwnd(), SlotRect(i + 1, pictureDpi));
}

BOOL CDlgColors::OnInitDialog() {
    fw::Dialog::OnInitDialog();
    SetPictureDpi(NearestPictureDpi(fw::DpiOf(Hwnd())));
    for (size_t i = 0; i < kSwatches.size(); ++i) {
        m_swatches[i].SetColorField(true);
        ::SetWindowTextW(m_swatches[i].Hwnd(), kSwatches[i].name);
        m_swatches[i].SetColors(CColorStaticST::ColorIndex::Background, kSwatches[i].colour);
    }
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
