// A loopback HTTP server with scripted manners, for what PHP's server never
// does: read a request slowly, or hang up in the middle of its body. When it
// has a whole request it answers 302 with a page address.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>

class ScriptedPeer {
public:
    struct Manners {
        // Hang up once this many bytes of the body arrived.
        std::size_t hangUpAfter = static_cast<std::size_t>(-1);
        // Read at most this many bytes every tickMs (0: as fast as they come).
        std::size_t bytesPerTick = 0;
        DWORD tickMs = 0;
    };

    explicit ScriptedPeer(Manners manners);
    ~ScriptedPeer();
    ScriptedPeer(const ScriptedPeer&) = delete;
    ScriptedPeer& operator=(const ScriptedPeer&) = delete;

    bool IsListening() const noexcept { return m_port != 0; }
    // "127.0.0.1:<port>"
    std::wstring HostAndPort() const;
    // Everything read so far, headers included.
    std::string Received() const;
    std::size_t BodyBytes() const noexcept { return m_bodyBytes; }
    // The connection ended (the peer hung up or the client went away).
    bool ConnectionEnded() const noexcept { return m_ended; }
    // While paused nothing is read: the client's writes block once the
    // network's buffers are full.
    void Pause(bool paused) noexcept { m_paused = paused; }

private:
    void Serve();
    void Converse(SOCKET connection);

    Manners m_manners;
    SOCKET m_listener = INVALID_SOCKET;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<std::size_t> m_bodyBytes{0};
    std::atomic<bool> m_ended{false};
    std::atomic<bool> m_paused{false};
    mutable std::mutex m_mutex;
    std::string m_received;
    std::thread m_thread;
};
