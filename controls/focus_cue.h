// The keyboard focus cue of our own-drawn controls: a dotted rectangle, as
// Windows draws on its buttons, thick enough to be seen at every scale.
#pragma once

#include <windows.h>

#include <functional>

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

// The keys a focused control takes as its click: Enter, and Space too when
// withSpace. For a control's HandleMessage: handles WM_GETDLGCODE (asking the
// dialog manager for Enter, which it would otherwise give the dialog's
// default button; ownCode gives the control's own answer), WM_KEYDOWN (the
// first press of a key runs click, a held key's repeats do not) and the
// WM_CHAR of those keys. Answers true when it handled the message.
bool HandleClickKeys(UINT message, WPARAM wParam, LPARAM lParam, bool withSpace,
                     const std::function<LRESULT()>& ownCode, const std::function<void()>& click,
                     LRESULT& result);

// The cue's line width at a DPI.
int FocusCueWidth(UINT dpi) noexcept;
