// A loopback HTTP server with scripted manners, for what PHP's server never
// does: take a connection and never read it, read slowly or at a set rate,
// hang up in the middle of a body, answer late or never, or answer whatever
// a test needs. Once it has a whole request it sends the scripted answer.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>

// 302 with a page on the peer itself: an accepted upload.
inline constexpr char kPeerPageAnswer[] = "HTTP/1.1 302 Found\r\nLocation: http://$PEER/page\r\n"
                                          "Content-Length: 0\r\nConnection: close\r\n\r\n";

class ScriptedPeer {
public:
    static constexpr std::size_t kNever = static_cast<std::size_t>(-1);

    struct Manners {
        // false: take the connection and never read from it.
        bool read = true;
        // Hang up, with a reset, once this many bytes of the body arrived.
        std::size_t hangUpAfter = kNever;
        // Read at most this many bytes a second (0: as fast as they come).
        std::size_t bytesPerSecond = 0;
        // Sent once the whole request is in, every "$PEER" replaced by
        // "127.0.0.1:<port>". Empty: no answer, ever; the connection stays
        // open until the client goes away or the peer ends.
        std::string answer = kPeerPageAnswer;
        // How long the answer waits.
        DWORD answerDelayMs = 0;
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
    // A connection came in.
    bool Connected() const noexcept { return m_connected; }
    // The whole request arrived, as announced.
    bool RequestComplete() const noexcept { return m_complete; }
    // The scripted answer went out.
    bool Answered() const noexcept { return m_answered; }
    // The connection ended (the peer hung up or the client went away).
    bool ConnectionEnded() const noexcept { return m_ended; }
    // While paused nothing is read: the client's writes block once the
    // network's buffers are full.
    void Pause(bool paused) noexcept { m_paused = paused; }
    // While held the answer waits, whatever its delay.
    void HoldAnswer(bool held) noexcept { m_held = held; }

private:
    void Serve();
    void Converse(SOCKET connection);
    // Waits until the answer may go; false when the peer ends first.
    bool WaitToAnswer();

    Manners m_manners;
    SOCKET m_listener = INVALID_SOCKET;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<std::size_t> m_bodyBytes{0};
    std::atomic<bool> m_connected{false};
    std::atomic<bool> m_complete{false};
    std::atomic<bool> m_answered{false};
    std::atomic<bool> m_ended{false};
    std::atomic<bool> m_paused{false};
    std::atomic<bool> m_held{false};
    mutable std::mutex m_mutex;
    std::string m_received;
    std::thread m_thread;
};
