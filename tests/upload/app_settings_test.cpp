#include "upload/app_settings.h"

#include "support/registry_value.h"
#include "support/scratch_registry.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <climits>

namespace {

const std::wstring kRoot = L"Software\\Tessaly_Orbicam\\Lumvex";
const std::wstring kCommon = kRoot + L"\\Settings\\Common";
const std::wstring kServers = kRoot + L"\\Settings\\Servers";

// Every test works on a scratch HKEY_CURRENT_USER with the program's own
// profile root below it.
class AppSettingsTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_scratch.IsActive()); }

    CAppSettings Load() const {
        CAppSettings settings;
        settings.LoadSettings(m_profile);
        return settings;
    }

    ScratchRegistry m_scratch;
    fw::Profile m_profile{kRoot};
};

std::vector<std::wstring> Urls(const CAppSettings& settings) {
    std::vector<std::wstring> urls;
    for (const tagServerEntry& server : settings.servers)
        urls.push_back(server.url);
    return urls;
}

TEST_F(AppSettingsTest, EmptyProfileGivesDefaults) {
    const CAppSettings settings = Load();
    ASSERT_EQ(settings.servers.size(), 1u);
    EXPECT_EQ(settings.servers[0].url, L"workorders.example.com");
    EXPECT_TRUE(settings.servers[0].isDefault);
    EXPECT_EQ(settings.serverIndex, 0);
    EXPECT_EQ(settings.securityKey, L"SKYQUOMBIRLA470470");
    EXPECT_TRUE(settings.enableNotifications);
    // Loading only reads.
    EXPECT_FALSE(RegistryKeyExists(kRoot));

    // The folder of the running program file, without the trailing backslash.
    wchar_t path[MAX_PATH]{};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.resize(folder.find_last_of(L'\\'));
    EXPECT_EQ(settings.programFolder, folder);
}

TEST_F(AppSettingsTest, SaveWritesTypedValuesUnderTheProfileRoot) {
    CAppSettings settings = Load();
    settings.serverIndex = 2;
    settings.securityKey = L"KEY-\u00e9\u4e2d";
    settings.enableNotifications = false;
    settings.servers.push_back({L"first.example.com", false});
    settings.servers.push_back({L"https://second.example.com/tq/", false});
    settings.SaveSettings(m_profile);

    EXPECT_EQ(ReadRegistryDword(kCommon, L"ServerIndex"), 2u);
    EXPECT_EQ(ReadRegistryString(kCommon, L"securitykey"), L"KEY-\u00e9\u4e2d");
    EXPECT_EQ(ReadRegistryDword(kCommon, L"EnableNotifications"), 0u);
    EXPECT_FALSE(ReadRegistryValue(kCommon, L"DefaultServer"));
    EXPECT_EQ(ReadRegistryString(kServers, L"ServerURL_1"), L"first.example.com");
    EXPECT_EQ(ReadRegistryString(kServers, L"ServerURL_2"), L"https://second.example.com/tq/");
    EXPECT_FALSE(ReadRegistryValue(kServers, L"ServerURL_0"));
    EXPECT_FALSE(ReadRegistryValue(kServers, L"ServerURL_3"));

    const CAppSettings reloaded = Load();
    EXPECT_EQ(Urls(reloaded), Urls(settings));
    EXPECT_EQ(reloaded.serverIndex, 2);
    EXPECT_EQ(reloaded.securityKey, settings.securityKey);
    EXPECT_FALSE(reloaded.enableNotifications);
}

TEST_F(AppSettingsTest, GapEndsTheServerListAndTheNextSaveDropsLaterNumbers) {
    WriteRegistryString(kServers, L"ServerURL_1", L"one.example.com");
    WriteRegistryString(kServers, L"ServerURL_3", L"three.example.com");

    const CAppSettings settings = Load();
    EXPECT_EQ(Urls(settings),
              (std::vector<std::wstring>{L"workorders.example.com", L"one.example.com"}));
    EXPECT_FALSE(settings.servers[1].isDefault);

    settings.SaveSettings(m_profile);
    EXPECT_EQ(ReadRegistryString(kServers, L"ServerURL_1"), L"one.example.com");
    EXPECT_FALSE(ReadRegistryValue(kServers, L"ServerURL_2"));
    EXPECT_FALSE(ReadRegistryValue(kServers, L"ServerURL_3"));
}

