#include "controls/transparent_btn.h"

bool CTransparentBtn::OnReflect(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    // Push buttons ask with WM_CTLCOLORBTN, radio buttons and check boxes
    // with WM_CTLCOLORSTATIC.
    if (message != WM_CTLCOLORBTN && message != WM_CTLCOLORSTATIC)
        return false;
    ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
    result = reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
    return true;
}

bool CTransparentBtn::HandleMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
    if (message != WM_ERASEBKGND)
        return false;
    result = TRUE;
    return true;
}
