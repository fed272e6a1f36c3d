#include "upload/app_settings.h"

#include "portable/support/server_urls.h"
#include "portable/support/memory_store.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

constexpr wchar_t kCommon[] = L"Settings\\Common";
constexpr wchar_t kServers[] = L"Settings\\Servers";

CAppSettings Load(const fw::KeyValueStore& store) {
    CAppSettings settings;
    settings.LoadSettings(store);
    return settings;
}

TEST(AppSettingsStore, AnEmptyStoreGivesDefaultsAndLoadingOnlyReads) {
    const MemoryStore store;
    CAppSettings settings;
    settings.programFolder = L"C:\\Program";
    settings.LoadSettings(store);
    ASSERT_EQ(settings.servers.size(), 1u);
    EXPECT_EQ(settings.servers[0].url, L"workorders.example.com");
    EXPECT_TRUE(settings.servers[0].isDefault);
    EXPECT_EQ(settings.serverIndex, 0);
    EXPECT_EQ(settings.securityKey, L"SKYQUOMBIRLA470470");
    EXPECT_TRUE(settings.enableNotifications);
    EXPECT_EQ(settings.programFolder, L"C:\\Program") << "not a stored setting";
    EXPECT_TRUE(store.SectionNames().empty());
}

TEST(AppSettingsStore, GapEndsTheServerListAndTheNextSaveDropsLaterNumbers) {
    const MemoryStore store;
    store.WriteString(kServers, L"ServerURL_1", L"one.example.com");
    store.WriteString(kServers, L"ServerURL_3", L"three.example.com");

    const CAppSettings settings = Load(store);
    EXPECT_EQ(Urls(settings),
              (std::vector<std::wstring>{L"workorders.example.com", L"one.example.com"}));
    EXPECT_FALSE(settings.servers[1].isDefault);

    settings.SaveSettings(store);
    EXPECT_EQ(store.GetString(kServers, L"ServerURL_1", L"-"), L"one.example.com");
    EXPECT_EQ(store.EntryNames(kServers).size(), 1u);
}

TEST(AppSettingsStore, EmptyAndDefaultEntriesAreNotWrittenAndTheRestRenumbered) {
    // Stale values from earlier saves or other programs must not survive
    // either: the section holds the list and nothing else. Names ignore case.
    const MemoryStore store;
    store.WriteString(kServers, L"serverurl_1", L"lower.example.com");
    store.WriteString(kServers, L"ServerURL_7", L"stale.example.com");
    store.WriteString(kServers, L"ServerURL_02", L"padded.example.com");
    store.WriteString(kServers, L"Other", L"other");
    CAppSettings settings = Load(store);
    ASSERT_EQ(settings.servers.size(), 2u);
    settings.servers.push_back({L"", false});
    settings.servers.push_back({L"b.example.com", false});
    settings.servers.push_back({L"protected.example.com", true});
    settings.servers.push_back({L"c.example.com", false});
    // The selection follows its server to its new number.
    settings.serverIndex = 5;
    settings.SaveSettings(store);

    const CAppSettings reloaded = Load(store);
    EXPECT_EQ(Urls(reloaded),
              (std::vector<std::wstring>{L"workorders.example.com", L"lower.example.com",
                                         L"b.example.com", L"c.example.com"}));
    EXPECT_EQ(reloaded.GetServerName(), L"c.example.com");
    EXPECT_EQ(store.EntryNames(kServers).size(), 3u);
}

TEST(AppSettingsStore, DefaultServerReplacesEntryZeroAndIsNeverWritten) {
    const MemoryStore store;
    store.WriteString(kCommon, L"DefaultServer", L"admin.example.org");
    CAppSettings settings = Load(store);
    ASSERT_EQ(settings.servers.size(), 1u);
    EXPECT_EQ(settings.servers[0].url, L"admin.example.org");
    EXPECT_TRUE(settings.servers[0].isDefault);
    EXPECT_EQ(settings.GetUploadURL(), L"http://admin.example.org/Tessaly.php");

    // Survives a save untouched, even when the record's entry 0 differs.
    settings.servers[0].url = L"changed.example.org";
    settings.SaveSettings(store);
    EXPECT_EQ(store.GetString(kCommon, L"DefaultServer", L"-"), L"admin.example.org");
    EXPECT_TRUE(store.EntryNames(kServers).empty());

    // Without an administrator's value nothing ever creates one.
    const MemoryStore fresh;
    Load(fresh).SaveSettings(fresh);
    EXPECT_EQ(fresh.GetString(kCommon, L"DefaultServer", L"-"), L"-");

    // An empty value would leave uploads without a host.
    store.WriteString(kCommon, L"DefaultServer", L"");
    EXPECT_EQ(Load(store).servers[0].url, L"workorders.example.com");
}

