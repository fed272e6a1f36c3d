#include "controls/caption_layout.h"

int FitCaptionPointSize(int startSize, int windowWidth,
                        const std::function<int(int pointSize)>& captionWidthAt) {
    int size = startSize < 1 ? 1 : startSize;
    while (size > 1 && captionWidthAt(size) + 4 >= windowWidth - 4)
        --size;
    return size;
}

POINT CaptionOrigin(int buttonWidth, int buttonHeight, int captionLength,
                    const TEXTMETRICW& metrics) {
    return {(buttonWidth - captionLength * metrics.tmAveCharWidth) / 2,
            (buttonHeight - metrics.tmHeight) / 2};
}
