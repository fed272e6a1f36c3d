#include "test_window.h"

#include "framework/control.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

namespace {

constexpr wchar_t kHostClass[] = L"LumvexTestHost";

void RegisterClassOnce(const wchar_t* name, WNDPROC proc) {
    WNDCLASSEXW cls{};
    if (::GetClassInfoExW(::GetModuleHandleW(nullptr), name, &cls))
        return;
    cls.cbSize = sizeof(cls);
    cls.style = CS_DBLCLKS;
    cls.lpfnWndProc = proc;
    cls.hInstance = ::GetModuleHandleW(nullptr);
    cls.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    cls.lpszClassName = name;
    ::RegisterClassExW(&cls);
}

} // namespace

TestHost::TestHost(const RECT& screenRect, COLORREF background)
    : m_background(::CreateSolidBrush(background)) {
    RegisterClassOnce(kHostClass, Proc);
    m_window.reset(::CreateWindowExW(
        0, kHostClass, L"Test host", WS_POPUP | WS_VISIBLE, screenRect.left, screenRect.top,
        screenRect.right - screenRect.left, screenRect.bottom - screenRect.top, nullptr, nullptr,
        ::GetModuleHandleW(nullptr), this));
    PumpMessages(50);
}

int TestHost::CommandCount(int controlId, WORD code) const {
    return static_cast<int>(
        std::count_if(m_commands.begin(), m_commands.end(), [&](const Command& command) {
            return command.controlId == controlId && command.code == code;
        }));
}

LRESULT CALLBACK TestHost::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<TestHost*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    LRESULT result = 0;
    if (fw::ReflectToControl(message, wParam, lParam, result))
        return result;
    switch (message) {
    case WM_COMMAND:
        if (self && lParam)
            self->m_commands.push_back({LOWORD(wParam), HIWORD(wParam)});
        return 0;
    case WM_ERASEBKGND: {
        if (!self)
            break;
        RECT client;
        ::GetClientRect(window, &client);
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, self->m_background.get());
        return TRUE;
    }
    default:
        break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void PaintCounter::Watch(HWND window) {
    if (m_window)
        ::RemoveWindowSubclass(m_window, Proc, 0);
    m_window = window;
    if (m_window)
        ::SetWindowSubclass(m_window, Proc, 0, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK PaintCounter::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<PaintCounter*>(data);
    if (message == WM_PAINT) {
        RECT update{};
        ::GetUpdateRect(window, &update, FALSE);
        ++self->paints;
        self->lastUpdate = update;
        self->updates.push_back(update);
    } else if (message == WM_NCDESTROY) {
        self->Watch(nullptr);
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

void MouseMoveTo(POINT screen) {
    // Absolute coordinates are 0..65535 across the primary screen; round up
    // so that the system's scaling lands on the intended pixel.
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((screen.x * 65536LL + width - 1) / width);
    input.mi.dy = static_cast<LONG>((screen.y * 65536LL + height - 1) / height);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &input, sizeof(input));
    PumpMessages(60);
}

void MouseButton(bool down) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &input, sizeof(input));
    PumpMessages(60);
}

void MouseClickAt(POINT screen) {
    MouseMoveTo(screen);
    MouseButton(true);
    MouseButton(false);
}

namespace {

void SendKey(WORD key, bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    ::SendInput(1, &input, sizeof(input));
    // Wine keeps a thread's view of the key state for up to 50 ms; a person
    // never types faster than that.
    PumpMessages(60);
}

} // namespace

void PressKeys(std::initializer_list<WORD> keys) {
    PressKeysUntil(keys, [] { return true; });
}

