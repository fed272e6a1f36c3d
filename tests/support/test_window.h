// Windows and input for tests that drive real controls: a host window that
// behaves like our dialogs towards bound controls, a paint counter, message
// pumping, mouse input through the system queue and screen pixels.
#pragma once

#include "framework/handles.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

// A top-level window at a screen rectangle, filled with one colour. It
// reflects its children's messages to their bound fw::Control objects, as
// fw::Dialog does, and records every WM_COMMAND notification.
class TestHost {
public:
    TestHost(const RECT& screenRect, COLORREF background);
    ~TestHost() = default;
    TestHost(const TestHost&) = delete;
    TestHost& operator=(const TestHost&) = delete;

    HWND Hwnd() const noexcept { return m_window.get(); }
    // How many notifications with this code came from this control.
    int CommandCount(int controlId, WORD code) const;
    void ClearCommands() { m_commands.clear(); }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    struct Command {
        int controlId;
        WORD code;
    };
    fw::GdiBrush m_background;
    std::vector<Command> m_commands;
    fw::Window m_window;
};

// A child window that counts the WM_PAINT messages it receives.
class PaintCounter {
public:
    PaintCounter(HWND parent, const RECT& rect);
    HWND Hwnd() const noexcept { return m_window.get(); }
    int Paints() const noexcept { return m_paints; }
    void Reset() noexcept { m_paints = 0; }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    int m_paints = 0;
    fw::Window m_window;
};

// Dispatches this thread's messages for the given time (input from the X
// server and Wine's deferred painting arrive asynchronously).
void PumpMessages(DWORD milliseconds = 100);

// Dispatches messages until the condition holds or the time is up; answers
// the condition's last value.
template <typename Condition> bool PumpUntil(Condition condition, DWORD milliseconds = 1000) {
    const DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start >= milliseconds)
            return condition();
        PumpMessages(20);
    }
    return true;
}

// Mouse input through SendInput, in screen pixels.
void MouseMoveTo(POINT screen);
void MouseButton(bool down);
void MouseClickAt(POINT screen);

// The centre of a window, in screen pixels.
POINT ScreenCentre(HWND window);
// A point given in a window's client coordinates, in screen pixels.
POINT ClientToScreenPoint(HWND window, int x, int y);
// A window's rectangle in another window's client coordinates.
RECT RectIn(HWND parent, HWND child);
// "(left, top, right, bottom)", for failure messages.
std::string Describe(const RECT& rect);

// A copy of a screen rectangle, as 32-bit pixels.
class ScreenShot {
public:
    explicit ScreenShot(const RECT& screenRect);
    // Pixel at (x, y) relative to the rectangle's top left.
    COLORREF At(int x, int y) const;
    int Width() const noexcept { return m_width; }
    int Height() const noexcept { return m_height; }
    const std::vector<std::uint32_t>& Pixels() const noexcept { return m_pixels; }
    // Writes a 32-bit BMP file; for looking at what a test drew.
    bool Save(const std::wstring& path) const;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint32_t> m_pixels; // top-down 0x00RRGGBB
};

// How many pixels of a window's client area the screen shows in another
// colour, after pending painting.
int ClientPixelsOtherThan(HWND window, COLORREF colour);

// A 32-bit top-down DIB section filled by a function of (x, y) -> COLORREF.
template <typename Fill> fw::GdiBitmap MakeBitmap(int width, int height, Fill fill) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    fw::GdiBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap)
        return bitmap;
    auto* pixels = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF c = fill(x, y);
            pixels[y * width + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    }
    return bitmap;
}

// Where tests write pictures for people to look at: %LUMVEX_PICTURES%, or
// nothing when it is not set.
std::wstring PictureDirectory();

// A path in the user's temporary folder.
std::wstring TempFilePath(const std::wstring& name);

// Presses the virtual keys in order and releases them in reverse, through
// SendInput: the foreground window's focus receives them, and the
// asynchronous key state follows as for a person typing.
void PressKeys(std::initializer_list<WORD> keys);
// Presses the keys in order, holds them until done() answers true or the time
// is up, then releases them in reverse; answers done()'s last word. A
// shortcut reads the Ctrl key's state when the window handles the key, which
// on a busy machine can be later than a person would hold it.
bool PressKeysUntil(std::initializer_list<WORD> keys, const std::function<bool()>& done,
                    DWORD timeoutMs = 5000);
// Presses the keys in order, then the last one again `repeats` times as the
// keyboard's auto-repeat does while it is held, and releases them in reverse.
void PressKeysRepeating(std::initializer_list<WORD> keys, int repeats);
// Types the characters through SendInput, each with its key (and Shift when
// the layout needs it); '\r' is Enter, '\b' Backspace.
void TypeText(const std::wstring& text);
// Sends the characters straight to a window as TranslateMessage would deliver
// them (WM_KEYDOWN, then WM_CHAR), without the keyboard focus.
void SendKeys(HWND window, const std::wstring& text);
