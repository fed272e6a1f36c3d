// A window's text as a string, and an edit's text as it shows it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

std::wstring WindowText(HWND window);

// Gives a picture control (SS_BITMAP, SS_ICON) a window text, the name
// screen readers read for it, and keeps its picture: the control itself
// would take the text as the name of another picture to load, or drop it.
void SetPictureName(HWND picture, const wchar_t* name);

// One line of a multi-line edit as the edit wraps its text: its characters
// and where each starts, in client pixels from the line's left end.
struct EditLine {
    std::wstring text;
    std::vector<int> starts;
};

// The lines of a multi-line edit as it shows them (it wraps them whether or
// not it is visible).
std::vector<EditLine> EditLines(HWND edit);
