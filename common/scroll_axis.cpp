#include "common/scroll_axis.h"

#include <algorithm>

int ScrollAxis::MaxPosition() const noexcept {
    return std::max(0, content - std::max(0, page));
}

int ScrollAxis::Clamp(int wanted) const noexcept {
    return std::clamp(wanted, 0, MaxPosition());
}

int ScrollAxis::LineStep() const noexcept {
    return std::max(1, page / 20);
}

int ScrollAxis::AfterScrollCode(int code, int track) const noexcept {
    const int pageStep = std::max(1, page);
    switch (code) {
    case SB_LINEUP:
        return Clamp(position - LineStep());
    case SB_LINEDOWN:
        return Clamp(position + LineStep());
    case SB_PAGEUP:
        return Clamp(position - pageStep);
    case SB_PAGEDOWN:
        return Clamp(position + pageStep);
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        return Clamp(track);
    case SB_TOP:
        return 0;
    case SB_BOTTOM:
        return MaxPosition();
    default:
        return Clamp(position);
    }
}

int ScrollAxis::AfterWheel(int delta, UINT linesPerNotch) const noexcept {
    if (linesPerNotch == 0)
        return Clamp(position);
    // 64-bit: a page per notch times a large delta still fits.
    const long long perNotch =
        linesPerNotch == WHEEL_PAGESCROLL ? std::max(1, page) : 1LL * linesPerNotch * LineStep();
    const long long moved = -1LL * delta * perNotch / WHEEL_DELTA;
    const long long wanted = static_cast<long long>(position) + moved;
    return Clamp(static_cast<int>(std::clamp<long long>(wanted, 0, MaxPosition())));
}

SCROLLINFO ScrollAxis::ToScrollInfo() const noexcept {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = std::max(0, content - 1);
    info.nPage = static_cast<UINT>(std::max(0, page));
    info.nPos = Clamp(position);
    return info;
}
