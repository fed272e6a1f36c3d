// A window's text as a string.
#pragma once

#include <windows.h>

#include <string>

std::wstring WindowText(HWND window);

// Gives a picture control (SS_BITMAP, SS_ICON) a window text, the name
// screen readers read for it, and keeps its picture: the control itself
// would take the text as the name of another picture to load, or drop it.
void SetPictureName(HWND picture, const wchar_t* name);