TEST_F(AppSettingsTest, EmptyAndDefaultEntriesAreNotWrittenAndTheRestRenumbered) {
    // A stale number from an earlier save must not survive either.
    WriteRegistryString(kServers, L"ServerURL_7", L"stale.example.com");
    CAppSettings settings = Load();
    settings.servers.push_back({L"", false});
    settings.servers.push_back({L"b.example.com", false});
    settings.servers.push_back({L"protected.example.com", true});
    settings.servers.push_back({L"c.example.com", false});
    settings.SaveSettings(m_profile);

    EXPECT_EQ(Urls(Load()), (std::vector<std::wstring>{L"workorders.example.com", L"b.example.com",
                                                       L"c.example.com"}));
    EXPECT_FALSE(ReadRegistryValue(kServers, L"ServerURL_3"));
    EXPECT_FALSE(ReadRegistryValue(kServers, L"ServerURL_7"));
}

TEST_F(AppSettingsTest, DefaultServerReplacesEntryZeroAndIsNeverWritten) {
    WriteRegistryString(kCommon, L"DefaultServer", L"admin.example.org");
    CAppSettings settings = Load();
    ASSERT_EQ(settings.servers.size(), 1u);
    EXPECT_EQ(settings.servers[0].url, L"admin.example.org");
    EXPECT_TRUE(settings.servers[0].isDefault);
    EXPECT_EQ(settings.GetUploadURL(), L"http://admin.example.org/Tessaly.php");

    // Survives a save untouched, even when the record's entry 0 differs.
    settings.servers[0].url = L"changed.example.org";
    settings.SaveSettings(m_profile);
    EXPECT_EQ(ReadRegistryString(kCommon, L"DefaultServer"), L"admin.example.org");
    EXPECT_FALSE(RegistryKeyExists(kServers));

    // Without an administrator's value nothing ever creates one.
    DeleteRegistryTree(kRoot);
    Load().SaveSettings(m_profile);
    EXPECT_FALSE(ReadRegistryValue(kCommon, L"DefaultServer"));

    // An empty value would leave uploads without a host.
    WriteRegistryString(kCommon, L"DefaultServer", L"");
    EXPECT_EQ(Load().servers[0].url, L"workorders.example.com");
}

TEST_F(AppSettingsTest, ValuesOfAnotherTypeReadAsAbsent) {
    const BYTE blob[] = {1, 2, 3, 4, 5, 6, 7, 8};
    const DWORD seven = 7;
    WriteRegistryString(kCommon, L"ServerIndex", L"3");
    WriteRegistryValue(kCommon, L"EnableNotifications", REG_BINARY, blob, 1);
    WriteRegistryDword(kCommon, L"securitykey", 42);
    WriteRegistryValue(kCommon, L"DefaultServer", REG_BINARY, blob, sizeof(blob));
    WriteRegistryValue(kServers, L"ServerURL_1", REG_DWORD, &seven, sizeof(seven));
    WriteRegistryString(kServers, L"ServerURL_2", L"after.example.com");

    const CAppSettings settings = Load();
    EXPECT_EQ(settings.serverIndex, 0);
    EXPECT_TRUE(settings.enableNotifications);
    EXPECT_EQ(settings.securityKey, L"SKYQUOMBIRLA470470");
    // An unreadable server ends the list like a missing one.
    EXPECT_EQ(Urls(settings), std::vector<std::wstring>{L"workorders.example.com"});
}

TEST_F(AppSettingsTest, OverLongStringsReadAsAbsent) {
    const std::wstring longest(CAppSettings::kMaxStringLength, L'k');
    WriteRegistryString(kCommon, L"securitykey", longest);
    EXPECT_EQ(Load().securityKey, longest);

    WriteRegistryString(kCommon, L"securitykey", longest + L'k');
    EXPECT_EQ(Load().securityKey, L"SKYQUOMBIRLA470470");

    // The profile itself hands back a 64K-character string whole; only the
    // settings refuse it.
    const std::wstring huge(65536, L'u');
    WriteRegistryString(kServers, L"ServerURL_1", huge);
    EXPECT_EQ(m_profile.GetString(L"Settings\\Servers", L"ServerURL_1", L""), huge);
    EXPECT_EQ(Load().servers.size(), 1u);
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
