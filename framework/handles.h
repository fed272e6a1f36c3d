// RAII owners for the Windows handles Lumvex uses.
#pragma once

#include "framework/unique_handle.h"

#include <windows.h>
#include <objbase.h>
#include <rpc.h>
#include <wininet.h>

#include <utility>

namespace fw {

// GDI objects from CreateBitmap, CreateSolidBrush, CreateFontIndirectW, ...
using GdiBitmap = UniqueHandle<HBITMAP, decltype(&::DeleteObject), ::DeleteObject>;
using GdiBrush = UniqueHandle<HBRUSH, decltype(&::DeleteObject), ::DeleteObject>;
using GdiFont = UniqueHandle<HFONT, decltype(&::DeleteObject), ::DeleteObject>;
using GdiPen = UniqueHandle<HPEN, decltype(&::DeleteObject), ::DeleteObject>;
using GdiRegion = UniqueHandle<HRGN, decltype(&::DeleteObject), ::DeleteObject>;
// A device context from CreateCompatibleDC / CreateDC.
using MemoryDc = UniqueHandle<HDC, decltype(&::DeleteDC), ::DeleteDC>;

// Mutexes, events, threads, processes: null means "none".
using KernelHandle = UniqueHandle<HANDLE, decltype(&::CloseHandle), ::CloseHandle>;
// CreateFileW reports failure as INVALID_HANDLE_VALUE, not null.
using FileHandle =
    UniqueHandle<HANDLE, decltype(&::CloseHandle), ::CloseHandle, static_cast<INT_PTR>(-1)>;

using RegKey = UniqueHandle<HKEY, decltype(&::RegCloseKey), ::RegCloseKey>;

// Through the run-time binding of WinInet (system_library.h).
void CloseInternetHandle(HINTERNET handle) noexcept;
// Whichever thread opens a WinInet handle closes it; a handle is never
// shared between threads (closing one from another thread aborts calls in
// progress on it, which nothing here relies on).
using InternetHandle = UniqueHandle<HINTERNET, decltype(&CloseInternetHandle), CloseInternetHandle>;

template <typename Interface> void ReleaseReference(Interface* object) noexcept {
    object->Release();
}
// A COM interface pointer that this object holds one reference of.
template <typename Interface>
using ComPtr =
    UniqueHandle<Interface*, decltype(&ReleaseReference<Interface>), ReleaseReference<Interface>>;
using Stream = ComPtr<IStream>;

inline void FreeRpcString(RPC_WSTR text) noexcept {
    ::RpcStringFreeW(&text);
}
// A string the RPC runtime allocated (UuidToStringW).
using RpcString = UniqueHandle<RPC_WSTR, decltype(&FreeRpcString), FreeRpcString>;

using Icon = UniqueHandle<HICON, decltype(&::DestroyIcon), ::DestroyIcon>;
using Menu = UniqueHandle<HMENU, decltype(&::DestroyMenu), ::DestroyMenu>;
using Module = UniqueHandle<HMODULE, decltype(&::FreeLibrary), ::FreeLibrary>;
// A window this object created and nobody else destroys (a tooltip, a test
// window).
using Window = UniqueHandle<HWND, decltype(&::DestroyWindow), ::DestroyWindow>;

// COM on the calling thread for the life of the object (single-threaded
// apartment, as the shell's functions want), undone only when this object
// started it. A thread that COM was already started on in another mode
// keeps it, and Started() answers false.
class ComScope {
public:
    ComScope() noexcept
        : m_result(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComScope() {
        if (SUCCEEDED(m_result))
            ::CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

    bool Started() const noexcept { return SUCCEEDED(m_result); }

private:
    HRESULT m_result;
};

inline void ReleaseWindowDc(HWND window, HDC dc) noexcept {
    ::ReleaseDC(window, dc);
}
// A window's device context from GetDC: released, not deleted.
class WindowDc : public ContextHandle<HWND, HDC, ReleaseWindowDc> {
public:
    explicit WindowDc(HWND window) noexcept : ContextHandle(window, ::GetDC(window)) {}
};

// BeginPaint / EndPaint around one WM_PAINT; move-only, a moved-from one
// ends nothing.
class PaintDc {
public:
    explicit PaintDc(HWND window) noexcept : m_window(window) { ::BeginPaint(window, &m_paint); }
    ~PaintDc() { End(); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    PaintDc(PaintDc&& other) noexcept
        : m_window(std::exchange(other.m_window, nullptr)),
          m_paint(std::exchange(other.m_paint, PAINTSTRUCT{})) {}
    PaintDc& operator=(PaintDc&& other) noexcept {
        if (this != &other) {
            End();
            m_window = std::exchange(other.m_window, nullptr);
            m_paint = std::exchange(other.m_paint, PAINTSTRUCT{});
        }
        return *this;
    }

    HDC get() const noexcept { return m_paint.hdc; }
    const PAINTSTRUCT& paint() const noexcept { return m_paint; }

private:
    void End() noexcept {
        if (m_window)
            ::EndPaint(std::exchange(m_window, nullptr), &m_paint);
    }

    HWND m_window;
    PAINTSTRUCT m_paint{};
};

inline void RestoreSelection(HDC dc, HGDIOBJ previous) noexcept {
    ::SelectObject(dc, previous);
}
// Selects an object into a device context and restores the previous one;
// get() is that previous object, null when the selection failed.
class SelectionGuard : public ContextHandle<HDC, HGDIOBJ, RestoreSelection> {
public:
    SelectionGuard(HDC dc, HGDIOBJ object) noexcept
        : ContextHandle(dc, Selected(::SelectObject(dc, object))) {}

private:
    // A region's selection reports failure as HGDI_ERROR, the others' as null.
    static HGDIOBJ Selected(HGDIOBJ previous) noexcept {
        return previous == HGDI_ERROR ? nullptr : previous;
    }
};

} // namespace fw
