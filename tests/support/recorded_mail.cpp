#include "support/recorded_mail.h"

#include "framework/file.h"
#include "framework/text.h"
#include "support/build_paths.h"
#include "support/registry_value.h"
#include "support/test_window.h"
#include "test_mapi/mapi_record.h"

#include <shlwapi.h>

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <utility>

namespace {

constexpr wchar_t kMailClients[] = L"SOFTWARE\\Clients\\Mail";

} // namespace

std::wstring TestMapiLibrary() {
    return WindowsPathOfBuildFile(LUMVEX_TEST_MAPI_PATH);
}

std::wstring TestAnsiMapiLibrary() {
    return WindowsPathOfBuildFile(LUMVEX_TEST_MAPI_ANSI_PATH);
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

std::wstring RecordedMail::WideText(const std::string& field) const {
    const std::string text = Text(field).value_or("");
    return Text("call") == "MAPISendMailW" ? fw::FromUtf8(text) : fw::FromAnsi(text);
}

MailRecorder::MailRecorder()
    : m_path(TempFilePath(L"lumvex_mapi_record_" + std::to_wstring(::GetCurrentProcessId()) +
                          L".txt")) {
    ::DeleteFileW(m_path.c_str());
    ::SetEnvironmentVariableW(kMapiRecordVariable, m_path.c_str());
}

MailRecorder::~MailRecorder() {
    ::SetEnvironmentVariableW(kMapiRecordVariable, nullptr);
    ::SetEnvironmentVariableW(kMapiAnswerVariable, nullptr);
    ::DeleteFileW(m_path.c_str());
}

void MailRecorder::Answer(unsigned long answer) {
    ::SetEnvironmentVariableW(kMapiAnswerVariable, std::to_wstring(answer).c_str());
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

namespace {

std::optional<std::wstring> Environment(const wchar_t* name) {
    const DWORD needed = ::GetEnvironmentVariableW(name, nullptr, 0);
    if (needed == 0)
        return std::nullopt;
    std::wstring value(needed, L'\0');
    value.resize(::GetEnvironmentVariableW(name, value.data(), needed));
    return value;
}

void RestoreEnvironment(const wchar_t* name, const std::optional<std::wstring>& value) {
    ::SetEnvironmentVariableW(name, value ? value->c_str() : nullptr);
}

// The folder and the files in it.
void RemoveFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW((folder + L"*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = ::FindNextFileW(search, &found))
        ::DeleteFileW((folder + found.cFileName).c_str());
    if (search != INVALID_HANDLE_VALUE)
        ::FindClose(search);
    ::RemoveDirectoryW(folder.c_str());
}

} // namespace

std::string PictureAddressIn(const std::string& page) {
    const std::string start = "src=\"";
    const size_t from = page.find(start);
    const size_t to = from == std::string::npos ? from : page.find('"', from + start.size());
    if (to == std::string::npos)
        return {};
    return page.substr(from + start.size(), to - from - start.size());
}

std::wstring FilePathOfAddress(const std::string& address) {
    std::wstring url = fw::FromAnsi(address);
    for (const auto& [reference, c] : {std::pair(L"&amp;", L'&'), std::pair(L"&#39;", L'\'')}) {
        for (size_t at; (at = url.find(reference)) != std::wstring::npos;)
            url.replace(at, std::wcslen(reference), 1, c);
    }
    wchar_t path[MAX_PATH]{};
    DWORD length = MAX_PATH;
    return SUCCEEDED(::PathCreateFromUrlW(url.c_str(), path, &length, 0)) ? path : L"";
}

ScopedTemporaryFolder::ScopedTemporaryFolder(const std::wstring& name)
    : m_path(TempFilePath(name) + L"\\"), m_oldTmp(Environment(L"TMP")),
      m_oldTemp(Environment(L"TEMP")) {
    RemoveFolder(m_path);
    ::CreateDirectoryW(m_path.c_str(), nullptr);
    ::SetEnvironmentVariableW(L"TMP", m_path.c_str());
    ::SetEnvironmentVariableW(L"TEMP", m_path.c_str());
}

ScopedTemporaryFolder::~ScopedTemporaryFolder() {
    RestoreEnvironment(L"TMP", m_oldTmp);
    RestoreEnvironment(L"TEMP", m_oldTemp);
    RemoveFolder(m_path);
}
