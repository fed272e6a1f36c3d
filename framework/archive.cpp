#include "framework/archive.h"

#include <algorithm>
#include <climits>
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

} // namespace

Archive::Archive() : m_storing(true) {}

Archive::Archive(std::vector<std::byte> bytes) : m_storing(false), m_memory(std::move(bytes)) {}

Archive::Archive(IStream* stream, bool storing) : m_storing(storing), m_stream(stream) {
    m_failed = stream == nullptr;
}

void Archive::Write(const void* data, std::size_t size) {
    if (!m_storing || m_failed || size == 0)
        return;
    if (!m_stream) {
        const auto* bytes = static_cast<const std::byte*>(data);
        m_memory.insert(m_memory.end(), bytes, bytes + size);
        return;
    }
    ULONG written = 0;
    if (size > ULONG_MAX || FAILED(m_stream->Write(data, static_cast<ULONG>(size), &written)) ||
        written != size)
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
    ULONG read = 0;
    if (size > ULONG_MAX || FAILED(m_stream->Read(data, static_cast<ULONG>(size), &read)) ||
        read != size) {
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
    if (text.size() > UINT32_MAX) {
        m_failed = true;
        return;
    }
    std::byte length[4];
    PutLittleEndian(length, static_cast<std::uint32_t>(text.size()), sizeof(length));
    Write(length, sizeof(length));
    std::vector<std::byte> units(text.size() * 2);
    for (std::size_t i = 0; i < text.size(); ++i)
        PutLittleEndian(&units[2 * i], static_cast<std::uint16_t>(text[i]), 2);
    Write(units.data(), units.size());
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
            result.push_back(static_cast<wchar_t>(GetLittleEndian(&piece[2 * i], 2)));
        remaining -= units;
    }
    text = std::move(result);
    return true;
}

} // namespace fw
