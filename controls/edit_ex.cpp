#include "controls/edit_ex.h"

bool CEditEx::HandleMessage(UINT message, WPARAM, LPARAM, LRESULT&) {
    if (message == WM_LBUTTONDOWN)
        Fire(&CEditExEvents::OnEditClicked);
    return false; // the edit still places the caret and takes the focus
}
