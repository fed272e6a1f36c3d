#include "portable/support/fuzz_input.h"

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

std::wstring FuzzInput::Text(std::size_t maxLength, std::wstring_view alphabet) {
    std::wstring text(Below(maxLength + 1), L'\0');
    for (wchar_t& c : text) {
        if (alphabet.empty())
            c = static_cast<wchar_t>(Byte() | Byte() << 8);
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
