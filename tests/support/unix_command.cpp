#include "support/unix_command.h"

#include <ws2tcpip.h>

#include <utility>

namespace {

class Socket {
public:
    explicit Socket(SOCKET socket = INVALID_SOCKET) noexcept : m_socket(socket) {}
    ~Socket() {
        if (m_socket != INVALID_SOCKET)
            ::closesocket(m_socket);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    SOCKET get() const noexcept { return m_socket; }
    SOCKET release() noexcept {
        const SOCKET socket = m_socket;
        m_socket = INVALID_SOCKET;
        return socket;
    }

private:
    SOCKET m_socket;
};

bool StartWinsock() {
    WSADATA data{};
    return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

// Listens on a free loopback port; the port in *port.
Socket Listen(int* port) {
    Socket listener(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (listener.get() == INVALID_SOCKET)
        return Socket();
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof(address);
    if (::bind(listener.get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        ::listen(listener.get(), 1) != 0 ||
        ::getsockname(listener.get(), reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return Socket();
    *port = ntohs(address.sin_port);
    return Socket(listener.release());
}

bool WaitReadable(SOCKET socket, DWORD timeoutMs) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socket, &readable);
    timeval timeout{static_cast<long>(timeoutMs / 1000),
                    static_cast<long>(timeoutMs % 1000) * 1000};
    return ::select(0, &readable, nullptr, nullptr, &timeout) == 1;
}

std::wstring Widen(const std::string& text) {
    return std::wstring(text.begin(), text.end()); // paths and numbers: ASCII
}

} // namespace

UnixCommand::~UnixCommand() {
    if (m_connection != INVALID_SOCKET)
        ::closesocket(m_connection);
    if (m_winsock)
        ::WSACleanup();
}

std::unique_ptr<UnixCommand> UnixCommand::Start(const std::string& script,
                                                const std::vector<std::string>& arguments,
                                                DWORD timeoutMs) {
    std::unique_ptr<UnixCommand> command(new UnixCommand());
    command->m_winsock = StartWinsock();
    if (!command->m_winsock)
        return nullptr;
    int port = 0;
    Socket listener = Listen(&port);
    if (listener.get() == INVALID_SOCKET)
        return nullptr;

    // Wine splits the command line into the Unix program's arguments the way
    // Windows programs split theirs: quoted, without quotes inside.
    std::wstring commandLine = L"/bin/bash \"" + Widen(script) + L"\" " + std::to_wstring(port);
    for (const std::string& argument : arguments)
        commandLine += L" \"" + Widen(argument) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(L"Z:\\bin\\bash", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &process))
        return nullptr;
    // For a Unix program there is nothing to hold, but close what came.
    if (process.hThread)
        ::CloseHandle(process.hThread);
    if (process.hProcess)
        ::CloseHandle(process.hProcess);

    if (!WaitReadable(listener.get(), timeoutMs))
        return nullptr;
    command->m_connection = ::accept(listener.get(), nullptr, nullptr);
    if (command->m_connection == INVALID_SOCKET)
        return nullptr;
    return command;
}

bool UnixCommand::Receive(DWORD timeoutMs) {
    if (m_connection == INVALID_SOCKET || !WaitReadable(m_connection, timeoutMs))
        return false;
    char buffer[4096];
    const int received = ::recv(m_connection, buffer, sizeof(buffer), 0);
    if (received <= 0)
        return false;
    m_pending.append(buffer, static_cast<size_t>(received));
    return true;
}

std::optional<std::string> UnixCommand::ReadLine(DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (const size_t end = m_pending.find('\n'); end != std::string::npos) {
            std::string line = m_pending.substr(0, end);
            m_pending.erase(0, end + 1);
            return line;
        }
        const DWORD spent = ::GetTickCount() - start;
        if (spent >= timeoutMs || !Receive(timeoutMs - spent))
            return std::nullopt;
    }
}

std::string UnixCommand::ReadToEnd(DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        const DWORD spent = ::GetTickCount() - start;
        if (spent >= timeoutMs || !Receive(timeoutMs - spent))
            break;
    }
    return std::exchange(m_pending, std::string());
}

void UnixCommand::EndInput() {
    if (m_connection != INVALID_SOCKET)
        ::shutdown(m_connection, SD_SEND);
}

bool UnderWine() {
    // Wine's own export; Windows has no such thing.
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

std::string UnixPath(const std::wstring& windowsPath) {
    // Wine's own export; Windows has no such thing.
    using ToUnix = char*(CDECL*)(const wchar_t*);
    const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix)
        return {};
    char* unixPath = toUnix(windowsPath.c_str());
    if (!unixPath)
        return {};
    std::string result(unixPath);
    ::HeapFree(::GetProcessHeap(), 0, unixPath);
    return result;
}

std::string SourceFolder() {
    return LUMVEX_SOURCE_DIR;
}

int FreeLoopbackPort() {
    if (!StartWinsock())
        return 0;
    int port = 0;
    { Socket listener = Listen(&port); }
    ::WSACleanup();
    return port;
}
