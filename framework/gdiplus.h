// The platform's GDI+ headers, for every file that calls GDI+, and the GDI+
// session.
#pragma once

#include "framework/unique_handle.h"

#include <algorithm>

#include <windows.h>
#include <objidl.h>

// The Windows SDK's GDI+ headers before 10.0.20348 call min and max
// unqualified, expecting the macros that NOMINMAX (set for the whole build)
// removes, and do not compile without them (MinGW-w64's need no help).
// https://developercommunity.visualstudio.com/t/GdiplusTypesh-does-not-compile-with-NOM/727770
namespace Gdiplus {
using std::max;
using std::min;
} // namespace Gdiplus
#include <gdiplus.h>

namespace fw {

// GDI+ for the process, from Start until Stop or destruction. GDI+ counts
// its users, so sessions may overlap (the canvas's, a picture being
// decoded meanwhile).
class GdiplusSession {
public:
    // Version 1, no debug callback. True when GDI+ runs (also when this
    // session had started it already).
    bool Start();
    void Stop() noexcept { m_token.reset(); }
    bool IsStarted() const noexcept { return static_cast<bool>(m_token); }

private:
    UniqueHandle<ULONG_PTR, decltype(&Gdiplus::GdiplusShutdown), Gdiplus::GdiplusShutdown> m_token;
};

} // namespace fw
