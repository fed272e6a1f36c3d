#include "canvas/drawing_static.h"

#include <windowsx.h>

#include "framework/handles.h"

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
        ::SetCapture(Hwnd());
        FireMouse(&Events::OnLButtonDown, wParam, lParam);
        break;
    case WM_LBUTTONUP:
        ::ReleaseCapture();
        FireMouse(&Events::OnLButtonUp, wParam, lParam);
        break;
    case WM_MOUSEMOVE:
        FireMouse(&Events::OnMouseMove, wParam, lParam);
        break;
    case WM_LBUTTONDBLCLK:
        FireMouse(&Events::OnLButtonDblClk, wParam, lParam);
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
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    Fire(operation, static_cast<UINT>(wParam), point);
}
