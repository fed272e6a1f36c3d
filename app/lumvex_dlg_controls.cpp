// The main window's controls: the table of them, and what reads it to bind
// them, stack them, give them their pictures, measure them for the layout
// and move them to where it puts them.
#include "app/lumvex_dlg.h"

#include "app/window_geometry.h"
#include "common/pictures.h"
#include "framework/picture.h"

#include "resource.h"

namespace {

// One picture for every state of a button, no shape mask.
void SetButtonPicture(CButtonRgn& button, PictureCache& pictures, UINT bitmap, UINT pictureDpi) {
    ButtonBitmaps bitmaps;
    bitmaps.normal = pictures.Get(bitmap, pictureDpi);
    bitmaps.pressed = pictures.Get(bitmap, pictureDpi);
    bitmaps.disabled = pictures.Get(bitmap, pictureDpi);
    button.SetBitmaps(std::move(bitmaps));
}

constexpr Size kToolButtonSize{62, 62};

// A tool's button: its tool's row says the rest.
constexpr MainControlRow ToolControl(Tool tool, fw::Control* (*member)(CLumvexDlg&)) {
    const ToolRow& row = RowOf(tool);
    return {row.button,
            member,
            IDC_TOOLS_PICTURE,
            kToolButtonSize,
            row.picture,
            row.selectedPicture,
            row.slot,
            Waits::Nothing,
            &MainLayoutInput::toolButton,
            Measured::Window,
            0};
}

} // namespace

// In drawing order: each row is placed after the rows above it. Controls
// lying on the same sibling keep their order here, and Tab follows the
// drawing order: the tools row by row, Undo, Redo, the palette, then the
// zoom buttons and the submit panel, which lie on the column.
const MainControlRow CLumvexDlg::kControls[] = {
    {IDC_TOOL_COLUMN,
     [](CLumvexDlg& d) -> fw::Control* { return &d.m_column; },
     0,
     {},
     0,
     0,
     &MainLayout::column,
     Waits::Nothing,
     nullptr,
     Measured::Window,
     0},
    {IDC_LOGO,
     [](CLumvexDlg& d) -> fw::Control* { return &d.m_logo; },
     IDC_TOOL_COLUMN,
     {},
     IDB_LOGO,
     0,
     &MainLayout::logo,
     Waits::Nothing,
     &MainLayoutInput::logo,
     Measured::Picture,
     0},
    {IDC_TOOLS_PICTURE,
     nullptr,
     IDC_TOOL_COLUMN,
     {},
     IDB_TOOLS_PANEL,
     0,
     &MainLayout::toolsPicture,
     Waits::Nothing,
     &MainLayoutInput::toolsPicture,
     Measured::Window,
     0},
    ToolControl(Tool::Pointer,
                [](CLumvexDlg& d) -> fw::Control* { return &d.ToolButton(Tool::Pointer); }),
    ToolControl(Tool::Highlight,
                [](CLumvexDlg& d) -> fw::Control* { return &d.ToolButton(Tool::Highlight); }),
    ToolControl(Tool::Text,
                [](CLumvexDlg& d) -> fw::Control* { return &d.ToolButton(Tool::Text); }),
    ToolControl(Tool::Arrow,
                [](CLumvexDlg& d) -> fw::Control* { return &d.ToolButton(Tool::Arrow); }),
    ToolControl(Tool::Crop,
                [](CLumvexDlg& d) -> fw::Control* { return &d.ToolButton(Tool::Crop); }),
    ToolControl(Tool::Pen, [](CLumvexDlg& d) -> fw::Control* { return &d.ToolButton(Tool::Pen); }),
    {IDC_UNDO,
     [](CLumvexDlg& d) -> fw::Control* { return &d.m_undo; },
     IDC_TOOLS_PICTURE,
     {62, 31},
     IDB_UNDO,
     0,
     &MainLayout::undo,
     Waits::Nothing,
     &MainLayoutInput::undoRedoButton,
     Measured::Window,
     0},
    {IDC_REDO,
     [](CLumvexDlg& d) -> fw::Control* { return &d.m_redo; },
     IDC_TOOLS_PICTURE,
     {62, 31},
     IDB_REDO,
     0,
     &MainLayout::redo,
     Waits::Nothing,
     &MainLayoutInput::undoRedoButton,
     Measured::Window,
     0},
    {IDC_ZOOM_ACTUAL,
     [](CLumvexDlg& d) -> fw::Control* { return &d.m_zoomActual; },
     IDC_TOOL_COLUMN,
     {84, 29},
     IDB_ZOOM_ACTUAL,
     IDB_ZOOM_ACTUAL_SEL,
     &MainLayout::actualSize,
     Waits::Nothing,
     &MainLayoutInput::actualSizeButton,
     Measured::Window,
     0},
    {IDC_ZOOM_FIT,
     [](CLumvexDlg& d) -> fw::Control* { return &d.m_zoomFit; },
     IDC_TOOL_COLUMN,
     {84, 29},
     IDB_ZOOM_FIT,
     IDB_ZOOM_FIT_SEL,
     &MainLayout::fit,
     Waits::Nothing,
     &MainLayoutInput::fitButton,
     Measured::Window,
     0},
    {IDC_PALETTE_HOST,
     nullptr,
     IDC_TOOLS_PICTURE,
     {},
     0,
     0,
     &MainLayout::palette,
     Waits::Palette,
     &MainLayoutInput::palette,
     Measured::Panel,
     0},
    {IDC_ZOOM_HOST,
     nullptr,
     IDC_TOOLS_PICTURE,
     {},
     0,
     0,
     nullptr,
     Waits::Nothing,
     nullptr,
     Measured::Window,
     0},
    {IDC_SUBMIT_HOST,
     nullptr,
     IDC_TOOL_COLUMN,
     {},
     0,
     0,
     &MainLayout::submit,
     Waits::SubmitPanel,
     &MainLayoutInput::submitPanel,
     Measured::Panel,
     IDB_SUBMIT_PANEL},
    {IDC_STATUS_HOST,
     [](CLumvexDlg& d) -> fw::Control* { return &d.m_statusBackground; },
     0,
     {},
     0,
     0,
     &MainLayout::status,
     Waits::Nothing,
     nullptr,
     Measured::Window,
     0},
    {IDC_DRAWING_SURFACE,
     [](CLumvexDlg& d) -> fw::Control* { return &d.m_surface; },
     0,
     {},
     0,
     0,
     &MainLayout::surface,
     Waits::Nothing,
     nullptr,
     Measured::Window,
     0},
    {IDC_VSCROLL,
     nullptr,
     0,
     {},
     0,
     0,
     &MainLayout::vertScroll,
     Waits::Nothing,
     &MainLayoutInput::vertScrollBar,
     Measured::Window,
     0},
    {IDC_HSCROLL,
     nullptr,
     0,
     {},
     0,
     0,
     &MainLayout::horzScroll,
     Waits::Nothing,
     &MainLayoutInput::horzScrollBar,
     Measured::Window,
     0},
};

