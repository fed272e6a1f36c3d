// Reading a fuzzer's bytes as values: each read takes what it needs from the
// front and gives a default once the bytes run out.
#pragma once

// Ends the fuzzer's run, naming the invariant that does not hold and where.
#define FUZZ_REQUIRE(condition)                                                                    \
    ((condition) ? void() : FuzzInvariantBroken(#condition, __FILE__, __LINE__))
[[noreturn]] void FuzzInvariantBroken(const char* condition, const char* file, int line);

#include <cstddef>
#include <cstdint>
#include <string>

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) noexcept : m_data(data), m_size(size) {}

    bool Empty() const noexcept { return m_size == 0; }
    std::uint8_t Byte() noexcept;
    // A number in [0, bound); 0 when bound is 0.
    std::size_t Below(std::size_t bound) noexcept;
    std::uint32_t Uint32() noexcept;
    // Up to maxLength characters, each one of the alphabet's when it is
    // given, otherwise any (from two bytes: a UTF-16 unit where wchar_t is
    // one, a code point where it holds code points).
    std::wstring Text(std::size_t maxLength, std::wstring_view alphabet = {});
    // The rest of the bytes as UTF-16 units, little-endian.
    std::wstring RestAsText();

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
};
