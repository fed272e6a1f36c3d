#include "framework/stream_archive.h"

#include <climits>

namespace fw {

bool StreamBytes::WriteBytes(const std::byte* data, std::size_t size) {
    ULONG written = 0;
    return m_stream && size <= ULONG_MAX &&
           SUCCEEDED(m_stream->Write(data, static_cast<ULONG>(size), &written)) && written == size;
}

bool StreamBytes::ReadBytes(std::byte* data, std::size_t size) {
    ULONG read = 0;
    return m_stream && size <= ULONG_MAX &&
           SUCCEEDED(m_stream->Read(data, static_cast<ULONG>(size), &read)) && read == size;
}

} // namespace fw
