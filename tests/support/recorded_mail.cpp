#include "support/recorded_mail.h"

#include "framework/file.h"
#include "support/build_paths.h"
#include "support/registry_value.h"
#include "support/test_window.h"
#include "test_mapi/mapi_record.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr wchar_t kMailClients[] = L"SOFTWARE\\Clients\\Mail";

} // namespace

std::wstring TestMapiLibrary() {
    return WindowsPathOfBuildFile(LUMVEX_TEST_MAPI_PATH);
}

bool SetDefaultMailClient(HKEY root, const std::wstring& name) {
    return WriteRegistryString(kMailClients, L"", name, root);
}

bool SetMailClientLibrary(const std::wstring& name, const std::wstring& library) {
    return WriteRegistryString(std::wstring(kMailClients) + L"\\" + name, L"DLLPath", library,
                               HKEY_LOCAL_MACHINE);
}

std::optional<std::string> RecordedMail::Text(const std::string& field) const {
    const auto found = fields.find(field);
    return found == fields.end() ? std::nullopt : found->second;
}

std::optional<unsigned long long> RecordedMail::Number(const std::string& field) const {
    const std::optional<std::string> text = Text(field);
    if (!text || text->empty())
        return std::nullopt;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text->c_str(), &end, 10);
    return *end == '\0' ? std::optional(value) : std::nullopt;
}

bool RecordedMail::IsNull(const std::string& field) const {
    const auto found = fields.find(field);
    return found != fields.end() && !found->second;
}

MailRecorder::MailRecorder()
    : m_path(TempFilePath(L"lumvex_mapi_record_" + std::to_wstring(::GetCurrentProcessId()) +
                          L".txt")) {
    ::DeleteFileW(m_path.c_str());
    ::SetEnvironmentVariableW(kMapiRecordVariable, m_path.c_str());
}

MailRecorder::~MailRecorder() {
    ::SetEnvironmentVariableW(kMapiRecordVariable, nullptr);
    ::DeleteFileW(m_path.c_str());
}

std::vector<RecordedMail> MailRecorder::Messages() const {
    std::vector<RecordedMail> messages;
    const std::string text = fw::ReadFileBytes(m_path).value_or("");
    size_t at = 0;
    auto line = [&]() {
        const size_t end = text.find('\n', at);
        if (end == std::string::npos) {
            at = text.size();
            return std::string();
        }
        std::string result = text.substr(at, end - at);
        at = end + 1;
        return result;
    };
    while (at < text.size()) {
        const std::string header = line();
        if (header == "message") {
            messages.emplace_back();
            continue;
        }
        const size_t space = header.find(' ');
        if (messages.empty() || space == std::string::npos)
            continue; // "end", or a record cut short
        const std::string field = header.substr(0, space);
        const std::string size = header.substr(space + 1);
        if (size == "-") {
            messages.back().fields[field] = std::nullopt;
            continue;
        }
        const size_t length = std::strtoull(size.c_str(), nullptr, 10);
        messages.back().fields[field] = text.substr(at, length);
        at = std::min(text.size(), at + length + 1);
    }
    return messages;
}
