#include "upload/app_settings.h"

#include <windows.h>

#include <cwctype>

namespace {

constexpr wchar_t kCommonSection[] = L"Settings\\Common";
constexpr wchar_t kServersSection[] = L"Settings\\Servers";

std::wstring ServerValueName(int number) {
    return L"ServerURL_" + std::to_wstring(number);
}

// A string setting, or the default when it is missing, of another type or
// longer than any setting we write.
std::wstring ReadString(const fw::Profile& profile, std::wstring_view section,
                        std::wstring_view entry, std::wstring_view defaultValue) {
    std::wstring value = profile.GetString(section, entry, defaultValue);
    if (value.size() > CAppSettings::kMaxStringLength)
        return std::wstring(defaultValue);
    return value;
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
    securityKey = ReadString(profile, kCommonSection, L"securitykey", kDefaultSecurityKey);
    enableNotifications = profile.GetInt(kCommonSection, L"EnableNotifications", 1) != 0;

    servers.clear();
    // An administrator may replace the built-in host; an empty value would
    // leave uploads without a host, so it counts as absent.
    std::wstring defaultServer =
        ReadString(profile, kCommonSection, L"DefaultServer", kDefaultServerHost);
    if (defaultServer.empty())
        defaultServer = kDefaultServerHost;
    servers.push_back({std::move(defaultServer), true});

    // The numbering is dense: the first gap ends the list.
    for (int number = 1;; ++number) {
        std::wstring url = ReadString(profile, kServersSection, ServerValueName(number), L"");
        if (url.empty())
            break;
        servers.push_back({std::move(url), false});
    }
}

void CAppSettings::SaveSettings(const fw::Profile& profile) const {
    // Start the servers section afresh so that deleted servers disappear and
    // the rest are numbered densely from 1.
    profile.DeleteSection(kServersSection);

    profile.WriteInt(kCommonSection, L"ServerIndex", serverIndex);
    profile.WriteString(kCommonSection, L"securitykey", securityKey);
    profile.WriteInt(kCommonSection, L"EnableNotifications", enableNotifications ? 1 : 0);

    // Entry 0 and the default server are never written. Neither is an empty
    // URL: it would end the list at the next start and hide every server
    // after it.
    int number = 1;
    for (size_t i = 1; i < servers.size(); ++i) {
        const tagServerEntry& server = servers[i];
        if (server.isDefault || server.url.empty())
            continue;
        profile.WriteString(kServersSection, ServerValueName(number), server.url);
        ++number;
    }
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
