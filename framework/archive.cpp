#include "framework/archive.h"

#include <algorithm>
#include <cstring>

namespace fw {
namespace {

// A length is read in pieces of this many units, so that a damaged length
// cannot make us reserve more than the data really holds.
constexpr std::size_t kStringPiece = 4096;

void PutLittleEndian(std::byte* out, std::uint32_t value, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i)
        out[i] = static_cast<std::byte>((value >> (8 * i)) & 0xFF);
}

std::uint32_t GetLittleEndian(const std::byte* in, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i)
        value |= static_cast<std::uint32_t>(in[i]) << (8 * i);
    return value;
}

constexpr bool kWideIsUtf16 = sizeof(wchar_t) == 2;

// The UTF-16 units of a text: its own where wchar_t is UTF-16, encoded
// where it holds code points.
std::vector<std::uint16_t> Utf16Units(std::wstring_view text) {
    std::vector<std::uint16_t> units;
    units.reserve(text.size());
    for (const wchar_t c : text) {
        const auto value = static_cast<std::uint32_t>(c);
        if (!kWideIsUtf16 && value > 0xFFFF && value <= 0x10FFFF) {
            units.push_back(static_cast<std::uint16_t>(0xD800 + ((value - 0x10000) >> 10)));
            units.push_back(static_cast<std::uint16_t>(0xDC00 + ((value - 0x10000) & 0x3FF)));
        } else {
            units.push_back(static_cast<std::uint16_t>(value));
        }
    }
    return units;
}

// Appends a unit read back; where wchar_t holds code points, a low surrogate
// after a high one joins it.
void AppendUnit(std::wstring& text, std::uint16_t unit) {
    if (!kWideIsUtf16 && unit >= 0xDC00 && unit <= 0xDFFF && !text.empty()) {
        const auto high = static_cast<std::uint32_t>(text.back());
        if (high >= 0xD800 && high <= 0xDBFF) {
            text.back() =
                static_cast<wchar_t>(0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00u));
            return;
        }
    }
    text.push_back(static_cast<wchar_t>(unit));
}

} // namespace

Archive::Archive() : m_storing(true) {}

Archive::Archive(std::vector<std::byte> bytes) : m_storing(false), m_memory(std::move(bytes)) {}

Archive::Archive(ByteStream& stream, bool storing) : m_storing(storing), m_stream(&stream) {}

void Archive::Write(const void* data, std::size_t size) {
    if (!m_storing || m_failed || size == 0)
        return;
    if (!m_stream) {
        const auto* bytes = static_cast<const std::byte*>(data);
        m_memory.insert(m_memory.end(), bytes, bytes + size);
        return;
    }
    if (!m_stream->WriteBytes(static_cast<const std::byte*>(data), size))
        m_failed = true;
}

bool Archive::Read(void* data, std::size_t size) {
    if (m_storing || m_failed)
        return false;
    if (size == 0)
        return true;
    if (!m_stream) {
        if (m_memory.size() - m_position < size) {
            m_failed = true;
            return false;
        }
        std::memcpy(data, m_memory.data() + m_position, size);
        m_position += size;
        return true;
    }
    if (!m_stream->ReadBytes(static_cast<std::byte*>(data), size)) {
        m_failed = true;
        return false;
    }
    return true;
}

void Archive::WriteCount(std::uint16_t count) {
    std::byte bytes[2];
    PutLittleEndian(bytes, count, sizeof(bytes));
    Write(bytes, sizeof(bytes));
}

void Archive::WriteString(std::wstring_view text) {
    const std::vector<std::uint16_t> units = Utf16Units(text);
    if (units.size() > UINT32_MAX) {
        m_failed = true;
        return;
    }
    std::byte length[4];
    PutLittleEndian(length, static_cast<std::uint32_t>(units.size()), sizeof(length));
    Write(length, sizeof(length));
    std::vector<std::byte> bytes(units.size() * 2);
    for (std::size_t i = 0; i < units.size(); ++i)
        PutLittleEndian(&bytes[2 * i], units[i], 2);
    Write(bytes.data(), bytes.size());
}

bool Archive::ReadCount(std::uint16_t& count) {
    std::byte bytes[2];
    if (!Read(bytes, sizeof(bytes)))
        return false;
    count = static_cast<std::uint16_t>(GetLittleEndian(bytes, sizeof(bytes)));
    return true;
}

bool Archive::ReadString(std::wstring& text) {
    std::byte lengthBytes[4];
    if (!Read(lengthBytes, sizeof(lengthBytes)))
        return false;
    std::size_t remaining = GetLittleEndian(lengthBytes, sizeof(lengthBytes));
    std::wstring result;
    std::byte piece[2 * kStringPiece];
    while (remaining > 0) {
        const std::size_t units = std::min(remaining, kStringPiece);
        if (!Read(piece, 2 * units))
            return false;
        for (std::size_t i = 0; i < units; ++i)
            AppendUnit(result, static_cast<std::uint16_t>(GetLittleEndian(&piece[2 * i], 2)));
        remaining -= units;
    }
    text = std::move(result);
    return true;
}

} // namespace fw
