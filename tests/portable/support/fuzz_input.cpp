#include "portable/support/fuzz_input.h"

#include <cstdio>
#include <cstdlib>

void FuzzInvariantBroken(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, condition);
    std::abort();
}

std::uint8_t FuzzInput::Byte() noexcept {
    if (m_size == 0)
        return 0;
    --m_size;
    return *m_data++;
}

std::size_t FuzzInput::Below(std::size_t bound) noexcept {
    if (bound == 0)
        return 0;
    return Uint32() % bound;
}

std::uint32_t FuzzInput::Uint32() noexcept {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value = value << 8 | Byte();
    return value;
}

namespace {

// Any UTF-16 unit where wchar_t is one; where it holds code points, a
// surrogate (no code point of its own) stands for one beyond the first
// 65,536 instead.
wchar_t Character(std::uint16_t unit) noexcept {
    if constexpr (sizeof(wchar_t) == 4) {
        if (unit >= 0xD800 && unit <= 0xDFFF)
            return static_cast<wchar_t>(0x10000 + (unit - 0xD800) * 0x40);
    }
    return static_cast<wchar_t>(unit);
}

} // namespace

std::wstring FuzzInput::Text(std::size_t maxLength, std::wstring_view alphabet) {
    std::wstring text(Below(maxLength + 1), L'\0');
    for (wchar_t& c : text) {
        if (alphabet.empty())
            c = Character(static_cast<std::uint16_t>(Byte() | Byte() << 8));
        else
            c = alphabet[Byte() % alphabet.size()];
    }
    return text;
}

std::wstring FuzzInput::RestAsText() {
    std::wstring text;
    while (m_size >= 2)
        text += static_cast<wchar_t>(Byte() | Byte() << 8);
    return text;
}
