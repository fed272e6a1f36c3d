// The main window's scrolling: the canvas's two bars, the mouse wheel, and
// the tool column's own bar for a window too short for it.
#include "app/lumvex_dlg.h"

#include "app/window_geometry.h"

#include "resource.h"

#include <windowsx.h>

namespace {

// The wheel's notches in lines (vertical) or characters (horizontal), as
// the user set them.
UINT WheelStep(bool horizontal) {
    UINT lines = 3;
    ::SystemParametersInfoW(horizontal ? SPI_GETWHEELSCROLLCHARS : SPI_GETWHEELSCROLLLINES, 0,
                            &lines, 0);
    return lines;
}

int TrackPosition(HWND bar) {
    // 32 bits: the message's position has only 16.
    SCROLLINFO info{sizeof(info), SIF_TRACKPOS, 0, 0, 0, 0, 0};
    ::GetScrollInfo(bar, SB_CTL, &info);
    return info.nTrackPos;
}

} // namespace

ScrollAxis CLumvexDlg::CanvasAxis(int bar) const {
    // The picture at the canvas's zoom, seen through the surface.
    const SIZE picture = m_canvas.GetPictureViewSize();
    const CViewTransform& view = m_canvas.GetTransform();
    RECT client{};
    ::GetClientRect(m_surface.Hwnd(), &client);
    if (bar == SB_HORZ)
        return ScrollAxis{picture.cx, client.right, view.OffsetX()};
    return ScrollAxis{picture.cy, client.bottom, view.OffsetY()};
}

void CLumvexDlg::ScrollCanvasTo(int bar, int position) {
    auto* sender = static_cast<CNotifier<CLumvexDlgEvents>*>(this);
    if (bar == SB_HORZ)
        Fire(&CLumvexDlgEvents::OnScrollHorz, sender, position);
    else
        Fire(&CLumvexDlgEvents::OnScrollVert, sender, position);
}

void CLumvexDlg::SyncScrollBars() {
    for (const int bar : {SB_HORZ, SB_VERT}) {
        const ScrollAxis axis = CanvasAxis(bar);
        // A smaller page or picture than before: the canvas moves back in.
        if (axis.Clamp(axis.position) != axis.position)
            ScrollCanvasTo(bar, axis.Clamp(axis.position));
        const SCROLLINFO info = CanvasAxis(bar).ToScrollInfo();
        ::SetScrollInfo(Item(bar == SB_HORZ ? IDC_HSCROLL : IDC_VSCROLL), SB_CTL, &info, TRUE);
    }
}

void CLumvexDlg::OnScroll(HWND bar, WORD code) {
    if (bar && bar == m_columnBar) {
        ScrollColumnTo(m_columnScroll.AfterScrollCode(code, TrackPosition(bar)));
        return;
    }
    int which = 0;
    if (bar && bar == Item(IDC_HSCROLL))
        which = SB_HORZ;
    else if (bar && bar == Item(IDC_VSCROLL))
        which = SB_VERT;
    else
        return;
    const ScrollAxis axis = CanvasAxis(which);
    const int position = axis.AfterScrollCode(code, TrackPosition(bar));
    if (position != axis.position)
        ScrollCanvasTo(which, position);
    SyncScrollBars();
}

void CLumvexDlg::OnMouseWheel(UINT message, WPARAM wParam, LPARAM lParam) {
    const WORD keys = GET_KEYSTATE_WPARAM(wParam);
    // Ctrl with the wheel zooms elsewhere; here the zoom has two buttons.
    if (keys & MK_CONTROL)
        return;
    // Tilted to the right is a positive delta, the wheel turned away from
    // the user too: both towards the start here.
    const bool horizontal = message == WM_MOUSEHWHEEL || (keys & MK_SHIFT) != 0;
    const int delta = message == WM_MOUSEHWHEEL ? -GET_WHEEL_DELTA_WPARAM(wParam)
                                                : GET_WHEEL_DELTA_WPARAM(wParam);
    POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::ScreenToClient(Hwnd(), &at);
    const RECT column = WindowRectIn(Hwnd(), Item(IDC_TOOL_COLUMN));
    if (::IsWindowVisible(m_columnBar) && ::PtInRect(&column, at)) {
        if (!horizontal)
            ScrollColumnTo(m_columnScroll.AfterWheel(delta, WheelStep(false)));
        return;
    }
    const int bar = horizontal ? SB_HORZ : SB_VERT;
    const ScrollAxis axis = CanvasAxis(bar);
    const int position = axis.AfterWheel(delta, WheelStep(horizontal));
    if (position != axis.position)
        ScrollCanvasTo(bar, position);
    SyncScrollBars();
}

void CLumvexDlg::ScrollColumnTo(int position) {
    const int clamped = m_columnScroll.Clamp(position);
    if (clamped == m_columnScroll.position)
        return;
    m_columnScroll.position = clamped;
    RecalcLayout();
}
