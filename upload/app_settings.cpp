#include "upload/app_settings.h"

#include "common/text_case.h"
#include "upload/server_save_plan.h"

#include <cwctype>

namespace {

constexpr wchar_t kCommonSection[] = L"Settings\\Common";
constexpr wchar_t kServersSection[] = L"Settings\\Servers";

std::wstring ServerValueName(int number) {
    return L"ServerURL_" + std::to_wstring(number);
}

// The number of a value named "ServerURL_<n>" (stored names ignore case);
// 0 for any other name, "ServerURL_01" among them: loading never reads it.
int ServerValueNumber(const std::wstring& name) {
    constexpr std::wstring_view kPrefix = L"ServerURL_";
    if (name.size() <= kPrefix.size() || name.size() > kPrefix.size() + 9 ||
        !text::StartsWithIgnoringCase(name, kPrefix) || name[kPrefix.size()] == L'0')
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
StoredServers ReadStoredServers(const fw::KeyValueStore& store, std::vector<std::wstring>& others) {
    StoredServers stored;
    for (const std::wstring& name : store.EntryNames(kServersSection)) {
        if (const int number = ServerValueNumber(name))
            stored.urls[number] = store.GetString(kServersSection, name, L"");
        else
            others.push_back(name);
    }
    stored.index = store.GetInt(kCommonSection, L"ServerIndex", 0);
    return stored;
}

} // namespace

void CAppSettings::LoadSettings(const fw::KeyValueStore& store) {
    serverIndex = store.GetInt(kCommonSection, L"ServerIndex", 0);
    securityKey = store.GetString(kCommonSection, L"securitykey", kDefaultSecurityKey);
    enableNotifications = store.GetInt(kCommonSection, L"EnableNotifications", 1) != 0;

    servers.clear();
    // An administrator may replace the built-in host; an empty value would
    // leave uploads without a host, so it counts as absent.
    std::wstring defaultServer =
        store.GetString(kCommonSection, L"DefaultServer", kDefaultServerHost);
    if (defaultServer.empty())
        defaultServer = kDefaultServerHost;
    servers.push_back({std::move(defaultServer), true});

    // The numbering is dense: the first gap ends the list.
    for (int number = 1;; ++number) {
        std::wstring url = store.GetString(kServersSection, ServerValueName(number), L"");
        if (url.empty())
            break;
        servers.push_back({std::move(url), false});
    }
}

void CAppSettings::SaveSettings(const fw::KeyValueStore& store) const {
    store.WriteString(kCommonSection, L"securitykey", securityKey);
    store.WriteInt(kCommonSection, L"EnableNotifications", enableNotifications ? 1 : 0);

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
    const StoredServers now = ReadStoredServers(store, others);
    for (const ServerSaveStep& step : PlanServerSave(now, urls, index)) {
        switch (step.kind) {
        case ServerSaveStep::Kind::WriteUrl:
            store.WriteString(kServersSection, ServerValueName(step.number), step.url);
            break;
        case ServerSaveStep::Kind::EraseUrl:
            store.DeleteEntry(kServersSection, ServerValueName(step.number));
            break;
        case ServerSaveStep::Kind::WriteIndex:
            store.WriteInt(kCommonSection, L"ServerIndex", step.number);
            break;
        }
    }
    for (const std::wstring& name : others)
        store.DeleteEntry(kServersSection, name);
    // Without servers the section goes, as it never was.
    if (urls.empty())
        store.DeleteSection(kServersSection);
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
