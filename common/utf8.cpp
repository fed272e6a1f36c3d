#include "common/utf8.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t c) noexcept {
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(char32_t c) noexcept {
    return c >= 0xDC00 && c <= 0xDFFF;
}

} // namespace

char32_t CodePointAt(std::wstring_view text, std::size_t at, std::size_t& units) noexcept {
    units = 1;
    const auto c = static_cast<char32_t>(text[at]);
    if constexpr (sizeof(wchar_t) == 2) {
        if (IsHighSurrogate(c) && at + 1 < text.size()) {
            const auto low = static_cast<char32_t>(text[at + 1]);
            if (IsLowSurrogate(low)) {
                units = 2;
                return 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            }
        }
    }
    if (IsHighSurrogate(c) || IsLowSurrogate(c) || c > 0x10FFFF)
        return kReplacement;
    return c;
}

void AppendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string ToUtf8(std::wstring_view text) {
    std::string utf8;
    utf8.reserve(text.size());
    for (std::size_t i = 0, units = 0; i < text.size(); i += units)
        AppendUtf8(CodePointAt(text, i, units), utf8);
    return utf8;
}
