#include "upload/scripted_peer.h"

#include <cstdlib>
#include <vector>

namespace {

// Small buffers: a slow reader must hold the client back at once instead of
// letting the network stack take megabytes on its behalf.
constexpr int kReceiveBuffer = 16 * 1024;

bool Readable(SOCKET socket, DWORD timeoutMs) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socket, &readable);
    timeval timeout{0, static_cast<long>(timeoutMs) * 1000};
    return ::select(0, &readable, nullptr, nullptr, &timeout) == 1;
}

std::size_t ContentLength(const std::string& headers) {
    const std::string name = "\r\ncontent-length:";
    std::string lower = headers;
    for (char& c : lower)
        c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
    const size_t at = lower.find(name);
    return at == std::string::npos ? 0
                                   : static_cast<std::size_t>(std::strtoull(
                                         headers.c_str() + at + name.size(), nullptr, 10));
}

} // namespace

ScriptedPeer::ScriptedPeer(Manners manners) : m_manners(manners) {
    WSADATA data{};
    if (::WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return;
    m_listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (m_listener == INVALID_SOCKET)
        return;
    ::setsockopt(m_listener, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&kReceiveBuffer),
                 sizeof(kReceiveBuffer));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof(address);
    if (::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        ::listen(m_listener, 4) != 0 ||
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return;
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { Serve(); });
}

ScriptedPeer::~ScriptedPeer() {
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    if (m_listener != INVALID_SOCKET)
        ::closesocket(m_listener);
    ::WSACleanup();
}

std::wstring ScriptedPeer::HostAndPort() const {
    return L"127.0.0.1:" + std::to_wstring(m_port);
}

std::string ScriptedPeer::Received() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_received;
}

void ScriptedPeer::Serve() {
    while (!m_stop) {
        if (!Readable(m_listener, 50))
            continue;
        SOCKET connection = ::accept(m_listener, nullptr, nullptr);
        if (connection == INVALID_SOCKET)
            continue;
        Converse(connection);
        ::closesocket(connection);
        m_ended = true;
    }
}

void ScriptedPeer::Converse(SOCKET connection) {
    std::string request;
    size_t headerEnd = std::string::npos;
    std::size_t contentLength = 0;
    std::vector<char> buffer(64 * 1024);
    while (!m_stop) {
        if (m_manners.tickMs > 0)
            ::Sleep(m_manners.tickMs);
        if (m_paused) {
            ::Sleep(10);
            continue;
        }
        if (!Readable(connection, 50))
            continue;
        const std::size_t want =
            m_manners.bytesPerTick > 0 && m_manners.bytesPerTick < buffer.size()
                ? m_manners.bytesPerTick
                : buffer.size();
        const int got = ::recv(connection, buffer.data(), static_cast<int>(want), 0);
        if (got <= 0)
            return; // the client went away
        request.append(buffer.data(), static_cast<size_t>(got));
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_received.append(buffer.data(), static_cast<size_t>(got));
        }
        if (headerEnd == std::string::npos) {
            headerEnd = request.find("\r\n\r\n");
            if (headerEnd == std::string::npos)
                continue;
            headerEnd += 4;
            contentLength = ContentLength(request.substr(0, headerEnd));
        }
        m_bodyBytes = request.size() - headerEnd;
        if (m_bodyBytes >= m_manners.hangUpAfter)
            return;
        if (m_bodyBytes >= contentLength) {
            const std::string answer =
                "HTTP/1.1 302 Found\r\nLocation: http://127.0.0.1:" + std::to_string(m_port) +
                "/page\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
            ::send(connection, answer.data(), static_cast<int>(answer.size()), 0);
            return;
        }
    }
}
