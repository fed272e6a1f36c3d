#include "upload/scripted_peer.h"

#include <algorithm>
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
        m_connected = true;
        Converse(connection);
        ::closesocket(connection);
        m_ended = true;
    }
}

bool ScriptedPeer::WaitToAnswer() {
    const DWORD start = ::GetTickCount();
    while (!m_stop && (m_held || ::GetTickCount() - start < m_manners.answerDelayMs))
        ::Sleep(5);
    return !m_stop;
}

void ScriptedPeer::Converse(SOCKET connection) {
    if (!m_manners.read) {
        while (!m_stop)
            ::Sleep(10);
        return;
    }
    std::string request;
    size_t headerEnd = std::string::npos;
    std::size_t contentLength = 0;
    std::vector<char> buffer(64 * 1024);
    LARGE_INTEGER frequency{};
    LARGE_INTEGER start{};
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    while (!m_stop) {
        if (m_paused) {
            ::Sleep(10);
            continue;
        }
        std::size_t want = buffer.size();
        if (m_manners.bytesPerSecond > 0) {
            // What the rate allows since the connection came in.
            LARGE_INTEGER now{};
            ::QueryPerformanceCounter(&now);
            const double seconds = static_cast<double>(now.QuadPart - start.QuadPart) /
                                   static_cast<double>(frequency.QuadPart);
            const double allowed = seconds * static_cast<double>(m_manners.bytesPerSecond) -
                                   static_cast<double>(request.size());
            if (allowed < 1024) {
                ::Sleep(1);
                continue;
            }
            want = std::min(want, static_cast<std::size_t>(allowed));
        }
        if (!Readable(connection, 50))
            continue;
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
        if (m_bodyBytes >= m_manners.hangUpAfter) {
            // A reset, not a polite end: the client learns at once.
            const linger abort{1, 0};
            ::setsockopt(connection, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort),
                         sizeof(abort));
            return;
        }
        if (m_bodyBytes >= contentLength)
            break;
    }
    if (m_stop)
        return;
    m_complete = true;
    if (!WaitToAnswer())
        return;
    if (m_manners.answer.empty()) {
        // Never an answer: hold the line until the client gives up.
        while (!m_stop) {
            if (Readable(connection, 50) && ::recv(connection, buffer.data(), 1, 0) <= 0)
                return;
        }
        return;
    }
    std::string answer = m_manners.answer;
    const std::string self = "127.0.0.1:" + std::to_string(m_port);
    for (size_t at = answer.find("$PEER"); at != std::string::npos;
         at = answer.find("$PEER", at + self.size()))
        answer.replace(at, 5, self);
    for (size_t sent = 0; sent < answer.size();) {
        const int n =
            ::send(connection, answer.data() + sent, static_cast<int>(answer.size() - sent), 0);
        if (n <= 0)
            return;
        sent += static_cast<size_t>(n);
    }
    m_answered = true;
    ::shutdown(connection, SD_SEND);
    // Let the client read the answer before the connection goes.
    for (int i = 0; i < 100 && !m_stop; ++i) {
        if (Readable(connection, 50) && ::recv(connection, buffer.data(), 1, 0) <= 0)
            return;
    }
}
