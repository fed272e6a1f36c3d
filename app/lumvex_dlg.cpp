#include "app/lumvex_dlg.h"

#include "app/about_dlg.h"
#include "app/keyboard_shortcuts.h"
#include "app/main_layout.h"
#include "app/screen_capture.h"
#include "canvas/pointer_item_factory.h"
#include "canvas/simple_item_factories.h"
#include "common/pictures.h"
#include "controls/window_text.h"
#include "framework/application.h"
#include "framework/picture.h"
#include "framework/system_library.h"
#include "mail/email_sender.h"
#include "mail/mail_client.h"
#include "mail/screenshot_email.h"
#include "upload/app_settings.h"
#include "upload/dlg_settings.h"
#include "upload/dlg_upload.h"

#include "resource.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

namespace {

struct ToolInfo {
    Tool tool;
    int button;
    WORD menuCommand;
};

constexpr ToolInfo kTools[] = {
    {Tool::Pointer, IDC_TOOL_POINTER, ID_CTX_TOOL_POINTER},
    {Tool::Pen, IDC_TOOL_PEN, ID_CTX_TOOL_PEN},
    {Tool::Highlight, IDC_TOOL_HIGHLIGHT, ID_CTX_TOOL_HIGHLIGHT},
    {Tool::Text, IDC_TOOL_TEXT, ID_CTX_TOOL_TEXT},
    {Tool::Arrow, IDC_TOOL_ARROW, ID_CTX_TOOL_ARROW},
    {Tool::Crop, IDC_TOOL_CROP, ID_CTX_TOOL_CROP},
};

int ButtonOf(Tool tool) {
    for (const ToolInfo& info : kTools) {
        if (info.tool == tool)
            return info.button;
    }
    return 0;
}

const ToolInfo* FindTool(int id) {
    for (const ToolInfo& info : kTools) {
        if (info.button == id || info.menuCommand == id)
            return &info;
    }
    return nullptr;
}

std::unique_ptr<CCanvasItemFactory> MakeFactory(Tool tool, CCanvasPanel* canvas) {
    switch (tool) {
    case Tool::Pointer:
        return std::make_unique<CPointerItemFactory>(canvas);
    case Tool::Pen:
        return std::make_unique<CPenItemFactory>(canvas);
    case Tool::Highlight:
        return std::make_unique<CHighlightItemFactory>(canvas);
    case Tool::Text:
        return std::make_unique<CTextItemFactory>(canvas);
    case Tool::Arrow:
        return std::make_unique<CArrowItemFactory>(canvas);
    case Tool::Crop:
        return std::make_unique<CCropItemFactory>(canvas);
    }
    return nullptr;
}

// What must exist before a control is laid out.
enum class Waits { Nothing, Palette, SubmitPanel };

// One picture for every state of a button, no shape mask.
void SetButtonPicture(CButtonRgn& button, PictureCache& pictures, UINT bitmap, UINT pictureDpi) {
    ButtonBitmaps bitmaps;
    bitmaps.normal = pictures.Get(bitmap, pictureDpi);
    bitmaps.pressed = pictures.Get(bitmap, pictureDpi);
    bitmaps.disabled = pictures.Get(bitmap, pictureDpi);
    button.SetBitmaps(std::move(bitmaps));
}

RECT WindowRectIn(HWND parent, HWND child) {
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

Size SizeOf(HWND window) {
    if (!window || !::IsWindow(window))
        return {};
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

void MoveTo(HWND window, const RECT& rect) {
    if (window)
        ::MoveWindow(window, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                     TRUE);
}

void ShowError(HWND owner, const wchar_t* text) {
    ::MessageBoxW(owner, text, L"Error", MB_ICONERROR);
}

constexpr wchar_t kNotSaved[] = L"The screenshot could not be saved.";
constexpr wchar_t kTransferFailed[] = L"There was a problem while uploading. Transfer failed!";

// The stream's size; 0 when it cannot tell.
ULONGLONG StreamSize(IStream* stream) {
    STATSTG stat{};
    return SUCCEEDED(stream->Stat(&stat, STATFLAG_NONAME)) ? stat.cbSize.QuadPart : 0;
}

} // namespace

struct CLumvexDlg::ControlRow {
    int id;
    // The object bound to the control; null for a plain control.
    fw::Control* (*member)(CLumvexDlg&);
    // The sibling it lies on: it goes directly above it in the drawing
    // order, so that it is painted over it and gets the mouse there (the
    // pictures it lies on clip their siblings); 0 keeps the template's order.
    int liesOn;
    // Its size at 96 DPI, scaled with the pictures it shows; {0, 0} keeps
    // its own (a picture control takes its picture's).
    Size size;
    // A button's picture, and the one while its tool or zoom mode is chosen;
    // a picture control's picture.
    UINT picture;
    UINT selectedPicture;
    // Where the layout puts it; null: the layout leaves it alone.
    RECT MainLayout::*slot;
    Waits waits;
};

// In drawing order: each row is placed after the rows above it. Controls
// lying on the same sibling keep their order here, and Tab follows the
// drawing order: the tools row by row, Undo, Redo, the palette, then the
// zoom buttons and the submit panel, which lie on the column.
const CLumvexDlg::ControlRow CLumvexDlg::kControls[] = {
    {IDC_TOOL_COLUMN,
     [](CLumvexDlg& d) -> fw::Control* { return &d.m_column; },
     0,
     {},
     0,
     0,
     &MainLayout::column,
     Waits::Nothing},
    {IDC_LOGO,
     [](CLumvexDlg& d) -> fw::Control* { return &d.m_logo; },
     IDC_TOOL_COLUMN,
     {},
     IDB_LOGO,
     0,
     &MainLayout::logo,
     Waits::Nothing},
    {IDC_TOOLS_PICTURE,
     nullptr,
     IDC_TOOL_COLUMN,
     {},
     IDB_TOOLS_PANEL,
     0,
     &MainLayout::toolsPicture,
     Waits::Nothing},
    {IDC_TOOL_POINTER,
     [](CLumvexDlg& d) -> fw::Control* { return &d.m_toolButtons[5]; },
     IDC_TOOLS_PICTURE,
     {62, 62},
     IDB_TOOL_POINTER,
     IDB_TOOL_POINTER_SEL,
     &MainLayout::pointer,
     Waits::Nothing},
    {IDC_TOOL_HIGHLIGHT,
     [](CLumvexDlg& d) -> fw::Control* { return &d.m_toolButtons[1]; },
     IDC_TOOLS_PICTURE,
     {62, 62},
     IDB_TOOL_HIGHLIGHT,
     IDB_TOOL_HIGHLIGHT_SEL,
     &MainLayout::highlight,
     Waits::Nothing},
    {IDC_TOOL_TEXT,
     [](CLumvexDlg& d) -> fw::Control* { return &d.m_toolButtons[2]; },
     IDC_TOOLS_PICTURE,
     {62, 62},
     IDB_TOOL_TEXT,
     IDB_TOOL_TEXT_SEL,
     &MainLayout::text,
     Waits::Nothing},
    {IDC_TOOL_ARROW,
     [](CLumvexDlg& d) -> fw::Control* { return &d.m_toolButtons[4]; },
     IDC_TOOLS_PICTURE,
     {62, 62},
     IDB_TOOL_ARROW,
     IDB_TOOL_ARROW_SEL,
     &MainLayout::arrow,
     Waits::Nothing},
    {IDC_TOOL_CROP,
     [](CLumvexDlg& d) -> fw::Control* { return &d.m_toolButtons[3]; },
     IDC_TOOLS_PICTURE,
     {62, 62},
     IDB_TOOL_CROP,
     IDB_TOOL_CROP_SEL,
     &MainLayout::crop,
     Waits::Nothing},
    {IDC_TOOL_PEN,
     [](CLumvexDlg& d) -> fw::Control* { return &d.m_toolButtons[0]; },
     IDC_TOOLS_PICTURE,
     {62, 62},
     IDB_TOOL_PEN,
     IDB_TOOL_PEN_SEL,
     &MainLayout::pen,
     Waits::Nothing},
    {IDC_UNDO,
     [](CLumvexDlg& d) -> fw::Control* { return &d.m_undo; },
     IDC_TOOLS_PICTURE,
     {62, 31},
     IDB_UNDO,
     0,
     &MainLayout::undo,
     Waits::Nothing},
    {IDC_REDO,
     [](CLumvexDlg& d) -> fw::Control* { return &d.m_redo; },
     IDC_TOOLS_PICTURE,
     {62, 31},
     IDB_REDO,
     0,
     &MainLayout::redo,
     Waits::Nothing},
    {IDC_ZOOM_ACTUAL,
     [](CLumvexDlg& d) -> fw::Control* { return &d.m_zoomActual; },
     IDC_TOOL_COLUMN,
     {84, 29},
     IDB_ZOOM_ACTUAL,
     IDB_ZOOM_ACTUAL_SEL,
     &MainLayout::actualSize,
     Waits::Nothing},
    {IDC_ZOOM_FIT,
     [](CLumvexDlg& d) -> fw::Control* { return &d.m_zoomFit; },
     IDC_TOOL_COLUMN,
     {84, 29},
     IDB_ZOOM_FIT,
     IDB_ZOOM_FIT_SEL,
     &MainLayout::fit,
     Waits::Nothing},
    {IDC_PALETTE_HOST, nullptr, IDC_TOOLS_PICTURE, {}, 0, 0, &MainLayout::palette, Waits::Palette},
    {IDC_ZOOM_HOST, nullptr, IDC_TOOLS_PICTURE, {}, 0, 0, nullptr, Waits::Nothing},
    {IDC_SUBMIT_HOST, nullptr, IDC_TOOL_COLUMN, {}, 0, 0, &MainLayout::submit, Waits::SubmitPanel},
    {IDC_STATUS_HOST,
     [](CLumvexDlg& d) -> fw::Control* { return &d.m_statusBackground; },
     0,
     {},
     0,
     0,
     &MainLayout::status,
     Waits::Nothing},
    {IDC_DRAWING_SURFACE,
     [](CLumvexDlg& d) -> fw::Control* { return &d.m_surface; },
     0,
     {},
     0,
     0,
     &MainLayout::surface,
     Waits::Nothing},
    {IDC_VSCROLL, nullptr, 0, {}, 0, 0, &MainLayout::vertScroll, Waits::Nothing},
    {IDC_HSCROLL, nullptr, 0, {}, 0, 0, &MainLayout::horzScroll, Waits::Nothing},
};

CLumvexDlg::CLumvexDlg(CAppSettings& settings, fw::Profile profile)
    : fw::Dialog(IDD_MAIN), m_settings(settings), m_profile(std::move(profile)),
      m_icon(static_cast<HICON>(::LoadImageW(fw::ResourceInstance(), MAKEINTRESOURCEW(IDI_LUMVEX),
                                             IMAGE_ICON, 0, 0, LR_DEFAULTSIZE))),
      m_smallIcon(LoadSmallIcon(IDI_LUMVEX)), m_background(::CreateSolidBrush(RGB(125, 125, 125))),
      m_canvas(m_surface, *this), m_status(settings, m_profile) {}

CLumvexDlg::~CLumvexDlg() {
    // Our own teardown (tray icon, temporary files) runs at WM_DESTROY, which
    // needs the derived object: destroy the window while it still exists.
    DestroyWindow();
    // Tools hold GDI+ objects; GDI+ stops with the canvas.
    m_factory.reset();
}

void CLumvexDlg::DoDataExchange() {
    for (const ControlRow& row : kControls) {
        if (row.member)
            Bind(*row.member(*this), row.id);
    }
}

BOOL CLumvexDlg::OnInitDialog() {
    fw::Dialog::OnInitDialog();

    if (HMENU systemMenu = ::GetSystemMenu(Hwnd(), FALSE)) {
        wchar_t about[128]{};
        if (::LoadStringW(fw::ResourceInstance(), IDS_ABOUTBOX, about, 128) > 0) {
            ::AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, about);
        }
    }
    ::SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon.get()));
    ::SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon.get()));
    m_tray.Add(Hwnd(), WM_TRAY_NOTIFY, m_smallIcon.get(), kTrayTip);

    PlaceOnWorkArea();
    // Above the column's background, shown only while the column scrolls.
    m_columnBar = ::CreateWindowExW(0, L"SCROLLBAR", nullptr, WS_CHILD | SBS_VERT, 0, 0, 0, 0,
                                    Hwnd(), reinterpret_cast<HMENU>(IDC_COLUMN_SCROLL),
                                    fw::ResourceInstance(), nullptr);
    ::SetWindowPos(m_columnBar, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    m_dpi = fw::DpiOf(Hwnd());
    m_pictureDpi = NearestPictureDpi(m_dpi);
    PlaceControls();
    // The program starts with the Crop tool at actual size.
    m_tool = Tool::Crop;
    m_fit = 0;
    UpdatePictures();
    m_factory = MakeFactory(Tool::Crop, &m_canvas);

    m_logo.SetStaticCursor(::LoadCursorW(nullptr, IDC_HAND));
    // What screen readers say for the pictures: the buttons' pictures carry
    // their labels, their window texts name them.
    SetPictureName(m_logo.Hwnd(), kLogoName);
    for (const ControlRow& row : kControls) {
        if (CButtonRgn* button = ButtonOfRow(row))
            button->SetDrawsCaption(false);
    }

    m_sendRequest.CreatePanel(Item(IDC_SUBMIT_HOST));
    // The zoom panel's placeholder is hidden, and so is the panel.
    if (m_zoomPanel.Create(Item(IDC_ZOOM_HOST)))
        m_zoomPanel.AddListener(static_cast<CDlgZoomEvents*>(this));
    m_colors.CreatePanel(Item(IDC_PALETTE_HOST));
    // A panel, so that Tab reaches its links.
    m_status.CreatePanel(Item(IDC_STATUS_HOST));

    m_column.SetColors(CColorStaticST::ColorIndex::Background, RGB(63, 112, 170));
    m_statusBackground.SetColors(CColorStaticST::ColorIndex::Background, RGB(168, 202, 240));

    m_canvas.StartGraphics();
    m_canvas.Connect(this);
    ChooseColumnScale();
    RecalcLayout();
    if (m_notify.Create(nullptr))
        ::ShowWindow(m_notify.Hwnd(), SW_HIDE);
    return TRUE;
}

