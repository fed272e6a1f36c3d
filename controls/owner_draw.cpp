#include "controls/owner_draw.h"

bool MakeOwnerDrawn(HWND button) {
    const LONG_PTR style = ::GetWindowLongPtrW(button, GWL_STYLE);
    if ((style & BS_TYPEMASK) == BS_OWNERDRAW)
        return false;
    ::SetWindowLongPtrW(button, GWL_STYLE, (style & ~LONG_PTR{BS_TYPEMASK}) | BS_OWNERDRAW);
    return true;
}
