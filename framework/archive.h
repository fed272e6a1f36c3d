// Stores values into a byte sequence, or loads them back: in memory or
// through a byte stream (stream_archive.h adapts a COM stream). A count is 16
// bits; a string is its length in UTF-16 units (32 bits) followed by the
// units, all little-endian.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

// Where an archive's bytes go to or come from.
class ByteStream {
public:
    virtual ~ByteStream() = default;
    // False unless every byte was written, or read.
    virtual bool WriteBytes(const std::byte* data, std::size_t size) = 0;
    virtual bool ReadBytes(std::byte* data, std::size_t size) = 0;
};

class Archive {
public:
    // Stores into memory (Bytes).
    Archive();
    // Loads from a copy of bytes.
    explicit Archive(std::vector<std::byte> bytes);
    // Stores into, or loads from, the stream. The stream must outlive the
    // archive.
    Archive(ByteStream& stream, bool storing);
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    bool IsStoring() const noexcept { return m_storing; }
    bool IsLoading() const noexcept { return !m_storing; }
    // A read ran past the end or the stream failed; every later read fails.
    bool Failed() const noexcept { return m_failed; }
    // What a memory archive holds.
    const std::vector<std::byte>& Bytes() const noexcept { return m_memory; }
    // How many bytes a memory archive has loaded so far.
    std::size_t Position() const noexcept { return m_position; }

    void WriteCount(std::uint16_t count);
    // Where wchar_t holds whole code points, one beyond the first 65,536 goes
    // as its two surrogate units, and loading joins a pair back.
    void WriteString(std::wstring_view text);
    // False (and the value untouched) when the data ends early.
    bool ReadCount(std::uint16_t& count);
    bool ReadString(std::wstring& text);

private:
    void Write(const void* data, std::size_t size);
    bool Read(void* data, std::size_t size);

    bool m_storing;
    bool m_failed = false;
    ByteStream* m_stream = nullptr;
    std::vector<std::byte> m_memory;
    std::size_t m_position = 0;
};

} // namespace fw
