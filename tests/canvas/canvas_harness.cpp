#include "canvas_harness.h"

#include "support/message_pump.h"

#include <atomic>
#include <thread>

namespace canvas_test {
namespace {

constexpr wchar_t kWindowClass[] = L"LumvexCanvasTestWindow";

void RegisterWindowClass(WNDPROC procedure) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = procedure;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = kWindowClass;
    ::RegisterClassExW(&wc); // fails harmlessly when already registered
}

LPARAM PointParam(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)),
                      static_cast<WORD>(static_cast<short>(y)));
}

} // namespace

CanvasHarness::CanvasHarness(SIZE surfaceSize) {
    RegisterWindowClass(&CanvasHarness::WindowProc);
    m_window =
        ::CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, L"Canvas test", WS_POPUP | WS_VISIBLE, 0,
                          0, surfaceSize.cx + 20, surfaceSize.cy + 20, nullptr, nullptr,
                          ::GetModuleHandleW(nullptr), nullptr);
    ::SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    const RECT rect{10, 10, 10 + surfaceSize.cx, 10 + surfaceSize.cy};
    m_surface.Create(WS_CHILD | WS_VISIBLE | SS_NOTIFY, rect, m_window, 1034);
    m_panel.StartGraphics();
    m_panel.Connect(nullptr);
    m_paints.Watch(Surface());
    ::UpdateWindow(m_window);
    Pump();
}

CanvasHarness::~CanvasHarness() {
    // Pending items hold GDI+ objects: they go before the panel stops GDI+.
    m_factory.reset();
    ::DestroyWindow(m_window);
}

LRESULT CALLBACK CanvasHarness::WindowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    auto* self = reinterpret_cast<CanvasHarness*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_COMMAND && lParam == 0)
        self->m_commands.push_back(LOWORD(wParam));
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void CanvasHarness::Press(int x, int y) {
    ::SendMessageW(Surface(), WM_LBUTTONDOWN, MK_LBUTTON, PointParam(x, y));
}

void CanvasHarness::Move(int x, int y) {
    ::SendMessageW(Surface(), WM_MOUSEMOVE, MK_LBUTTON, PointParam(x, y));
}

void CanvasHarness::Release(int x, int y) {
    ::SendMessageW(Surface(), WM_LBUTTONUP, 0, PointParam(x, y));
}

void CanvasHarness::PressAgain(int x, int y) {
    ::SendMessageW(Surface(), WM_LBUTTONDBLCLK, MK_LBUTTON, PointParam(x, y));
}

void CanvasHarness::DoubleClick(int x, int y) {
    Press(x, y);
    Release(x, y);
    PressAgain(x, y);
    Release(x, y);
}

HCURSOR CanvasHarness::CursorAt(int x, int y) {
    POINT screen{x, y};
    ::ClientToScreen(Surface(), &screen);
    ::SetCursorPos(screen.x, screen.y);
    ::SetCursor(nullptr);
    ::SendMessageW(Surface(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Surface()),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return ::GetCursor();
}

void CanvasHarness::Drag(int x1, int y1, int x2, int y2, int steps) {
    Press(x1, y1);
    for (int i = 1; i <= steps; ++i)
        Move(x1 + (x2 - x1) * i / steps, y1 + (y2 - y1) * i / steps);
    Release(x2, y2);
}

ShownMenu CanvasHarness::RightClick(int x, int y, const std::vector<WPARAM>& keys) {
    ShownMenu shown;
    std::atomic<bool> done{false};
    std::thread closer([&] {
        // The menu's modal loop runs on this thread's caller: find its window
        // from here, read it, and answer it with a key.
        for (int tries = 0; tries < 500 && !done; ++tries) {
            HWND menuWindow = ::FindWindowW(L"#32768", nullptr);
            if (menuWindow && ::IsWindowVisible(menuWindow)) {
                auto menu = reinterpret_cast<HMENU>(::SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
                for (int i = 0; menu && i < ::GetMenuItemCount(menu); ++i)
                    shown.commands.push_back(::GetMenuItemID(menu, i));
                ::GetWindowRect(menuWindow, &shown.window);
                for (const WPARAM key : keys)
                    ::PostMessageW(menuWindow, WM_KEYDOWN, key, 0);
                return;
            }
            ::Sleep(10);
        }
    });
    ::SendMessageW(Surface(), WM_RBUTTONDOWN, MK_RBUTTON, PointParam(x, y));
    ::SendMessageW(Surface(), WM_RBUTTONUP, 0, PointParam(x, y));
    done = true;
    closer.join();
    Pump();
    return shown;
}

void CanvasHarness::Pump() {
    PumpMessages(0);
}

fw::GdiBitmap MakePicture(int width, int height, COLORREF color) {
    fw::WindowDc screen(nullptr);
    fw::GdiBitmap bitmap(::CreateCompatibleBitmap(screen.get(), width, height));
    FillBlock(bitmap.get(), RECT{0, 0, width, height}, color);
    return bitmap;
}

void FillBlock(HBITMAP bitmap, const RECT& rect, COLORREF color) {
    fw::MemoryDc dc(::CreateCompatibleDC(nullptr));
    fw::SelectionGuard select(dc.get(), bitmap);
    fw::GdiBrush brush(::CreateSolidBrush(color));
    ::FillRect(dc.get(), &rect, brush.get());
}

fw::GdiBitmap PaintOnGrey(HWND surface, const std::function<void(HDC, const RECT&)>& paint) {
    RECT client{};
    ::GetClientRect(surface, &client);
    fw::WindowDc screen(nullptr);
    fw::GdiBitmap bitmap(::CreateCompatibleBitmap(screen.get(), client.right, client.bottom));
    fw::MemoryDc dc(::CreateCompatibleDC(screen.get()));
    fw::SelectionGuard select(dc.get(), bitmap.get());
    fw::GdiBrush background(::CreateSolidBrush(RGB(128, 128, 128)));
    ::FillRect(dc.get(), &client, background.get());
    paint(dc.get(), client);
    return bitmap;
}

fw::GdiBitmap PrintSurface(HWND surface) {
    return PaintOnGrey(surface, [surface](HDC dc, const RECT&) {
        ::SendMessageW(surface, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    });
}

std::wstring SavePicture(const Picture& picture, const wchar_t* name) {
    wchar_t exe[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring folder(exe);
    folder.erase(folder.find_last_of(L'\\'));
    folder.erase(folder.find_last_of(L'\\')); // the build tree, above tests/
    folder += L"\\pictures";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring path = folder + L"\\" + name + L".png";
    SavePng(picture, path);
    return path;
}

} // namespace canvas_test
