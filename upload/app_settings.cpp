#include "upload/app_settings.h"

#include "upload/server_save_plan.h"

#include <windows.h>

#include <cwctype>

namespace {

constexpr wchar_t kCommonSection[] = L"Settings\\Common";
constexpr wchar_t kServersSection[] = L"Settings\\Servers";

std::wstring ServerValueName(int number) {
    return L"ServerURL_" + std::to_wstring(number);
}

// The number of a value named "ServerURL_<n>" (registry names ignore case);
// 0 for any other name, "ServerURL_01" among them: loading never reads it.
int ServerValueNumber(const std::wstring& name) {
    constexpr std::wstring_view kPrefix = L"ServerURL_";
    if (name.size() <= kPrefix.size() || name.size() > kPrefix.size() + 9 ||
        ::CompareStringOrdinal(name.c_str(), static_cast<int>(kPrefix.size()), kPrefix.data(),
                               static_cast<int>(kPrefix.size()), TRUE) != CSTR_EQUAL ||
        name[kPrefix.size()] == L'0')
        return 0;
    int number = 0;
    for (size_t i = kPrefix.size(); i < name.size(); ++i) {
        if (name[i] < L'0' || name[i] > L'9')
            return 0;
        number = number * 10 + (name[i] - L'0');
    }
    return number;
}

// The servers section as it is now. Values of other names are not part of
// the list; they go with the save.
StoredServers ReadStoredServers(const fw::Profile& profile, std::vector<std::wstring>& others) {
    StoredServers stored;
    for (const std::wstring& name : profile.EntryNames(kServersSection)) {
        if (const int number = ServerValueNumber(name))
            stored.urls[number] = profile.GetString(kServersSection, name, L"");
        else
            others.push_back(name);
    }
    stored.index = profile.GetInt(kCommonSection, L"ServerIndex", 0);
    return stored;
}

std::wstring ProgramFolder() {
    // Grow the buffer until the whole path fits: a cut path would name the
    // wrong folder.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        if (path.size() >= 32768)
            return {};
        path.resize(path.size() * 2);
    }
    const size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

} // namespace

void CAppSettings::LoadSettings(const fw::Profile& profile) {
    programFolder = ProgramFolder();

    serverIndex = profile.GetInt(kCommonSection, L"ServerIndex", 0);
    securityKey = profile.GetString(kCommonSection, L"securitykey", kDefaultSecurityKey);
    enableNotifications = profile.GetInt(kCommonSection, L"EnableNotifications", 1) != 0;

    servers.clear();
    // An administrator may replace the built-in host; an empty value would
    // leave uploads without a host, so it counts as absent.
    std::wstring defaultServer =
        profile.GetString(kCommonSection, L"DefaultServer", kDefaultServerHost);
    if (defaultServer.empty())
        defaultServer = kDefaultServerHost;
    servers.push_back({std::move(defaultServer), true});

    // The numbering is dense: the first gap ends the list.
    for (int number = 1;; ++number) {
        std::wstring url = profile.GetString(kServersSection, ServerValueName(number), L"");
        if (url.empty())
            break;
        servers.push_back({std::move(url), false});
    }
}

void CAppSettings::SaveSettings(const fw::Profile& profile) const {
    profile.WriteString(kCommonSection, L"securitykey", securityKey);
    profile.WriteInt(kCommonSection, L"EnableNotifications", enableNotifications ? 1 : 0);

    // Entry 0 and the default server are never written. Neither is an empty
    // URL: it would end the list at the next start and hide every server
    // after it. The rest are numbered densely from 1, and the selection
    // follows its server.
    std::vector<std::wstring> urls;
    int index = serverIndex;
    for (size_t i = 1; i < servers.size(); ++i) {
        const tagServerEntry& server = servers[i];
        const bool written = !server.isDefault && !server.url.empty();
        if (written)
            urls.push_back(server.url);
        if (static_cast<int>(i) == serverIndex)
            index = written ? static_cast<int>(urls.size()) : 0;
    }

    // Never wipe and rewrite: a process ended in between would lose every
    // server (see server_save_plan.h).
    std::vector<std::wstring> others;
    const StoredServers now = ReadStoredServers(profile, others);
    for (const ServerSaveStep& step : PlanServerSave(now, urls, index)) {
        switch (step.kind) {
        case ServerSaveStep::Kind::WriteUrl:
            profile.WriteString(kServersSection, ServerValueName(step.number), step.url);
            break;
        case ServerSaveStep::Kind::EraseUrl:
            profile.DeleteEntry(kServersSection, ServerValueName(step.number));
            break;
        case ServerSaveStep::Kind::WriteIndex:
            profile.WriteInt(kCommonSection, L"ServerIndex", step.number);
            break;
        }
    }
    for (const std::wstring& name : others)
        profile.DeleteEntry(kServersSection, name);
    // Without servers the section goes, as it never was.
    if (urls.empty())
        profile.DeleteSection(kServersSection);
}

const tagServerEntry* CAppSettings::SelectedServer() const noexcept {
    if (serverIndex < 0 || static_cast<size_t>(serverIndex) >= servers.size())
        return nullptr;
    return &servers[static_cast<size_t>(serverIndex)];
}

std::wstring CAppSettings::GetServerName() const {
    const tagServerEntry* server = SelectedServer();
    return server ? server->url : std::wstring(kDefaultServerHost);
}

std::wstring CAppSettings::GetUploadURL() const {
    const tagServerEntry* server = SelectedServer();
    if (!server)
        return std::wstring(kDefaultServerHost);
    std::wstring url = server->url;
    if (url.find(L"://") == std::wstring::npos)
        url.insert(0, L"http://");
    if (url.empty() || url.back() != L'/')
        url += L'/';
    url += kUploadScript;
    return url;
}

void CAppSettings::TrimServers(size_t maximum) {
    const bool selectionValid =
        serverIndex >= 0 && static_cast<size_t>(serverIndex) < servers.size();
    size_t index = 0;
    while (servers.size() > maximum && index < servers.size()) {
        const bool selected = selectionValid && index == static_cast<size_t>(serverIndex);
        if (servers[index].isDefault || selected) {
            ++index;
            continue;
        }
        servers.erase(servers.begin() + static_cast<std::ptrdiff_t>(index));
        if (selectionValid && static_cast<size_t>(serverIndex) > index)
            --serverIndex;
    }
}

int CAppSettings::ValidServerIndex(int index, size_t count) noexcept {
    return index >= 0 && static_cast<size_t>(index) < count ? index : 0;
}

bool CAppSettings::IsUsableServerURL(std::wstring_view url) noexcept {
    for (const wchar_t c : url) {
        if (!std::iswspace(static_cast<std::wint_t>(c)))
            return true;
    }
    return false;
}

std::wstring CAppSettings::ProductPageURL(std::wstring_view page) {
    std::wstring url = L"http://";
    url += kDefaultServerHost;
    url += L'/';
    url += page;
    return url;
}
