#include "canvas/drawing_static.h"

#include <windowsx.h>

#include "framework/handles.h"

bool CDrawingStatic::Create(DWORD style, const RECT& rect, HWND parent, int controlId) {
    return fw::Control::Create(L"Static", style | SS_BITMAP, 0, rect, parent, controlId);
}

bool CDrawingStatic::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_PAINT: {
        fw::PaintDc paint(Hwnd());
        const RECT update = paint.paint().rcPaint;
        Fire(&CDarwingStaticEvents::OnPaint, this, paint.get(), update);
        result = 0;
        return true;
    }
    case WM_PRINTCLIENT: {
        // Lets a whole picture of the surface be taken into any device context.
        RECT client{};
        ::GetClientRect(Hwnd(), &client);
        Fire(&CDarwingStaticEvents::OnPaint, this, reinterpret_cast<HDC>(wParam), client);
        result = 0;
        return true;
    }
    case WM_LBUTTONDOWN:
        // Captured first, so that a drag keeps reporting outside the surface.
        ::SetCapture(Hwnd());
        break;
    case WM_LBUTTONUP:
        ::ReleaseCapture();
        break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONUP:
    case WM_RBUTTONDOWN:
        break;
    default:
        return false;
    }
    FireMouse(message, static_cast<UINT>(wParam),
              POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    return false; // the static's own processing follows
}

void CDrawingStatic::FireMouse(UINT message, UINT keyFlags, POINT point) {
    using Operation = void (CDarwingStaticEvents::*)(UINT, POINT);
    Operation operation = nullptr;
    switch (message) {
    case WM_LBUTTONDOWN:
        operation = &CDarwingStaticEvents::OnLButtonDown;
        break;
    case WM_LBUTTONUP:
        operation = &CDarwingStaticEvents::OnLButtonUp;
        break;
    case WM_MOUSEMOVE:
        operation = &CDarwingStaticEvents::OnMouseMove;
        break;
    case WM_LBUTTONDBLCLK:
        operation = &CDarwingStaticEvents::OnLButtonDblClk;
        break;
    case WM_RBUTTONUP:
        operation = &CDarwingStaticEvents::OnRButtonUp;
        break;
    case WM_RBUTTONDOWN:
        operation = &CDarwingStaticEvents::OnRButtonDown;
        break;
    default:
        return;
    }
    Fire(operation, keyFlags, point);
}