std::span<const MainControlRow> CLumvexDlg::Controls() noexcept {
    return kControls;
}

void CLumvexDlg::DoDataExchange() {
    for (const MainControlRow& row : kControls) {
        if (row.member)
            Bind(*row.member(*this), row.id);
    }
}

CButtonRgn* CLumvexDlg::ButtonOfRow(const MainControlRow& row) {
    return row.member ? dynamic_cast<CButtonRgn*>(row.member(*this)) : nullptr;
}

void CLumvexDlg::PlaceControls() {
    for (const MainControlRow& row : kControls) {
        HWND control = Item(row.id);
        if (!control)
            continue;
        UINT flags = SWP_NOMOVE | SWP_NOACTIVATE;
        HWND above = nullptr;
        if (row.liesOn == 0) {
            flags |= SWP_NOZORDER;
        } else {
            // Directly above the sibling: right after the one above it.
            above = ::GetWindow(Item(row.liesOn), GW_HWNDPREV);
            if (!above)
                above = HWND_TOP;
        }
        if (row.size.cx == 0)
            flags |= SWP_NOSIZE;
        // Sized with the pictures they show.
        ::SetWindowPos(control, above, 0, 0, fw::Scale(row.size.cx, m_pictureDpi),
                       fw::Scale(row.size.cy, m_pictureDpi), flags);
    }
}

void CLumvexDlg::UpdatePictures() {
    for (const MainControlRow& row : kControls) {
        if (row.picture == 0 || ButtonOfRow(row))
            continue;
        HWND control = Item(row.id);
        if (!control)
            continue;
        // The control takes its picture's size.
        SetStaticPicture(control, m_pictures.Get(row.picture, m_pictureDpi),
                         m_staticPictures[row.id]);
    }
    UpdateButtonPictures();
}

