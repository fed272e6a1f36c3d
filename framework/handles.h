// RAII owners for the Windows handles Lumvex uses.
#pragma once

#include "framework/unique_handle.h"

#include <windows.h>
#include <objbase.h>
#include <rpc.h>
#include <wininet.h>

namespace fw {

template <typename H> struct GdiObjectTraits {
    using Handle = H;
    static H Invalid() noexcept { return nullptr; }
    static void Close(H handle) noexcept { ::DeleteObject(handle); }
};
using GdiBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using GdiBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using GdiFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using GdiPen = UniqueHandle<GdiObjectTraits<HPEN>>;
using GdiRegion = UniqueHandle<GdiObjectTraits<HRGN>>;

struct MemoryDcTraits {
    using Handle = HDC;
    static HDC Invalid() noexcept { return nullptr; }
    static void Close(HDC dc) noexcept { ::DeleteDC(dc); }
};
// A device context from CreateCompatibleDC / CreateDC.
using MemoryDc = UniqueHandle<MemoryDcTraits>;

struct KernelHandleTraits {
    using Handle = HANDLE;
    static HANDLE Invalid() noexcept { return nullptr; }
    static void Close(HANDLE handle) noexcept { ::CloseHandle(handle); }
};
// Mutexes, events, threads, processes: null means "none".
using KernelHandle = UniqueHandle<KernelHandleTraits>;

struct FileHandleTraits {
    using Handle = HANDLE;
    static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) noexcept { ::CloseHandle(handle); }
};
// CreateFileW reports failure as INVALID_HANDLE_VALUE, not null.
using FileHandle = UniqueHandle<FileHandleTraits>;

struct RegKeyTraits {
    using Handle = HKEY;
    static HKEY Invalid() noexcept { return nullptr; }
    static void Close(HKEY key) noexcept { ::RegCloseKey(key); }
};
using RegKey = UniqueHandle<RegKeyTraits>;

struct InternetHandleTraits {
    using Handle = HINTERNET;
    static HINTERNET Invalid() noexcept { return nullptr; }
    // Through the run-time binding of WinInet (system_library.h).
    static void Close(HINTERNET handle) noexcept;
};
// Whichever thread opens a WinInet handle closes it; a handle is never
// shared between threads (closing one from another thread aborts calls in
// progress on it, which nothing here relies on).
using InternetHandle = UniqueHandle<InternetHandleTraits>;

// A COM interface pointer that this object holds one reference of.
template <typename Interface> struct ComReferenceTraits {
    using Handle = Interface*;
    static Interface* Invalid() noexcept { return nullptr; }
    static void Close(Interface* object) noexcept { object->Release(); }
};
template <typename Interface> using ComPtr = UniqueHandle<ComReferenceTraits<Interface>>;
using Stream = ComPtr<IStream>;

// A string the RPC runtime allocated (UuidToStringW).
struct RpcStringTraits {
    using Handle = RPC_WSTR;
    static RPC_WSTR Invalid() noexcept { return nullptr; }
    static void Close(RPC_WSTR text) noexcept { ::RpcStringFreeW(&text); }
};
using RpcString = UniqueHandle<RpcStringTraits>;

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

struct IconTraits {
    using Handle = HICON;
    static HICON Invalid() noexcept { return nullptr; }
    static void Close(HICON icon) noexcept { ::DestroyIcon(icon); }
};
using Icon = UniqueHandle<IconTraits>;

struct MenuTraits {
    using Handle = HMENU;
    static HMENU Invalid() noexcept { return nullptr; }
    static void Close(HMENU menu) noexcept { ::DestroyMenu(menu); }
};
using Menu = UniqueHandle<MenuTraits>;

struct ModuleTraits {
    using Handle = HMODULE;
    static HMODULE Invalid() noexcept { return nullptr; }
    static void Close(HMODULE module) noexcept { ::FreeLibrary(module); }
};
using Module = UniqueHandle<ModuleTraits>;

struct WindowTraits {
    using Handle = HWND;
    static HWND Invalid() noexcept { return nullptr; }
    static void Close(HWND window) noexcept { ::DestroyWindow(window); }
};
// A window this object created and nobody else destroys (a tooltip, a test
// window).
using Window = UniqueHandle<WindowTraits>;

// A window's device context from GetDC / GetWindowDC: released, not deleted.
class WindowDc {
public:
    explicit WindowDc(HWND window) noexcept : m_window(window), m_dc(::GetDC(window)) {}
    ~WindowDc() {
        if (m_dc)
            ::ReleaseDC(m_window, m_dc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC get() const noexcept { return m_dc; }
    explicit operator bool() const noexcept { return m_dc != nullptr; }

private:
    HWND m_window;
    HDC m_dc;
};

// BeginPaint / EndPaint around one WM_PAINT.
class PaintDc {
public:
    explicit PaintDc(HWND window) noexcept : m_window(window) { ::BeginPaint(window, &m_paint); }
    ~PaintDc() { ::EndPaint(m_window, &m_paint); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;

    HDC get() const noexcept { return m_paint.hdc; }
    const PAINTSTRUCT& paint() const noexcept { return m_paint; }

private:
    HWND m_window;
    PAINTSTRUCT m_paint{};
};

// Selects an object into a device context and restores the previous one.
class SelectionGuard {
public:
    SelectionGuard(HDC dc, HGDIOBJ object) noexcept
        : m_dc(dc), m_previous(::SelectObject(dc, object)) {}
    ~SelectionGuard() {
        if (m_previous && m_previous != HGDI_ERROR)
            ::SelectObject(m_dc, m_previous);
    }
    SelectionGuard(const SelectionGuard&) = delete;
    SelectionGuard& operator=(const SelectionGuard&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

} // namespace fw