bool PressKeysUntil(std::initializer_list<WORD> keys, const std::function<bool()>& done,
                    DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    auto remaining = [&] {
        const DWORD elapsed = ::GetTickCount() - start;
        return elapsed < timeoutMs ? timeoutMs - elapsed : 0;
    };
    auto allHeld = [&] {
        for (WORD key : keys) {
            if (!(::GetAsyncKeyState(key) & 0x8000))
                return false;
        }
        return true;
    };
    for (;;) {
        for (WORD key : keys)
            SendKey(key, true);
        PumpUntil([&] { return done() || !allHeld(); }, remaining());
        for (auto key = std::rbegin(keys); key != std::rend(keys); ++key)
            SendKey(*key, false);
        // Wine reloads the key state from the X server when the X focus
        // reaches a window, and so forgets keys pressed just before: if that
        // took a key from under us, press them all again.
        if (PumpUntil(done, std::min<DWORD>(200, remaining())) || remaining() == 0)
            return done();
    }
}

void PressKeysRepeating(std::initializer_list<WORD> keys, int repeats) {
    for (WORD key : keys)
        SendKey(key, true);
    for (int i = 0; i < repeats && keys.size() > 0; ++i)
        SendKey(*std::rbegin(keys), true);
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key)
        SendKey(*key, false);
}

namespace {

SHORT KeyOf(wchar_t character) {
    if (character == L'\b')
        return VK_BACK;
    if (character == L'\r')
        return VK_RETURN;
    return ::VkKeyScanW(character);
}

} // namespace

void TypeText(const std::wstring& text) {
    for (wchar_t character : text) {
        const SHORT key = KeyOf(character);
        const WORD virtualKey = static_cast<WORD>(key & 0xFF);
        if (key & 0x100)
            PressKeys({VK_SHIFT, virtualKey});
        else
            PressKeys({virtualKey});
    }
}

void SendKeys(HWND window, const std::wstring& text) {
    for (wchar_t character : text) {
        ::SendMessageW(window, WM_KEYDOWN, static_cast<WPARAM>(KeyOf(character) & 0xFF), 1);
        ::SendMessageW(window, WM_CHAR, character, 1);
    }
}

POINT ScreenCentre(HWND window) {
    RECT rect;
    ::GetWindowRect(window, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

POINT ClientToScreenPoint(HWND window, int x, int y) {
    POINT point{x, y};
    ::ClientToScreen(window, &point);
    return point;
}

std::string Describe(const RECT& r) {
    // Appended, not joined with +: at -O3 GCC 12 reports a literal + string
    // as an overlapping copy (a false positive) and -Werror=restrict stops
    // the Release build. https://gcc.gnu.org/bugzilla/show_bug.cgi?id=105329
    std::string text = "(";
    for (const LONG edge : {r.left, r.top, r.right, r.bottom}) {
        if (text.size() > 1)
            text += ", ";
        text += std::to_string(edge);
    }
    text += ')';
    return text;
}

RECT RectIn(HWND parent, HWND child) {
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::wstring PictureDirectory() {
    wchar_t buffer[MAX_PATH];
    const DWORD length = ::GetEnvironmentVariableW(L"LUMVEX_PICTURES", buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(buffer, length) : std::wstring();
}

std::wstring TempFilePath(const std::wstring& name) {
    wchar_t folder[MAX_PATH]{};
    ::GetTempPathW(MAX_PATH, folder);
    return folder + name;
}

int ClientPixelsOtherThan(HWND window, COLORREF colour) {
    PumpMessages(80);
    RECT client{};
    ::GetClientRect(window, &client);
    const POINT origin = ClientToScreenPoint(window, 0, 0);
    const Picture shot =
        ScreenPicture(RECT{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom});
    return static_cast<int>(shot.pixels.size()) - shot.Count(colour);
}

HWND FindOwnedWindow(HWND owner) {
    struct Search {
        HWND owner;
        HWND found;
    } search{owner, nullptr};
    ::EnumWindows(
        [](HWND candidate, LPARAM data) {
            auto* s = reinterpret_cast<Search*>(data);
            if (::GetWindow(candidate, GW_OWNER) != s->owner || !::IsWindowVisible(candidate))
                return TRUE;
            s->found = candidate;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}
