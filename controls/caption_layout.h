// Where and how large a bitmap button's caption is drawn.
#pragma once

#include <windows.h>

#include <functional>

// The point size at which a caption fits a button of the given window width:
// starting at startSize, the size goes down by one until the caption's width
// plus 4 is less than the window width minus 4, but never below 1.
// captionWidthAt measures the caption in pixels at a point size.
int FitCaptionPointSize(int startSize, int windowWidth,
                        const std::function<int(int pointSize)>& captionWidthAt);

// The caption's top-left corner in a button: centred by the font's average
// character width and its character height.
POINT CaptionOrigin(int buttonWidth, int buttonHeight, int captionLength,
                    const TEXTMETRICW& metrics);