struct UploadUrlCase {
    const wchar_t* stored;
    int index;
    const wchar_t* uploadUrl;
    const wchar_t* serverName;
};

TEST(AppSettingsUrls, UploadUrlAndServerName) {
    const UploadUrlCase cases[] = {
        {L"host.example.com", 1, L"http://host.example.com/Tessaly.php", L"host.example.com"},
        {L"host.example.com/", 1, L"http://host.example.com/Tessaly.php", L"host.example.com/"},
        {L"https://host.example.com/app", 1, L"https://host.example.com/app/Tessaly.php",
         L"https://host.example.com/app"},
        {L"ftp://host.example.com/", 1, L"ftp://host.example.com/Tessaly.php",
         L"ftp://host.example.com/"},
        {L"10.0.0.5:8080/tq", 1, L"http://10.0.0.5:8080/tq/Tessaly.php", L"10.0.0.5:8080/tq"},
        // The default entry itself.
        {L"unused.example.com", 0, L"http://workorders.example.com/Tessaly.php",
         L"workorders.example.com"},
        // No server selected: the bare built-in host, never an indexed entry.
        {L"unused.example.com", 2, L"workorders.example.com", L"workorders.example.com"},
        {L"unused.example.com", 1000, L"workorders.example.com", L"workorders.example.com"},
        {L"unused.example.com", -1, L"workorders.example.com", L"workorders.example.com"},
        {L"unused.example.com", INT_MIN, L"workorders.example.com", L"workorders.example.com"},
    };
    for (const UploadUrlCase& c : cases) {
        CAppSettings settings;
        settings.servers = {{L"workorders.example.com", true}, {c.stored, false}};
        settings.serverIndex = c.index;
        EXPECT_EQ(settings.GetUploadURL(), c.uploadUrl) << c.stored << " at " << c.index;
        EXPECT_EQ(settings.GetServerName(), c.serverName) << c.stored << " at " << c.index;
    }
}

// Trimming keeps the default server and the newest user servers; the
// selected server always stays, selected at its new place.
TEST(AppSettingsTrim, DropsTheOldestUserServersButNeverTheSelectedOne) {
    struct Case {
        int count;    // user servers u1.. after the default
        int selected; // before trimming
        const wchar_t* kept;
        int selectedAfter;
    };
    const Case cases[] = {
        {5, 5, L"d u2 u3 u4 u5", 4}, // the newest selected
        {7, 1, L"d u1 u5 u6 u7", 1}, // the oldest selected stays
        {7, 0, L"d u4 u5 u6 u7", 0}, // the default selected
        {7, 6, L"d u4 u5 u6 u7", 3}, // a kept one moves forward
        {7, 9, L"d u4 u5 u6 u7", 9}, // no server selected: nothing to keep
        {3, 2, L"d u1 u2 u3", 2},    // short enough already
    };
    for (const Case& c : cases) {
        CAppSettings settings;
        settings.servers = {{L"d", true}};
        for (int i = 1; i <= c.count; ++i)
            settings.servers.push_back({L"u" + std::to_wstring(i), false});
        settings.serverIndex = c.selected;
        settings.TrimServers();
        std::wstring kept;
        for (const tagServerEntry& server : settings.servers)
            kept += (kept.empty() ? L"" : L" ") + server.url;
        EXPECT_EQ(kept, c.kept) << c.count << " servers, " << c.selected << " selected";
        EXPECT_EQ(settings.serverIndex, c.selectedAfter) << c.count << ", " << c.selected;
    }
}

} // namespace
