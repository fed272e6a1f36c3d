#include "controls/mask_region.h"

#include "framework/picture.h"

#include <cstddef>
#include <cstring>

namespace {

constexpr std::uint32_t kKeyPixel = 0x00FF00FF; // magenta as 0x00RRGGBB
constexpr std::uint32_t kColourBits = 0x00FFFFFF;

bool IsKey(std::uint32_t pixel) {
    return (pixel & kColourBits) == kKeyPixel;
}

} // namespace

std::vector<RECT> MaskRuns(const std::uint32_t* pixels, int width, int height) {
    std::vector<RECT> runs;
    if (!pixels || width <= 0 || height <= 0)
        return runs;
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* row = pixels + static_cast<std::size_t>(y) * width;
        int x = 0;
        while (x < width) {
            while (x < width && IsKey(row[x]))
                ++x;
            const int start = x;
            while (x < width && !IsKey(row[x]))
                ++x;
            if (x > start)
                runs.push_back(RECT{start, y, x, y + 1});
        }
    }
    return runs;
}

fw::GdiRegion RegionFromRects(const std::vector<RECT>& rects) {
    if (rects.empty())
        return fw::GdiRegion(::CreateRectRgn(0, 0, 0, 0));
    RECT bounds = rects.front();
    for (const RECT& rect : rects)
        ::UnionRect(&bounds, &bounds, &rect);
    const std::size_t rectBytes = rects.size() * sizeof(RECT);
    std::vector<std::byte> buffer(sizeof(RGNDATAHEADER) + rectBytes);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(rects.size());
    data->rdh.nRgnSize = static_cast<DWORD>(rectBytes);
    data->rdh.rcBound = bounds;
    std::memcpy(buffer.data() + sizeof(RGNDATAHEADER), rects.data(), rectBytes);
    return fw::GdiRegion(::ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data));
}

fw::GdiRegion RegionFromMask(HBITMAP mask) {
    BITMAP info{};
    if (!mask || ::GetObjectW(mask, sizeof(info), &info) != sizeof(info) || info.bmWidth <= 0 ||
        info.bmHeight == 0)
        return {};
    const int width = info.bmWidth;
    const int height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;

    // Read the pixels as top-down 32-bit RGB whatever the bitmap's format.
    BITMAPINFO request = fw::TopDownDibFormat(width, height);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    fw::MemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!dc || ::GetDIBits(dc.get(), mask, 0, static_cast<UINT>(height), pixels.data(), &request,
                           DIB_RGB_COLORS) != height)
        return {};
    return RegionFromRects(MaskRuns(pixels.data(), width, height));
}