CButtonRgn* CLumvexDlg::ButtonOfRow(const ControlRow& row) {
    return row.member ? dynamic_cast<CButtonRgn*>(row.member(*this)) : nullptr;
}

void CLumvexDlg::PlaceControls() {
    for (const ControlRow& row : kControls) {
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
    for (const ControlRow& row : kControls) {
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
    const int chosenTool = ButtonOf(m_tool);
    const int chosenZoom = m_fit ? IDC_ZOOM_FIT : IDC_ZOOM_ACTUAL;
    for (const ControlRow& row : kControls) {
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

MainLayoutInput CLumvexDlg::MeasureLayoutInput() {
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    MainLayoutInput in;
    in.client = {client.right, client.bottom};
    in.dpi = m_dpi;
    in.pictureDpi = m_pictureDpi;
    // The logo as drawn: the layout may show it smaller.
    const SIZE logo = m_pictures.SizeOf(IDB_LOGO, m_pictureDpi);
    in.logo = {logo.cx, logo.cy};
    in.toolsPicture = SizeOf(Item(IDC_TOOLS_PICTURE));
    in.toolButton = SizeOf(Item(IDC_TOOL_POINTER));
    in.undoRedoButton = SizeOf(Item(IDC_UNDO));
    in.palette = SizeOf(m_colors.Hwnd());
    in.actualSizeButton = SizeOf(Item(IDC_ZOOM_ACTUAL));
    in.fitButton = SizeOf(Item(IDC_ZOOM_FIT));
    in.submitPanel = SizeOf(m_sendRequest.Hwnd());
    in.horzScrollHeight = SizeOf(Item(IDC_HSCROLL)).cy;
    in.vertScrollWidth = SizeOf(Item(IDC_VSCROLL)).cx;
    in.columnScrollWidth = in.vertScrollWidth;
    in.columnScroll = m_columnScroll.position;
    return in;
}

void CLumvexDlg::ChooseColumnScale() {
    // The column's sizes with 96-DPI pictures: a button's own, a picture
    // control's picture's, the panels' pictures'.
    MainLayoutInput in = MeasureLayoutInput();
    auto at96 = [this](int id) {
        for (const ControlRow& row : kControls) {
            if (row.id != id)
                continue;
            if (row.size.cx != 0)
                return row.size;
            const SIZE picture = m_pictures.SizeOf(row.picture, 96);
            return Size{picture.cx, picture.cy};
        }
        return Size{};
    };
    in.logo = at96(IDC_LOGO);
    in.toolsPicture = at96(IDC_TOOLS_PICTURE);
    in.toolButton = at96(IDC_TOOL_POINTER);
    in.undoRedoButton = at96(IDC_UNDO);
    in.actualSizeButton = at96(IDC_ZOOM_ACTUAL);
    in.fitButton = at96(IDC_ZOOM_FIT);
    const SIZE palette = CDlgColors::PanelSize(96);
    in.palette = {palette.cx, palette.cy};
    const SIZE submit = m_pictures.SizeOf(IDB_SUBMIT_PANEL, 96);
    in.submitPanel = {submit.cx, submit.cy};
    const UINT chosen = ChooseColumnPictureDpi(in, NearestPictureDpi(m_dpi));
    if (chosen != m_pictureDpi) {
        m_pictureDpi = chosen;
        PlaceControls();
        UpdatePictures();
    }
    // The panels show the column's scale too (once they exist).
    if (m_panelsPictureDpi != m_pictureDpi && m_colors.Hwnd() && m_sendRequest.Hwnd()) {
        m_panelsPictureDpi = m_pictureDpi;
        m_colors.SetPictureDpi(m_pictureDpi);
        m_sendRequest.SetPictureDpi(m_pictureDpi);
    }
}

void CLumvexDlg::RecalcLayout() {
    // A minimised window has no client area to lay out; its restore lays it
    // out again.
    if (!Hwnd() || ::IsIconic(Hwnd()))
        return;
    ChooseColumnScale();
    const MainLayout layout = ComputeMainLayout(MeasureLayoutInput());

    for (const ControlRow& row : kControls) {
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
        if (row.id == IDC_LOGO)
            ShowLogo(layout.logo);
        else
            MoveTo(control, layout.*row.slot);
    }
    MoveTo(m_status.Hwnd(), layout.statusBar);

    // Only when nothing smaller fits: the column scrolls on a bar of its own.
    m_columnScroll = ScrollAxis{layout.columnContent, layout.column.bottom, layout.columnScroll};
    if (m_columnBar) {
        if (layout.columnScrolls) {
            MoveTo(m_columnBar, layout.columnScrollBar);
            const SCROLLINFO info = m_columnScroll.ToScrollInfo();
            ::SetScrollInfo(m_columnBar, SB_CTL, &info, TRUE);
        }
        ::ShowWindow(m_columnBar, layout.columnScrolls ? SW_SHOWNA : SW_HIDE);
    }

    // Laid out again in the mode the user chose.
    if (m_fit)
        FitSurface();
    SyncScrollBars();
    // The panels inside their places too: a place clips its panel, so
    // painting the window alone leaves a panel that changed scale unpainted.
    ::RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CLumvexDlg::ShowLogo(const RECT& rect) {
    HWND logo = Item(IDC_LOGO);
    const Size size{rect.right - rect.left, rect.bottom - rect.top};
    if (size.cy <= 0) {
        ::ShowWindow(logo, SW_HIDE);
        return;
    }
    // The picture control takes its picture's size: a smaller logo is a
    // smaller picture.
    const SIZE drawn = m_pictures.SizeOf(IDB_LOGO, m_pictureDpi);
    const SIZE shown = fw::BitmapSize(m_staticPictures[IDC_LOGO].get());
    if (shown.cx != size.cx || shown.cy != size.cy) {
        fw::GdiBitmap picture = m_pictures.Get(IDB_LOGO, m_pictureDpi);
        if (drawn.cx != size.cx || drawn.cy != size.cy)
            picture = fw::ScaleBitmap(picture.get(), SIZE{size.cx, size.cy});
        SetStaticPicture(logo, std::move(picture), m_staticPictures[IDC_LOGO]);
    }
    MoveTo(logo, rect);
    ::ShowWindow(logo, SW_SHOWNA);
}

void CLumvexDlg::PlaceOnWorkArea() {
    if (!Hwnd())
        return;
    m_workAreaChanged = false;
    RECT work{};
    if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0) || ::IsRectEmpty(&work))
        work = RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    // A size change lays the window out again (WM_SIZE).
    ::SetWindowPos(Hwnd(), nullptr, work.left, work.top, work.right - work.left,
                   work.bottom - work.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CLumvexDlg::OnWorkAreaChanged() {
    // A hidden or minimised window follows when it is shown again.
    if (::IsWindowVisible(Hwnd()) && !::IsIconic(Hwnd()))
        PlaceOnWorkArea();
    else
        m_workAreaChanged = true;
}

void CLumvexDlg::OnFitToWindow() {
    const bool wasFitted = m_fit != 0;
    m_fit = 1;
    // Whoever asked (button, panel or toolbar), the column shows the mode.
    UpdateButtonPictures();
    if (!wasFitted)
        FitSurface();
}

void CLumvexDlg::FitSurface() {
    const RECT vert = WindowRectIn(Hwnd(), Item(IDC_VSCROLL));
    const RECT horz = WindowRectIn(Hwnd(), Item(IDC_HSCROLL));
    const RECT surface = WindowRectIn(Hwnd(), Item(IDC_DRAWING_SURFACE));
    ::ShowWindow(Item(IDC_VSCROLL), SW_HIDE);
    ::ShowWindow(Item(IDC_HSCROLL), SW_HIDE);
    // The picture is the screen; before the first capture, the screen's size.
    SIZE picture = m_canvas.GetPictureSize();
    if (picture.cx <= 0 || picture.cy <= 0)
        picture = SIZE{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    const FitResult fit = ComputeFit(vert, horz, surface, {picture.cx, picture.cy});
    MoveTo(Item(IDC_DRAWING_SURFACE), fit.surface);
    m_canvas.SetZoom(fit.zoomX, fit.zoomY);
}

void CLumvexDlg::OnActualSize() {
    const bool wasFitted = m_fit != 0;
    m_fit = 0;
    UpdateButtonPictures();
    if (!wasFitted)
        return;
    const RECT vert = WindowRectIn(Hwnd(), Item(IDC_VSCROLL));
    const RECT horz = WindowRectIn(Hwnd(), Item(IDC_HSCROLL));
    ::ShowWindow(Item(IDC_VSCROLL), SW_SHOW);
    ::ShowWindow(Item(IDC_HSCROLL), SW_SHOW);
    MoveTo(Item(IDC_DRAWING_SURFACE), ComputeActualSizeSurface(vert, horz));
    m_canvas.SetZoom(1.0f, 1.0f);
    SyncScrollBars();
}

void CLumvexDlg::SelectTool(Tool tool) {
    m_tool = tool;
    UpdateButtonPictures();
    m_factory.reset();
    m_factory = MakeFactory(tool, &m_canvas);
}

void CLumvexDlg::ShowAndRestore() {
    ::ShowWindow(Hwnd(), SW_SHOW);
    if (::IsIconic(Hwnd()))
        ::ShowWindow(Hwnd(), SW_RESTORE);
    if (m_workAreaChanged)
        PlaceOnWorkArea();
}

void CLumvexDlg::OnTakeScreenshot() {
    if (::IsWindowVisible(Hwnd())) {
        ShowAndRestore();
        return;
    }
    fw::GdiBitmap picture(CaptureScreen());
    if (!picture) {
        ShowError(Hwnd(), L"Failed to capture screen");
        return;
    }
    m_sendRequest.ResetRequest();
    if (m_workAreaChanged)
        PlaceOnWorkArea();
    m_canvas.SetBitmap(std::move(picture));
    SyncScrollBars();
    ShowAndRestore();
}

bool CLumvexDlg::BringOpenBoxForward() {
    // One of our modal boxes (About, a message box, the settings or the
    // upload) disables this window while it runs.
    if (::IsWindowEnabled(Hwnd()))
        return false;
    HWND box = ::GetLastActivePopup(Hwnd());
    if (box && box != Hwnd())
        ::SetForegroundWindow(box);
    return true;
}

void CLumvexDlg::OnTrayNotify(UINT mouseMessage) {
    const TrayAction action = TrayActionFor(mouseMessage);
    // Neither a second box on top of the first nor a capture of it.
    if (action != TrayAction::None && BringOpenBoxForward())
        return;
    switch (action) {
    case TrayAction::TakeScreenshot:
        ::SetForegroundWindow(Hwnd());
        OnTakeScreenshot();
        break;
    case TrayAction::ShowWindow:
        ShowAndRestore();
        break;
    case TrayAction::ShowMenu:
        ShowTrayMenu();
        break;
    case TrayAction::None:
        break;
    }
}

void CLumvexDlg::ShowTrayMenu() {
    fw::Menu menu(::LoadMenuW(fw::ResourceInstance(), MAKEINTRESOURCEW(IDR_TRAY_MENU)));
    if (!menu)
        return;
    HMENU popup = ::GetSubMenu(menu.get(), 0);
    POINT cursor{};
    ::GetCursorPos(&cursor);
    // Without our window in the foreground the menu would not close when
    // the user clicks elsewhere; the posted message lets it close at once
    // when the next one opens.
    // https://learn.microsoft.com/en-us/windows/win32/api/winuser/nf-winuser-trackpopupmenu
    ::SetForegroundWindow(Hwnd());
    // In bold what a click on the icon does; either button picks an entry.
    ::SetMenuDefaultItem(popup, ID_TRAY_TAKE_SCREENSHOT, FALSE);
    ::TrackPopupMenu(popup, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, Hwnd(), nullptr);
    ::PostMessageW(Hwnd(), WM_NULL, 0, 0);
}

void CLumvexDlg::CopyToClipboard() {
    fw::GdiBitmap picture = m_canvas.GetFlattenedBitmap();
    if (picture && ::OpenClipboard(Hwnd())) {
        if (::EmptyClipboard() && ::SetClipboardData(CF_BITMAP, picture.get()))
            picture.release(); // the clipboard owns it now
        ::CloseClipboard();
    }
    ::MessageBeep(0);
}

void CLumvexDlg::OnSaveToDisk() {
    // Before the dialog takes the keyboard: the text box goes into the
    // picture, and the keyboard comes back to the picture, not to a hidden
    // editor.
    m_canvas.EndEditAll();
    wchar_t path[MAX_PATH] = L"*.jpg";
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = Hwnd();
    dialog.lpstrFilter = L"Image Files (*.jpg)\0*.jpg\0\0";
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrDefExt = L"jpg";
    dialog.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    const fw::CommonDialogApi* dialogs = fw::CommonDialogs();
    if (!dialogs) {
        ShowError(Hwnd(), kNotSaved);
        return;
    }
    if (!dialogs->GetSaveFileNameW(&dialog))
        return;
    SaveScreenshotTo(path);
}

bool CLumvexDlg::SaveScreenshotTo(const std::wstring& path) {
    if (m_canvas.SaveJpegToFile(path.c_str()))
        return true;
    // Never let the user believe a picture was saved when it was not.
    ShowError(Hwnd(), kNotSaved);
    return false;
}

void CLumvexDlg::UploadScreenshot() {
    fw::Stream picture;
    if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, picture.put())))
        return;
    // Nothing is sent without a picture.
    if (!m_canvas.SaveJpegToStream(picture.get()) || StreamSize(picture.get()) == 0 ||
        FAILED(picture.get()->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr))) {
        ShowError(Hwnd(), kTransferFailed);
        return;
    }
    const int mode = m_sendRequest.IsCreateChecked() ? 0 : 1;
    // Owned by this window, which stays disabled meanwhile: nothing here can
    // start a second upload or change the settings the worker reads.
    CDlgUpload upload(picture.get(), mode, m_sendRequest.WorkOrderText(), m_settings);
    switch (upload.DoModal(Hwnd())) {
    case IDOK:
        ::ShowWindow(Hwnd(), SW_HIDE);
        break;
    case IDABORT:
        break;
    default: {
        // The cause on a line of its own, when there is one the user can act on.
        std::wstring text = kTransferFailed;
        if (const std::wstring cause = upload.FailureCause(); !cause.empty())
            text += L"\n" + cause;
        ShowError(Hwnd(), text.c_str());
        break;
    }
    }
}

void CLumvexDlg::SendScreenshotByEmail() {
    const auto email =
        WriteScreenshotEmail(m_settings.programFolder,
                             [this](const std::wstring& path) { return SaveScreenshotTo(path); });
    if (!email)
        return;
    // Listed before the mail program opens: the user may keep its compose
    // window open for as long as they like, and whatever ends the program
    // meanwhile still finds the files.
    m_tempFiles.push_back(email->page);
    m_tempFiles.push_back(email->picture);
    CEmailSender sender;
    if (!sender.Send(L"", email->page, email->picture))
        ShowError(Hwnd(), L"The e-mail could not be handed to the mail program.");
}

void CLumvexDlg::OnSettings() {
    // One dialog at a time: a second settings dialog would write its copy
    // back over what the first one changed.
    if (BringOpenBoxForward())
        return;
    EditSettings(m_settings, m_profile, Hwnd());
}

void CLumvexDlg::OnSendEmail() {
    SendScreenshotByEmail();
}
void CLumvexDlg::OnRedo() {
    m_canvas.Redo();
}
void CLumvexDlg::OnUndo() {
    m_canvas.Undo();
}

void CLumvexDlg::ShowAboutBox() {
    if (BringOpenBoxForward())
        return;
    CAboutDlg about;
    about.DoModal(Hwnd());
}

bool CLumvexDlg::PreTranslateMessage(MSG* message) {
    // Keys of other top-level windows (popups, message boxes) are theirs.
    if (message->message != WM_KEYDOWN ||
        (message->hwnd != Hwnd() && !::IsChild(Hwnd(), message->hwnd)))
        return false;
    const Shortcut shortcut = ShortcutFor(KeyPressOf(*message));
    switch (shortcut.action) {
    case ShortcutAction::Copy:
        CopyToClipboard();
        break;
    case ShortcutAction::DeleteItem:
        m_canvas.DeleteSelectedItem();
        break;
    case ShortcutAction::Email:
        if (IsOutlookMailClient(GetDefaultMailClient()))
            OnSendEmail();
        break;
    case ShortcutAction::Upload:
        UploadScreenshot();
        break;
    case ShortcutAction::Save:
        OnSaveToDisk();
        break;
    case ShortcutAction::Redo:
        OnRedo();
        break;
    case ShortcutAction::Undo:
        OnUndo();
        break;
    case ShortcutAction::None:
        break;
    }
    return shortcut.consumed;
}

bool CLumvexDlg::OnCommand(WORD id, WORD notifyCode, HWND control) {
    if (const ToolInfo* tool = FindTool(id)) {
        SelectTool(tool->tool);
        return true;
    }
    switch (id) {
    case ID_TRAY_ABOUT:
        ShowAboutBox();
        return true;
    case ID_TRAY_TAKE_SCREENSHOT:
        if (!BringOpenBoxForward())
            OnTakeScreenshot();
        return true;
    case ID_SHOW_WINDOW:
        ShowAndRestore();
        return true;
    case ID_TRAY_EXIT:
        ::PostQuitMessage(0);
        return true;
    case ID_SETTINGS:
        OnSettings();
        return true;
    case ID_CTX_DELETE_ITEM:
        m_canvas.DeleteSelectedItem();
        return true;
    case ID_CTX_SUBMIT:
        UploadScreenshot();
        return true;
    case ID_CTX_COPY:
        CopyToClipboard();
        return true;
    case IDC_REDO:
        m_canvas.Redo();
        return true;
    case IDC_UNDO:
        m_canvas.Undo();
        return true;
    case IDC_ZOOM_FIT:
        OnFitToWindow();
        return true;
    case IDC_ZOOM_ACTUAL:
        OnActualSize();
        return true;
    case IDC_LOGO:
        if (notifyCode == STN_CLICKED)
            ::ShellExecuteW(nullptr, L"open", kProductSite, nullptr, nullptr, SW_HIDE);
        return true;
    default:
        return fw::Dialog::OnCommand(id, notifyCode, control);
    }
}

void CLumvexDlg::PaintMinimised() {
    fw::PaintDc paint(Hwnd());
    ::SendMessageW(Hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.get()), 0);
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    const int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(paint.get(), x, y, m_icon.get());
}

void CLumvexDlg::OnDestroy() {
    m_toolBar.RemoveListener(static_cast<CDlgToolBarEvents*>(this));
    m_zoomPanel.RemoveListener(static_cast<CDlgZoomEvents*>(this));
    m_notify.DestroyWindow();
    m_tray.Remove();
    while (!m_tempFiles.empty()) {
        ::DeleteFileW(m_tempFiles.front().c_str());
        m_tempFiles.erase(m_tempFiles.begin());
    }
}

void CLumvexDlg::OnDpiChanged(WPARAM wParam, LPARAM lParam) {
    m_dpi = HIWORD(wParam) != 0 ? HIWORD(wParam) : fw::DpiOf(Hwnd());
    m_pictureDpi = NearestPictureDpi(m_dpi);
    m_pictures.Clear();
    PlaceControls();
    UpdatePictures();
    ChooseColumnScale();
    // The move lays the window out again when its size changes; the same
    // size at another DPI still needs it.
    fw::OnDpiChanged(Hwnd(), wParam, lParam);
    RecalcLayout();
}

bool CLumvexDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    // Sent to every top-level window when the shell (and with it the
    // notification area) starts again.
    // https://learn.microsoft.com/en-us/windows/win32/shell/taskbar#taskbar-creation-notification
    static const UINT taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
    if (message == taskbarCreated && taskbarCreated != 0) {
        m_tray.Add(Hwnd(), WM_TRAY_NOTIFY, m_smallIcon.get(), kTrayTip);
        return true;
    }
    switch (message) {
    case WM_DPICHANGED:
        OnDpiChanged(wParam, lParam);
        return true;
    case WM_TRAY_NOTIFY:
        OnTrayNotify(static_cast<UINT>(lParam));
        return true;
    case WM_CANVAS_UNDO:
        m_canvas.Undo();
        return true;
    case WM_CANVAS_REDO:
        m_canvas.Redo();
        return true;
    case WM_SUBMIT_SCREENSHOT:
        UploadScreenshot();
        return true;
    case WM_SAVE_SCREENSHOT:
        OnSaveToDisk();
        return true;
    case WM_EMAIL_SCREENSHOT:
        OnSendEmail();
        return true;
    case WM_EXIT_APP:
        // A later start with the exit switch: end the modal loop.
        ::PostQuitMessage(0);
        return true;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == IDM_ABOUTBOX) {
            ShowAboutBox();
            return true;
        }
        return false;
    case WM_PAINT:
        if (!::IsIconic(Hwnd()))
            return false;
        PaintMinimised();
        return true;
    case WM_QUERYDRAGICON:
        result = reinterpret_cast<LRESULT>(m_icon.get());
        return true;
    case WM_CTLCOLORDLG:
        result = reinterpret_cast<LRESULT>(m_background.get());
        return true;
    case WM_SIZE:
        RecalcLayout();
        return true;
    case WM_SETTINGCHANGE:
        if (wParam == SPI_SETWORKAREA)
            OnWorkAreaChanged();
        return false;
    case WM_DISPLAYCHANGE:
        OnWorkAreaChanged();
        return false;
    case WM_SHOWWINDOW:
        // Nothing shows the stretched picture while the window is hidden.
        if (!wParam)
            m_canvas.DropScaledPicture();
        return false;
    case WM_HSCROLL:
    case WM_VSCROLL:
        OnScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam));
        return true;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        OnMouseWheel(message, wParam, lParam);
        return true;
    case WM_CLOSE:
        // The program keeps running in the notification area.
        ::ShowWindow(Hwnd(), SW_HIDE);
        return true;
    case WM_QUERYENDSESSION:
        // The session may end without another message reaching us: save now.
        m_settings.SaveSettings(m_profile);
        result = TRUE;
        return true;
    case WM_ENDSESSION:
        // Only a session that really ends takes the program with it; after a
        // cancelled log-off the program keeps running.
        if (wParam)
            ::PostQuitMessage(0);
        return true;
    case WM_DESTROY:
        OnDestroy();
        return false;
    default:
        return fw::Dialog::HandleMessage(message, wParam, lParam, result);
    }
}
