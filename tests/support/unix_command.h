// Unix programs for tests that run under Wine: PHP's web server as the peer
// of an upload.
//
// Wine starts a Unix program when asked to run one, but hands back neither a
// process handle nor the standard handles. A loopback connection stands in
// for both: the program (a bash script) gets the port of a socket this
// process listens on as its first argument, connects to it as file
// descriptor 3 and reports there; when this object closes the connection
// (or this process dies), the script sees the end of its input and stops.
//
//     exec 3<>"/dev/tcp/127.0.0.1/$1" || exit 1   # the script's first line
#pragma once

#include <windows.h>
#include <winsock2.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class UnixCommand {
public:
    ~UnixCommand();
    UnixCommand(const UnixCommand&) = delete;
    UnixCommand& operator=(const UnixCommand&) = delete;

    // Runs bash with the script (a Unix path) and the arguments after the
    // port; null when it could not be started or did not connect within
    // timeoutMs.
    static std::unique_ptr<UnixCommand> Start(const std::string& script,
                                              const std::vector<std::string>& arguments,
                                              DWORD timeoutMs = 10000);

    // The next line the program wrote, without its end; nothing when the
    // program closed the connection or timeoutMs passed first.
    std::optional<std::string> ReadLine(DWORD timeoutMs);
    // Everything the program writes until it closes the connection.
    std::string ReadToEnd(DWORD timeoutMs);
    // Tells the program that no more is coming (it sees the end of its
    // input) while still listening to it.
    void EndInput();

private:
    UnixCommand() = default;
    // Reads what has arrived into m_pending; false at the end or on timeout.
    bool Receive(DWORD timeoutMs);

    SOCKET m_connection = INVALID_SOCKET;
    std::string m_pending;
    bool m_winsock = false;
};

// Whether this process runs under Wine, where Unix programs can be started.
bool UnderWine();

// The Unix path of a Windows path, through Wine's own mapping; empty outside
// Wine.
std::string UnixPath(const std::wstring& windowsPath);

// The folder that holds the sources (tests/support/*.sh, server/, ...), as a
// Unix path.
std::string SourceFolder();

// A port on the loopback address that nothing listens on right now.
int FreeLoopbackPort();