void CLumvexDlg::UpdateButtonPictures() {
    const int chosenTool = RowOf(m_tool).button;
    const int chosenZoom = m_fit ? IDC_ZOOM_FIT : IDC_ZOOM_ACTUAL;
    for (const MainControlRow& row : kControls) {
        if (row.picture == 0)
            continue;
        if (CButtonRgn* button = ButtonOfRow(row)) {
            const bool chosen = row.id == chosenTool || row.id == chosenZoom;
            SetButtonPicture(*button, m_pictures,
                             chosen && row.selectedPicture ? row.selectedPicture : row.picture,
                             m_pictureDpi);
        }
    }
}

MainLayoutInput CLumvexDlg::MeasureLayoutInput(HWND window, UINT dpi, UINT pictureDpi,
                                               PictureCache& pictures) {
    RECT client{};
    ::GetClientRect(window, &client);
    MainLayoutInput in;
    in.client = {client.right, client.bottom};
    in.dpi = dpi;
    in.pictureDpi = pictureDpi;
    for (const MainControlRow& row : kControls) {
        if (!row.input)
            continue;
        HWND control = ::GetDlgItem(window, row.id);
        switch (row.measured) {
        case Measured::Window:
            in.*row.input = SizeOf(control);
            break;
        case Measured::Panel:
            in.*row.input = SizeOf(control ? ::GetWindow(control, GW_CHILD) : nullptr);
            break;
        case Measured::Picture: {
            const SIZE drawn = pictures.SizeOf(row.picture, pictureDpi);
            in.*row.input = {drawn.cx, drawn.cy};
            break;
        }
        }
    }
    // The column's own bar is as wide as the surface's.
    in.columnScrollWidth = in.vertScrollBar.cx;
    return in;
}

MainLayoutInput CLumvexDlg::MeasureLayoutInput() {
    MainLayoutInput in = MeasureLayoutInput(Hwnd(), m_dpi, m_pictureDpi, m_pictures);
    in.columnScroll = m_columnScroll.position;
    return in;
}

MainLayoutInput CLumvexDlg::MeasureColumnAtPicture96() {
    // The column's sizes with 96-DPI pictures: a button's own, a picture
    // control's picture's, the panels' pictures'.
    MainLayoutInput in = MeasureLayoutInput();
    for (const MainControlRow& row : kControls) {
        if (!row.input)
            continue;
        if (row.size.cx != 0) {
            in.*row.input = row.size;
        } else if (row.waits == Waits::Palette) {
            const SIZE palette = CDlgColors::PanelSize(96);
            in.*row.input = {palette.cx, palette.cy};
        } else if (const UINT picture =
                       row.measured == Measured::Panel ? row.panelPicture : row.picture) {
            const SIZE drawn = m_pictures.SizeOf(picture, 96);
            in.*row.input = {drawn.cx, drawn.cy};
        }
    }
    return in;
}

void CLumvexDlg::MoveControlsTo(const MainLayout& layout) {
    for (const MainControlRow& row : kControls) {
        HWND control = Item(row.id);
        if (!control || !row.slot)
            continue;
        // A placeholder whose panel is missing would sit wherever the
        // template put it, over the drawing area: it goes out of the way.
        if ((row.waits == Waits::Palette && !m_colors.Hwnd()) ||
            (row.waits == Waits::SubmitPanel && !m_sendRequest.Hwnd())) {
            ::ShowWindow(control, SW_HIDE);
            continue;
        }
        if (row.waits != Waits::Nothing && !::IsWindowVisible(control))
            ::ShowWindow(control, SW_SHOWNA);
        if (row.measured == Measured::Picture)
            ShowLogo(row, layout.*row.slot);
        else
            MoveTo(control, layout.*row.slot);
    }
}

void CLumvexDlg::ShowLogo(const MainControlRow& row, const Rect& rect) {
    HWND logo = Item(row.id);
    const Size size{rect.Width(), rect.Height()};
    if (size.cy <= 0) {
        ::ShowWindow(logo, SW_HIDE);
        return;
    }
    // The picture control takes its picture's size: a smaller logo is a
    // smaller picture.
    const SIZE drawn = m_pictures.SizeOf(row.picture, m_pictureDpi);
    const SIZE shown = fw::BitmapSize(m_staticPictures[row.id].get());
    if (shown.cx != size.cx || shown.cy != size.cy) {
        fw::GdiBitmap picture = m_pictures.Get(row.picture, m_pictureDpi);
        if (drawn.cx != size.cx || drawn.cy != size.cy)
            picture = fw::ScaleBitmap(picture.get(), SIZE{size.cx, size.cy});
        SetStaticPicture(logo, std::move(picture), m_staticPictures[row.id]);
    }
    MoveTo(logo, rect);
    ::ShowWindow(logo, SW_SHOWNA);
}
