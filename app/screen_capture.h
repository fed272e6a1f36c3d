// Copying the primary screen into a bitmap.
#pragma once

#include <windows.h>

// A new 32-bit top-down DIB section holding the primary screen (SM_CXSCREEN
// by SM_CYSCREEN from the origin), layered windows included; the caller owns
// it. Null when the bitmap cannot be created.
HBITMAP CaptureScreen();
