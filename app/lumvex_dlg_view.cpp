// The main window's view: where it stands on the screen, how its parts are
// laid out at its DPI, and whether the picture is fitted or at actual size.
#include "app/lumvex_dlg.h"

#include "app/window_geometry.h"
#include "common/pictures.h"

#include "resource.h"

void CLumvexDlg::ChooseColumnScale() {
    const UINT chosen =
        ChooseColumnPictureDpi(MeasureColumnAtPicture96(), NearestPictureDpi(m_dpi));
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
    MoveControlsTo(layout);
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
    const Rect vert = LayoutRectIn(Hwnd(), Item(IDC_VSCROLL));
    const Rect horz = LayoutRectIn(Hwnd(), Item(IDC_HSCROLL));
    const Rect surface = LayoutRectIn(Hwnd(), Item(IDC_DRAWING_SURFACE));
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
    const Rect vert = LayoutRectIn(Hwnd(), Item(IDC_VSCROLL));
    const Rect horz = LayoutRectIn(Hwnd(), Item(IDC_HSCROLL));
    ::ShowWindow(Item(IDC_VSCROLL), SW_SHOW);
    ::ShowWindow(Item(IDC_HSCROLL), SW_SHOW);
    MoveTo(Item(IDC_DRAWING_SURFACE), ComputeActualSizeSurface(vert, horz));
    m_canvas.SetZoom(1.0f, 1.0f);
    SyncScrollBars();
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
