#include "support/php_server.h"

#include "framework/file.h"

#include <filesystem>
#include <sstream>

namespace {

constexpr DWORD kStartTimeoutMs = 15000;
// Another program may take the free port between our look and PHP's bind.
constexpr int kAttempts = 5;

std::wstring NewDataFolder() {
    wchar_t temp[MAX_PATH]{};
    ::GetTempPathW(MAX_PATH, temp);
    static int counter = 0;
    const std::wstring folder = std::wstring(temp) + L"lumvex-peer-" +
                                std::to_wstring(::GetCurrentProcessId()) + L"-" +
                                std::to_wstring(++counter);
    std::error_code error;
    std::filesystem::remove_all(folder, error);
    std::filesystem::create_directories(folder, error);
    return folder;
}

} // namespace

PhpServer::PhpServer(const std::string& router, const std::vector<std::string>& environment)
    : m_data(NewDataFolder()) {
    const std::string data = UnixPath(m_data);
    if (data.empty()) {
        m_failure = "no Unix path for the data folder (not running under Wine?)";
        return;
    }
    for (int attempt = 0; attempt < kAttempts && !m_control; ++attempt) {
        m_port = FreeLoopbackPort();
        std::vector<std::string> arguments{std::to_string(m_port), SourceFolder() + "/server",
                                           router, data};
        arguments.insert(arguments.end(), environment.begin(), environment.end());
        std::unique_ptr<UnixCommand> control = UnixCommand::Start(
            SourceFolder() + "/tests/support/php_server.sh", arguments, kStartTimeoutMs);
        if (!control) {
            m_failure = "the server script did not start";
            break;
        }
        const std::optional<std::string> report = control->ReadLine(kStartTimeoutMs);
        if (report && *report == "ready")
            m_control = std::move(control);
        else
            m_failure = report ? *report : "the server did not report";
    }
    if (m_control)
        m_failure.clear();
}

PhpServer::~PhpServer() {
    // The end of its input stops the server; the script closes the
    // connection once PHP has gone, so no request still writes into the
    // folder when it is removed.
    if (m_control) {
        m_control->EndInput();
        m_control->ReadToEnd(kStartTimeoutMs);
        m_control.reset();
    }
    std::error_code error;
    std::filesystem::remove_all(m_data, error);
}

std::wstring PhpServer::HostAndPort() const {
    return L"127.0.0.1:" + std::to_wstring(m_port);
}

std::string ReferenceServerScript() {
    return SourceFolder() + "/server/Tessaly.php";
}

std::string PeerRouterScript() {
    return SourceFolder() + "/tests/support/peer_router.php";
}

std::string RecordedRequest::Value(const std::string& name) const {
    const auto found = values.find(name);
    return found == values.end() ? std::string() : found->second;
}

int RecordedRequestCount(const std::wstring& dataFolder) {
    int count = 0;
    while (
        std::filesystem::exists(dataFolder + L"\\request-" + std::to_wstring(count + 1) + L".txt"))
        ++count;
    return count;
}

RecordedRequest ReadRecordedRequest(const std::wstring& dataFolder, int number) {
    const std::wstring stem = dataFolder + L"\\request-" + std::to_wstring(number);
    RecordedRequest request;
    std::istringstream lines(fw::ReadFileBytes(stem + L".txt").value_or(""));
    for (std::string line; std::getline(lines, line);) {
        const size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        // Values come URL-encoded, so that each stays on its line.
        std::string value;
        for (size_t i = equals + 1; i < line.size(); ++i) {
            if (line[i] == '%' && i + 2 < line.size()) {
                value += static_cast<char>(std::stoi(line.substr(i + 1, 2), nullptr, 16));
                i += 2;
            } else {
                value += line[i];
            }
        }
        request.values[line.substr(0, equals)] = value;
    }
    request.file = fw::ReadFileBytes(stem + L".bin").value_or("");
    return request;
}
