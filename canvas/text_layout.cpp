#include "canvas/text_layout.h"

#include <algorithm>

#include "framework/handles.h"

namespace {

// A device context at the screen's resolution with the font selected.
class FontDc {
public:
    explicit FontDc(HFONT font) noexcept
        : m_dc(::CreateCompatibleDC(nullptr)),
          m_select(m_dc.get(), font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(SYSTEM_FONT)) {}
    HDC get() const noexcept { return m_dc.get(); }

private:
    fw::MemoryDc m_dc;
    fw::SelectionGuard m_select;
};

// An edit control's default tab stops: every eight average characters,
// the average as the system measures it for dialogs.
int TabWidth(HDC dc) {
    static const wchar_t kAlphabet[] = L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    SIZE size{};
    ::GetTextExtentPoint32W(dc, kAlphabet, 52, &size);
    return static_cast<int>(std::max(1L, 8 * ((size.cx / 26 + 1) / 2)));
}

// Each character's advance in the font selected into dc; a tab reaches to
// the next stop counted from the line's start.
std::vector<INT> MeasuredAdvances(HDC dc, const std::wstring& text, int tabWidth) {
    std::vector<INT> advances(text.size(), 0);
    int x = 0;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == L'\t') {
            const int next = (x / tabWidth + 1) * tabWidth;
            advances[i++] = next - x;
            x = next;
            continue;
        }
        const size_t end = std::min(text.find(L'\t', i), text.size());
        std::vector<INT> extents(end - i, 0);
        SIZE size{};
        ::GetTextExtentExPointW(dc, text.data() + i, static_cast<int>(end - i), 0, nullptr,
                                extents.data(), &size);
        int previous = 0;
        for (size_t k = 0; k < extents.size(); ++k) {
            advances[i + k] = extents[k] - previous;
            previous = extents[k];
        }
        x += previous;
        i = end;
    }
    return advances;
}

} // namespace

int LineHeightOf(HFONT font) {
    const FontDc dc(font);
    TEXTMETRICW metrics{};
    return dc.get() && ::GetTextMetricsW(dc.get(), &metrics) ? metrics.tmHeight : 0;
}

CTextLayout::CTextLayout(HFONT font, const std::vector<EditLine>& lines) {
    const FontDc dc(font);
    TEXTMETRICW metrics{};
    if (!dc.get() || !::GetTextMetricsW(dc.get(), &metrics))
        return;
    m_lineHeight = metrics.tmHeight;
    const int tabWidth = TabWidth(dc.get());
    for (const EditLine& source : lines) {
        Line line;
        line.text = source.text;
        std::replace(line.text.begin(), line.text.end(), L'\t', L' ');
        line.advances = MeasuredAdvances(dc.get(), source.text, tabWidth);
        // Where the editor put a character (kerned, after a tab), it stays.
        if (source.starts.size() == source.text.size()) {
            for (size_t k = 0; k + 1 < source.starts.size(); ++k)
                line.advances[k] = source.starts[k + 1] - source.starts[k];
        }
        m_lines.push_back(std::move(line));
    }
}

void CTextLayout::Draw(HDC dc, const RECT& box) const {
    int top = box.top;
    for (const Line& line : m_lines) {
        if (top >= box.bottom)
            break;
        if (!line.text.empty())
            ::ExtTextOutW(dc, box.left, top, ETO_CLIPPED, &box, line.text.c_str(),
                          static_cast<UINT>(line.text.size()), line.advances.data());
        top += m_lineHeight;
    }
}
