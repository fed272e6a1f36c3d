// A COM stream as the bytes of an archive.
#pragma once

#include "framework/archive.h"

#include <windows.h>
#include <objidl.h>

namespace fw {

class StreamBytes : public ByteStream {
public:
    // The stream, at its current position, must outlive this.
    explicit StreamBytes(IStream* stream) noexcept : m_stream(stream) {}

    bool WriteBytes(const std::byte* data, std::size_t size) override;
    bool ReadBytes(std::byte* data, std::size_t size) override;

private:
    IStream* m_stream;
};

} // namespace fw
