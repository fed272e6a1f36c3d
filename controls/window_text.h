// A window's text as a string.
#pragma once

#include <windows.h>

#include <string>

std::wstring WindowText(HWND window);
