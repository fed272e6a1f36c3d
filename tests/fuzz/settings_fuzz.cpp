// The settings over a store. The store starts with any values (the list
// numbered with gaps, names in any case, values of the wrong type); a
// record is saved into it, and a process may be ended after any change.
// - Whatever the store holds, it loads as the default server and then the
//   user's servers, none of them empty, and the selection names one of them
//   or reads as the default.
// - A save that completes loads back as the record's stored form: the
//   user's servers without the empty ones and those flagged default (never
//   written), in order, after the store's default server; the selection on
//   the same server at its new place, on the default server when its entry
//   was not written, as it was when it named no entry; the security key and
//   the notification switch as they were. The servers section then holds
//   the list and nothing else.
// - A save cut short loads with every server of the list before it or of
//   the list saved, and, when both select a server, with one of those two.
// Texts have no null character: a stored string ends at one, and neither
// the dialogs nor loading can make one.
#include "upload/app_settings.h"
#include "portable/support/fuzz_input.h"
#include "portable/support/memory_store.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <set>

namespace {

constexpr wchar_t kCommon[] = L"Settings\\Common";
constexpr wchar_t kServers[] = L"Settings\\Servers";

// Few letters, so that the same server comes twice and names collide.
constexpr std::wstring_view kUrlAlphabet = L"ab.: /\u00e9";

std::wstring Text(FuzzInput& input, std::size_t maxLength, std::wstring_view alphabet = {}) {
    std::wstring text = input.Text(maxLength, alphabet);
    std::erase(text, L'\0');
    return text;
}

std::wstring EntryName(FuzzInput& input) {
    switch (input.Below(8)) {
    case 0:
        return L"ServerURL_" + std::to_wstring(input.Below(10));
    case 1:
        return L"serverURL_" + std::to_wstring(input.Below(10));
    case 2:
        return L"ServerURL_0" + std::to_wstring(input.Below(3));
    case 3:
        return L"SERVERINDEX";
    case 4:
        return L"DefaultServer";
    case 5:
        return L"securityKey";
    case 6:
        return L"EnableNotifications";
    default:
        return Text(input, 12, L"ServerURL_01");
    }
}

void FillWithJunk(FuzzInput& input, MemoryStore& store) {
    constexpr const wchar_t* kSections[] = {kCommon, kServers, L"SETTINGS\\servers",
                                            L"Settings\\Servers\\Old", L"Settings"};
    const std::size_t count = input.Below(12);
    for (std::size_t i = 0; i < count; ++i) {
        const wchar_t* section = kSections[input.Below(std::size(kSections))];
        const std::wstring name = EntryName(input);
        switch (input.Below(4)) {
        case 0:
            store.WriteInt(section, name, static_cast<int>(input.Below(8)) - 2);
            break;
        case 1:
            store.WriteInt(section, name, static_cast<int>(input.Uint32()));
            break;
        case 2:
            store.WriteString(section, name, Text(input, 5, kUrlAlphabet));
            break;
        default:
            store.WriteOther(section, name);
            break;
        }
    }
}

CAppSettings Record(FuzzInput& input) {
    CAppSettings record;
    const std::size_t count = input.Below(8);
    for (std::size_t i = 0; i < count; ++i) {
        const bool flagged = (input.Byte() % 8 == 0) != (i == 0);
        record.servers.push_back({Text(input, 4, kUrlAlphabet), flagged});
    }
    record.serverIndex = input.Byte() % 8 == 0 ? static_cast<int>(input.Uint32())
                                               : static_cast<int>(input.Below(count + 4)) - 2;
    record.securityKey = Text(input, 8);
    record.enableNotifications = input.Byte() % 2 == 0;
    return record;
}

CAppSettings Load(const fw::KeyValueStore& store) {
    CAppSettings loaded;
    loaded.LoadSettings(store);
    return loaded;
}

bool Selects(const CAppSettings& settings) {
    return settings.serverIndex >= 0 &&
           static_cast<std::size_t>(settings.serverIndex) < settings.servers.size();
}

// The selected server: "" for the default server, nothing when none is.
std::optional<std::wstring> Selection(const CAppSettings& settings) {
    if (!Selects(settings))
        return std::nullopt;
    return settings.serverIndex == 0
               ? std::wstring()
               : settings.servers[static_cast<std::size_t>(settings.serverIndex)].url;
}

std::set<std::wstring> UserServers(const CAppSettings& settings) {
    std::set<std::wstring> urls;
    for (std::size_t i = 1; i < settings.servers.size(); ++i)
        urls.insert(settings.servers[i].url);
    return urls;
}

bool Holds(const std::set<std::wstring>& all, const std::set<std::wstring>& some) {
    return std::includes(all.begin(), all.end(), some.begin(), some.end());
}

void CheckLoaded(const CAppSettings& loaded) {
    FUZZ_REQUIRE(!loaded.servers.empty() && loaded.servers[0].isDefault &&
                 !loaded.servers[0].url.empty());
    for (std::size_t i = 1; i < loaded.servers.size(); ++i)
        FUZZ_REQUIRE(!loaded.servers[i].isDefault && !loaded.servers[i].url.empty());
    if (Selects(loaded)) {
        FUZZ_REQUIRE(loaded.GetServerName() ==
                     loaded.servers[static_cast<std::size_t>(loaded.serverIndex)].url);
    } else {
        FUZZ_REQUIRE(loaded.GetServerName() == CAppSettings::kDefaultServerHost);
        FUZZ_REQUIRE(loaded.GetUploadURL() == CAppSettings::kDefaultServerHost);
        FUZZ_REQUIRE(CAppSettings::ValidServerIndex(loaded.serverIndex, loaded.servers.size()) ==
                     0);
    }
}

// The record as it loads after a whole save into a store whose default
// server is `defaultServer`.
CAppSettings StoredForm(const CAppSettings& record, const tagServerEntry& defaultServer) {
    CAppSettings stored = record;
    stored.servers = {defaultServer};
    for (std::size_t i = 1; i < record.servers.size(); ++i) {
        const tagServerEntry& server = record.servers[i];
        const bool kept = !server.isDefault && !server.url.empty();
        if (kept)
            stored.servers.push_back(server);
        if (static_cast<int>(i) == record.serverIndex)
            stored.serverIndex = kept ? static_cast<int>(stored.servers.size()) - 1 : 0;
    }
    return stored;
}

bool SameSettings(const CAppSettings& a, const CAppSettings& b) {
    return a.servers == b.servers && a.serverIndex == b.serverIndex &&
           a.securityKey == b.securityKey && a.enableNotifications == b.enableNotifications;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    MemoryStore store;
    FillWithJunk(input, store);
    const CAppSettings record = Record(input);
    const bool cut = input.Byte() % 2 == 0;
    const std::size_t changes = input.Below(24);

    const CAppSettings before = Load(store);
    CheckLoaded(before);

    if (cut)
        store.StopAfterChanges(changes);
    record.SaveSettings(store);
    const CAppSettings loaded = Load(store);
    CheckLoaded(loaded);

    const CAppSettings expected = StoredForm(record, before.servers[0]);
    if (!store.Stopped()) {
        FUZZ_REQUIRE(SameSettings(loaded, expected));
        FUZZ_REQUIRE(store.EntryNames(kServers).size() == expected.servers.size() - 1);
        FUZZ_REQUIRE(!Selects(record) || Selects(loaded));
        return 0;
    }
    const std::set<std::wstring> held = UserServers(loaded);
    FUZZ_REQUIRE(Holds(held, UserServers(before)) || Holds(held, UserServers(expected)));
    const std::optional<std::wstring> was = Selection(before);
    const std::optional<std::wstring> will = Selection(expected);
    if (was && will) {
        const std::optional<std::wstring> now = Selection(loaded);
        FUZZ_REQUIRE(now && (*now == *was || *now == *will));
    }
    return 0;
}
