// PHP's built-in web server on a free loopback port, serving the reference
// work-order server (server/Tessaly.php) through a router script: the peer of
// upload tests and of the bench. It has a data folder of its own (its
// TESSALY_DATA), removed again with the object; the server stops when the
// object goes away, or with the test process.
#pragma once

#include "support/unix_command.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class PhpServer {
public:
    // router: the Unix path of the script PHP runs for every request; it may
    // hand a request on to server/ (the document root) by returning false.
    // environment: NAME=value pairs for the server.
    explicit PhpServer(const std::string& router, const std::vector<std::string>& environment = {});
    ~PhpServer();
    PhpServer(const PhpServer&) = delete;
    PhpServer& operator=(const PhpServer&) = delete;

    bool IsRunning() const noexcept { return m_control != nullptr; }
    // Why the server did not start.
    const std::string& Failure() const noexcept { return m_failure; }
    int Port() const noexcept { return m_port; }
    // "127.0.0.1:<port>", the server name a user would type.
    std::wstring HostAndPort() const;
    // The data folder, as a Windows path.
    const std::wstring& DataFolder() const noexcept { return m_data; }

private:
    std::unique_ptr<UnixCommand> m_control;
    std::string m_failure;
    int m_port = 0;
    std::wstring m_data;
};

// For tests (GoogleTest's macros): stops the test unless the server runs.
// Outside Wine (on Windows itself) there is no bash to start it with, and the
// test is skipped with the reason; under Wine the server must start, and the
// test fails.
#define ASSERT_PEER_RUNNING(server)                                                                \
    do {                                                                                           \
        if (!(server).IsRunning()) {                                                               \
            if (!UnderWine())                                                                      \
                GTEST_SKIP() << "the PHP peer starts only under Wine: " << (server).Failure();     \
            FAIL() << (server).Failure();                                                          \
        }                                                                                          \
    } while (false)

// The routers, as Unix paths: the reference server itself, and the test peer
// (tests/support/peer_router.php) that writes down every request before
// handing it on to the reference server or giving a canned answer.
std::string ReferenceServerScript();
std::string PeerRouterScript();

// One request as the peer router wrote it down: "method", "uri",
// "content_type", "content_length", "user_agent", "expect", "field.<name>",
// "file.<field>.name", ".type", ".size", ".error"; and the file part's bytes.
struct RecordedRequest {
    std::map<std::string, std::string> values;
    std::string file;

    std::string Value(const std::string& name) const;
};

// How many requests the peer router has seen, and the n-th of them (from 1).
int RecordedRequestCount(const std::wstring& dataFolder);
RecordedRequest ReadRecordedRequest(const std::wstring& dataFolder, int number);
