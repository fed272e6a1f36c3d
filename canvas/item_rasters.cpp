#include "canvas/item_rasters.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "canvas/canvas_item.h"

namespace {

// An item larger than this at the view's scale is drawn directly: its
// pixels would cost more memory than its drawing costs time.
constexpr std::size_t kMaxItemPixels = 1'000'000;
// All kept pixels together stay within this; items beyond it are drawn
// directly.
constexpr std::size_t kMaxBytes = 48u * 1024 * 1024;

std::int64_t Bits(float value) {
    std::int32_t bits = 0;
    static_assert(sizeof(bits) == sizeof(value));
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

std::size_t BytesOf(const CItemRasters::Pixels& pixels) {
    return pixels.argb.size() * sizeof(std::uint32_t);
}

} // namespace

const CItemRasters::Pixels* CItemRasters::Find(gfx::Graphics& graphics, CCanvasItem& item,
                                               const RECT& bounds, bool mayKeep, RECT& place) {
    const gfx::Matrix world = graphics.GetTransform();
    float m[6] = {};
    if (!world || world.GetElements(m) != Gdiplus::Ok)
        return nullptr;
    RECT whole = bounds;
    ::InflateRect(&whole, 1, 1); // the rounding of fractional zooms
    place = world.TransformRect(whole);
    const int width = place.right - place.left;
    const int height = place.bottom - place.top;
    const std::size_t pixels = static_cast<std::size_t>(std::max(width, 0)) *
                               static_cast<std::size_t>(std::max(height, 0));
    if (pixels == 0 || pixels > kMaxItemPixels)
        return nullptr;

    // The item as it looks, at this scale; whole pixels of offset only move
    // it.
    std::vector<std::int64_t> appearance;
    item.AppendAppearance(appearance);
    appearance.insert(appearance.end(),
                      {Bits(m[0]), Bits(m[1]), Bits(m[2]), Bits(m[3]),
                       Bits(m[4] - std::floor(m[4])), Bits(m[5] - std::floor(m[5]))});

    auto found = m_entries.find(&item);
    if (found != m_entries.end() && found->second.pixels.width == width &&
        found->second.pixels.height == height && found->second.appearance == appearance)
        return &found->second.pixels;
    if (found != m_entries.end())
        Forget(found);
    if (!mayKeep || m_bytes + pixels * sizeof(std::uint32_t) > kMaxBytes)
        return nullptr;

    Entry entry{std::move(appearance),
                Pixels{width, height, std::vector<std::uint32_t>(pixels, 0)}};
    {
        const gfx::Bitmap bitmap = gfx::Bitmap::OverPargbPixels(
            width, height, width * static_cast<int>(sizeof(std::uint32_t)),
            entry.pixels.argb.data());
        gfx::Graphics onBitmap = gfx::Graphics::FromImage(bitmap);
        if (!onBitmap)
            return nullptr;
        onBitmap.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        const float toBitmap[6] = {m[0],
                                   m[1],
                                   m[2],
                                   m[3],
                                   m[4] - static_cast<float>(place.left),
                                   m[5] - static_cast<float>(place.top)};
        onBitmap.SetTransform(gfx::Matrix::FromElements(toBitmap));
        item.Draw(onBitmap);
    }
    m_bytes += BytesOf(entry.pixels);
    return &m_entries.emplace(&item, std::move(entry)).first->second.pixels;
}

void CItemRasters::KeepOnly(const std::vector<const CCanvasItem*>& items) {
    for (auto entry = m_entries.begin(); entry != m_entries.end();) {
        const auto next = std::next(entry);
        if (std::find(items.begin(), items.end(), entry->first) == items.end())
            Forget(entry);
        entry = next;
    }
}

void CItemRasters::Forget(Entries::iterator entry) noexcept {
    m_bytes -= BytesOf(entry->second.pixels);
    m_entries.erase(entry);
}
