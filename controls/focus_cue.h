// The keyboard focus cue of our own-drawn controls: a dotted rectangle, as
// Windows draws on its buttons, thick enough to be seen at every scale.
#pragma once

#include <windows.h>

// Whether window has the keyboard focus and its window shows focus cues:
// Windows hides them (UISF_HIDEFOCUS) until the keyboard is used, and shows
// them again once it is.
// https://learn.microsoft.com/windows/win32/menurc/wm-changeuistate
bool ShowsFocusCue(HWND window);

// Draws the cue inside rect, insetAt96 pixels (at 96 DPI) from its edges;
// inset and line width grow with the DPI of the device context. Drawn by
// inverting, so it shows on light and dark pictures alike (and a second call
// takes it away).
void DrawFocusCue(HDC dc, const RECT& rect, int insetAt96);

// Whether the message a WM_GETDLGCODE asks about (its lParam, may be null)
// is the Enter key: a focused control that acts on Enter answers
// DLGC_WANTMESSAGE for it, or the dialog manager presses the default button.
bool IsEnterKeyMessage(LPARAM dlgCodeMessage) noexcept;

// A WM_KEYDOWN's lParam: whether the key went down now rather than repeats.
constexpr bool IsFirstPress(LPARAM keyData) noexcept {
    return (keyData & (LPARAM{1} << 30)) == 0;
}

// The cue's line width at a DPI.
int FocusCueWidth(UINT dpi) noexcept;
