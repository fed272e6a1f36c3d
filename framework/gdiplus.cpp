#include "framework/gdiplus.h"

namespace fw {

bool GdiplusSession::Start() {
    if (m_token)
        return true;
    const Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok)
        return false;
    m_token.reset(token);
    return true;
}

} // namespace fw
