// Windows and input for tests that drive real controls: a host window that
// behaves like our dialogs towards bound controls, a paint counter, message
// pumping, mouse input through the system queue and screen pixels.
#pragma once

#include "support/message_pump.h"
#include "support/picture.h"

#include "framework/handles.h"
#include "framework/picture.h"

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

// Counts the WM_PAINT messages a window receives and records the update
// rectangle (client coordinates) of each, from Watch() until the window or
// this object goes.
class PaintCounter {
public:
    PaintCounter() = default;
    explicit PaintCounter(HWND window) { Watch(window); }
    ~PaintCounter() { Watch(nullptr); }
    PaintCounter(const PaintCounter&) = delete;
    PaintCounter& operator=(const PaintCounter&) = delete;

    void Watch(HWND window);

    int paints = 0;
    RECT lastUpdate{};
    std::vector<RECT> updates;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                 UINT_PTR id, DWORD_PTR self);

    HWND m_window = nullptr;
};

// Mouse input through SendInput, in screen pixels.
// A visible window that owner owns (a dialog it opened), or null.
HWND FindOwnedWindow(HWND owner);

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

// How many pixels of a window's client area the screen shows in another
// colour, after pending painting.
int ClientPixelsOtherThan(HWND window, COLORREF colour);

// A 32-bit top-down DIB section filled by a function of (x, y) -> COLORREF.
template <typename Fill> fw::GdiBitmap MakeBitmap(int width, int height, Fill fill) {
    const BITMAPINFO info = fw::TopDownDibFormat(width, height);
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
