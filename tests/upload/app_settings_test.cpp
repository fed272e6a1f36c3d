#include "upload/app_settings.h"

#include "portable/support/server_urls.h"
#include "saver/saver_lists.h"
#include "support/build_paths.h"
#include "support/registry_value.h"
#include "support/scratch_registry.h"

#include "framework/handles.h"
#include "framework/profile.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <set>

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

TEST_F(AppSettingsTest, SaveWritesTypedValuesUnderTheProfileRoot) {
    CAppSettings settings = Load();
    // Loading only reads.
    EXPECT_FALSE(RegistryKeyExists(kRoot));
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

TEST_F(AppSettingsTest, ValuesOfAnotherTypeReadAsAbsent) {
    const BYTE blob[] = {1, 2, 3, 4, 5, 6, 7, 8};
    const DWORD seven = 7;
    const wchar_t expandable[] = L"%SystemRoot%";
    WriteRegistryString(kCommon, L"ServerIndex", L"3");
    WriteRegistryValue(kCommon, L"EnableNotifications", REG_BINARY, blob, 1);
    WriteRegistryDword(kCommon, L"securitykey", 42);
    WriteRegistryValue(kCommon, L"DefaultServer", REG_BINARY, blob, sizeof(blob));
    WriteRegistryString(kServers, L"ServerURL_2", L"after.example.com");
    for (const DWORD type : {DWORD{REG_DWORD}, DWORD{REG_EXPAND_SZ}}) {
        if (type == REG_DWORD)
            WriteRegistryValue(kServers, L"ServerURL_1", type, &seven, sizeof(seven));
        else
            WriteRegistryValue(kServers, L"ServerURL_1", type, expandable, sizeof(expandable));
        const CAppSettings settings = Load();
        EXPECT_EQ(settings.serverIndex, 0);
        EXPECT_TRUE(settings.enableNotifications);
        EXPECT_EQ(settings.securityKey, L"SKYQUOMBIRLA470470");
        // An unreadable server ends the list like a missing one.
        EXPECT_EQ(Urls(settings), std::vector<std::wstring>{L"workorders.example.com"}) << type;
    }
}

// Only the address field limits the length; a stored value of any length
// reads whole, and the servers after a long one are not lost.
TEST_F(AppSettingsTest, LongStringsReadWholeAndTheListGoesOnAfterThem) {
    const std::wstring key(5000, L'k');
    const std::wstring huge(65536, L'u');
    WriteRegistryString(kCommon, L"securitykey", key);
    WriteRegistryString(kServers, L"ServerURL_1", huge);
    WriteRegistryString(kServers, L"ServerURL_2", L"after.example.com");
    const CAppSettings settings = Load();
    EXPECT_EQ(settings.securityKey, key);
    EXPECT_EQ(Urls(settings),
              (std::vector<std::wstring>{L"workorders.example.com", huge, L"after.example.com"}));

    settings.SaveSettings(m_profile);
    EXPECT_EQ(ReadRegistryString(kServers, L"ServerURL_2"), L"after.example.com");
}

// The settings are saved at the end of every dialog and at log-off, when
// Windows may end the process at any moment. A process killed at a random
// moment while it saves leaves a list that loads with every server of the
// list it had or of the one it was writing, and a selected server in it.
TEST(AppSettingsSave, AProcessKilledWhileSavingLeavesSettingsThatLoad) {
    const std::wstring root = L"Software\\LumvexTests\\KilledSave";
    DeleteRegistryTree(root);
    const std::wstring saver = WindowsPathOfBuildFile(LUMVEX_SETTINGS_SAVER_PATH);
    const std::vector<CAppSettings> rounds = SaverRounds();
    // Everything a save leaves in the servers section and the index.
    const fw::Profile profile(root);
    auto stored = [&] {
        std::vector<std::wstring> values;
        for (const std::wstring& name : profile.EntryNames(L"Settings\\Servers"))
            values.push_back(name + L"=" + profile.GetString(L"Settings\\Servers", name, L""));
        std::sort(values.begin(), values.end());
        values.push_back(std::to_wstring(profile.GetInt(L"Settings\\Common", L"ServerIndex", -1)));
        return values;
    };
    std::set<std::vector<std::wstring>> finished;
    for (const CAppSettings& round : rounds) {
        round.SaveSettings(profile);
        finished.insert(stored());
    }
    std::mt19937 random(std::random_device{}());
    // Kills go on until 50 of them have cut a save short (most land in one).
    int cutInTheMiddle = 0;
    constexpr int kCuts = 50;
    constexpr int kMostTries = 400;
    int attempt = 0;
    for (; attempt < kMostTries && (cutInTheMiddle < kCuts || attempt < 60); ++attempt) {
        const std::wstring readyName =
            L"Local\\LumvexSaverReady" + std::to_wstring(::GetCurrentProcessId());
        fw::KernelHandle ready(::CreateEventW(nullptr, TRUE, FALSE, readyName.c_str()));
        ASSERT_TRUE(ready);
        std::wstring commandLine = L"\"" + saver + L"\" " + root + L" " + readyName;
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        ASSERT_TRUE(::CreateProcessW(saver.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                     nullptr, nullptr, &startup, &info))
            << "cannot start " << saver.size();
        fw::KernelHandle process(info.hProcess);
        fw::KernelHandle thread(info.hThread);
        const HANDLE waits[] = {ready.get(), process.get()};
        ASSERT_EQ(::WaitForMultipleObjects(2, waits, FALSE, 30000), WAIT_OBJECT_0)
            << "the saver did not start saving";
        // The moment of the kill, somewhere in the saves that follow.
        ::Sleep(std::uniform_int_distribution<DWORD>(0, 25)(random));
        ::TerminateProcess(process.get(), 9);
        ASSERT_EQ(::WaitForSingleObject(process.get(), 30000), WAIT_OBJECT_0);

        CAppSettings loaded;
        loaded.LoadSettings(profile);
        const std::vector<std::wstring> urls = Urls(loaded);
        const std::set<std::wstring> held(urls.begin(), urls.end());
        const bool whole = std::any_of(rounds.begin(), rounds.end(), [&](const CAppSettings& r) {
            return std::all_of(r.servers.begin(), r.servers.end(),
                               [&](const tagServerEntry& s) { return held.count(s.url) != 0; });
        });
        ASSERT_TRUE(whole) << "attempt " << attempt << ": a server was lost";
        ASSERT_GE(loaded.serverIndex, 0) << "attempt " << attempt;
        ASSERT_LT(static_cast<size_t>(loaded.serverIndex), loaded.servers.size())
            << "attempt " << attempt << ": the selected server is not in the list";
        const std::wstring selected = loaded.GetServerName();
        EXPECT_TRUE(
            std::any_of(rounds.begin(), rounds.end(),
                        [&](const CAppSettings& r) { return r.GetServerName() == selected; }))
            << "attempt " << attempt << " selects " << selected.size();
        if (finished.count(stored()) == 0)
            ++cutInTheMiddle;
    }
    EXPECT_GE(cutInTheMiddle, kCuts)
        << "only " << cutInTheMiddle << " of " << attempt << " kills cut a save short";
    std::printf("%d of %d kills cut a save short\n", cutInTheMiddle, attempt);
    DeleteRegistryTree(root);
}

} // namespace
