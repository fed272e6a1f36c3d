#include "canvas/drawing_static.h"

#include <windowsx.h>

#include "framework/handles.h"

namespace {

POINT PointOf(LPARAM lParam) {
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

} // namespace

bool CDrawingStatic::Create(DWORD style, const RECT& rect, HWND parent, int controlId) {
    return fw::Control::Create(L"Static", style | SS_BITMAP, 0, rect, parent, controlId);
}

bool CDrawingStatic::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    using Events = CDarwingStaticEvents;
    switch (message) {
    case WM_PAINT: {
        fw::PaintDc paint(Hwnd());
        const RECT update = paint.paint().rcPaint;
        Fire(&Events::OnPaint, this, paint.get(), update);
        result = 0;
        return true;
    }
    case WM_PRINTCLIENT: {
        // Lets a whole picture of the surface be taken into any device context.
        RECT client{};
        ::GetClientRect(Hwnd(), &client);
        Fire(&Events::OnPaint, this, reinterpret_cast<HDC>(wParam), client);
        result = 0;
        return true;
    }
    case WM_LBUTTONDOWN:
        // Captured first, so that a drag keeps reporting outside the surface.
        BeginPress(lParam);
        FireMouse(&Events::OnLButtonDown, wParam, lParam);
        break;
    case WM_LBUTTONUP:
        m_pressed = false; // before the release of the capture reports it lost
        ::ReleaseCapture();
        FireMouse(&Events::OnLButtonUp, wParam, lParam);
        break;
    case WM_MOUSEMOVE:
        m_lastPoint = PointOf(lParam);
        FireMouse(&Events::OnMouseMove, wParam, lParam);
        break;
    case WM_LBUTTONDBLCLK:
        // The second press of a double click: a press like any other, whose
        // release follows.
        BeginPress(lParam);
        FireMouse(&Events::OnLButtonDblClk, wParam, lParam);
        break;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != Hwnd())
            EndLostPress();
        break;
    case WM_CANCELMODE:
        EndLostPress();
        break;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == Hwnd() && LOWORD(lParam) == HTCLIENT &&
            IsFiringEnabled() && ListenerCount() > 0) {
            // The tool's cursor, set here rather than the class arrow being
            // set first and the tool's cursor after it at every move.
            POINT point{};
            ::GetCursorPos(&point);
            ::ScreenToClient(Hwnd(), &point);
            Fire(&Events::OnSetCursor, point);
            result = TRUE;
            return true;
        }
        break;
    case WM_RBUTTONUP:
        FireMouse(&Events::OnRButtonUp, wParam, lParam);
        break;
    case WM_RBUTTONDOWN:
        FireMouse(&Events::OnRButtonDown, wParam, lParam);
        break;
    default:
        break;
    }
    return false; // mouse messages go on to the static's own processing
}

void CDrawingStatic::FireMouse(MouseOperation operation, WPARAM wParam, LPARAM lParam) {
    Fire(operation, static_cast<UINT>(wParam), PointOf(lParam));
}

void CDrawingStatic::BeginPress(LPARAM lParam) {
    ::SetCapture(Hwnd());
    m_pressed = true;
    m_lastPoint = PointOf(lParam);
}

void CDrawingStatic::EndLostPress() {
    if (!m_pressed)
        return;
    m_pressed = false;
    if (::GetCapture() == Hwnd())
        ::ReleaseCapture();
    Fire(&CDarwingStaticEvents::OnLButtonUp, 0u, m_lastPoint);
}
