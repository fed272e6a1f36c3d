#include "framework/profile.h"

#include "framework/application.h"
#include "framework/handles.h"
#include "framework/text.h"

#include "portable/support/memory_store.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <climits>
#include <optional>
#include <string>
#include <vector>

namespace {

// A registry root of the test's own, below Software\LumvexTests in
// HKEY_CURRENT_USER, removed before and after the test.
class ScratchRoot {
public:
    ScratchRoot() {
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        m_path = L"Software\\LumvexTests\\" +
                 fw::FromUtf8(std::string(test->test_suite_name()) + "." + test->name());
        Remove();
    }
    ~ScratchRoot() {
        Remove();
        // Only goes when no other test left anything there.
        ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\LumvexTests");
    }
    ScratchRoot(const ScratchRoot&) = delete;
    ScratchRoot& operator=(const ScratchRoot&) = delete;

    const std::wstring& path() const noexcept { return m_path; }
    std::wstring Below(const std::wstring& subkey) const { return m_path + L"\\" + subkey; }

private:
    void Remove() { ::RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str()); }
    std::wstring m_path;
};

bool KeyExists(const std::wstring& path) {
    fw::RegKey key;
    return ::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key.put()) ==
           ERROR_SUCCESS;
}

// The registry type of a value, or nothing when it is missing.
std::optional<DWORD> ValueType(const std::wstring& key, const wchar_t* name) {
    DWORD type = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &type,
                       nullptr, nullptr) != ERROR_SUCCESS)
        return std::nullopt;
    return type;
}

void WriteRaw(const std::wstring& key, const wchar_t* name, DWORD type, const void* data,
              DWORD size) {
    fw::RegKey handle;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                nullptr, handle.put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegSetValueExW(handle.get(), name, 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
}

class ProfileTest : public testing::Test {
protected:
    ScratchRoot root;
    fw::Profile profile{root.path()};
};

TEST_F(ProfileTest, IntegersRoundTripAsDwords) {
    for (int value : {0, 1, -1, 42, INT_MIN, INT_MAX}) {
        ASSERT_TRUE(profile.WriteInt(L"Numbers", L"Value", value));
        EXPECT_EQ(profile.GetInt(L"Numbers", L"Value", 7), value);
    }
    EXPECT_EQ(ValueType(root.Below(L"Numbers"), L"Value"), REG_DWORD);
}

TEST_F(ProfileTest, StringsRoundTrip) {
    std::wstring large(65536, L'\0');
    for (size_t i = 0; i < large.size(); ++i)
        large[i] = static_cast<wchar_t>(L'a' + i % 26);
    const std::wstring values[] = {L"", L"plain", L"caf\u00e9 \u65e5\u672c\u8a9e \U0001F600",
                                   large};
    for (const std::wstring& value : values) {
        ASSERT_TRUE(profile.WriteString(L"Texts", L"Value", value));
        EXPECT_EQ(profile.GetString(L"Texts", L"Value", L"fallback"), value)
            << "length " << value.size();
    }
    EXPECT_EQ(ValueType(root.Below(L"Texts"), L"Value"), REG_SZ);
}

TEST_F(ProfileTest, MissingValuesReadAsTheDefault) {
    EXPECT_EQ(profile.GetInt(L"Nowhere", L"Value", -5), -5);
    EXPECT_EQ(profile.GetString(L"Nowhere", L"Value", L"fallback"), L"fallback");
    ASSERT_TRUE(profile.WriteInt(L"Somewhere", L"Other", 1));
    EXPECT_EQ(profile.GetInt(L"Somewhere", L"Value", -5), -5);
    EXPECT_EQ(profile.GetString(L"Somewhere", L"Value", L"fallback"), L"fallback");
    EXPECT_EQ(profile.GetInt(L"", L"Value", 3), 3);
}

TEST_F(ProfileTest, AValueOfAnotherTypeReadsAsTheDefault) {
    const std::wstring section = root.Below(L"Mixed");
    const wchar_t text[] = L"12";
    WriteRaw(section, L"Text", REG_SZ, text, sizeof(text));
    const DWORD number = 12;
    WriteRaw(section, L"Number", REG_DWORD, &number, sizeof(number));
    const BYTE binary[4] = {12, 0, 0, 0};
    WriteRaw(section, L"Binary", REG_BINARY, binary, sizeof(binary));
    const ULONGLONG wide = 12;
    WriteRaw(section, L"Wide", REG_QWORD, &wide, sizeof(wide));
    // A string to expand is another type of string.
    const wchar_t expandable[] = L"%TEMP%";
    WriteRaw(section, L"Expandable", REG_EXPAND_SZ, expandable, sizeof(expandable));

    EXPECT_EQ(profile.GetInt(L"Mixed", L"Text", -1), -1);
    EXPECT_EQ(profile.GetInt(L"Mixed", L"Binary", -1), -1);
    EXPECT_EQ(profile.GetInt(L"Mixed", L"Wide", -1), -1);
    EXPECT_EQ(profile.GetString(L"Mixed", L"Number", L"fallback"), L"fallback");
    EXPECT_EQ(profile.GetString(L"Mixed", L"Binary", L"fallback"), L"fallback");
    EXPECT_EQ(profile.GetString(L"Mixed", L"Expandable", L"fallback"), L"fallback");
    // Every value is listed, whatever its type.
    std::vector<std::wstring> names = profile.EntryNames(L"Mixed");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
              (std::vector<std::wstring>{L"Binary", L"Expandable", L"Number", L"Text", L"Wide"}));
    EXPECT_TRUE(profile.EntryNames(L"Nowhere").empty());
    EXPECT_EQ(profile.GetInt(L"Mixed", L"Number", -1), 12);
    EXPECT_EQ(profile.GetString(L"Mixed", L"Text", L"fallback"), L"12");
}

// Other programs may store strings without a terminator, or with an odd
// byte count; nothing past the stored data may be read.
TEST_F(ProfileTest, AStringStoredWithoutTerminatorReadsAsItsText) {
    const std::wstring section = root.Below(L"Raw");
    const wchar_t text[] = {L'a', L'b', L'c'};
    WriteRaw(section, L"Bare", REG_SZ, text, sizeof(text));
    WriteRaw(section, L"Odd", REG_SZ, text, sizeof(text) - 1);
    EXPECT_EQ(profile.GetString(L"Raw", L"Bare", L"fallback"), L"abc");
    EXPECT_EQ(profile.GetString(L"Raw", L"Odd", L"fallback"), L"ab");
}

TEST_F(ProfileTest, DeleteEntryRemovesOneValue) {
    ASSERT_TRUE(profile.WriteInt(L"Section", L"Gone", 1));
    ASSERT_TRUE(profile.WriteInt(L"Section", L"Kept", 2));
    EXPECT_TRUE(profile.DeleteEntry(L"Section", L"Gone"));
    EXPECT_EQ(profile.GetInt(L"Section", L"Gone", -1), -1);
    EXPECT_EQ(profile.GetInt(L"Section", L"Kept", -1), 2);
    EXPECT_TRUE(profile.DeleteEntry(L"Section", L"Gone"));
    EXPECT_TRUE(profile.DeleteEntry(L"NoSection", L"Gone"));
}

TEST_F(ProfileTest, DeleteSectionRemovesTheWholeKeyTree) {
    ASSERT_TRUE(profile.WriteInt(L"Servers", L"Count", 2));
    ASSERT_TRUE(profile.WriteString(L"Servers\\0", L"Url", L"http://a"));
    ASSERT_TRUE(profile.WriteString(L"Servers\\1\\Deep", L"Url", L"http://b"));
    ASSERT_TRUE(profile.WriteInt(L"Common", L"Kept", 1));

    EXPECT_TRUE(profile.DeleteSection(L"Servers"));
    EXPECT_FALSE(KeyExists(root.Below(L"Servers")));
    EXPECT_EQ(profile.GetInt(L"Common", L"Kept", -1), 1);
    EXPECT_TRUE(profile.DeleteSection(L"Servers")) << "nothing left to remove";

    EXPECT_TRUE(profile.DeleteSection(L""));
    EXPECT_FALSE(KeyExists(root.path()));
}

// A profile that was never given a root must not fall through to the top of
// HKEY_CURRENT_USER. HKEY_CURRENT_USER is pointed at a scratch key for the
// test, so that a fault could not litter the real one.
TEST_F(ProfileTest, AProfileWithoutRootChangesNothing) {
    fw::RegKey scratch;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, root.path().c_str(), 0, nullptr, 0,
                                KEY_ALL_ACCESS, nullptr, scratch.put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegOverridePredefKey(HKEY_CURRENT_USER, scratch.get()), ERROR_SUCCESS);

    const fw::Profile unrooted;
    EXPECT_FALSE(unrooted.IsValid());
    EXPECT_FALSE(unrooted.WriteInt(L"", L"Probe", 1));
    EXPECT_FALSE(unrooted.WriteString(L"", L"Probe", L"x"));
    EXPECT_FALSE(unrooted.WriteInt(L"Section", L"Probe", 1));
    EXPECT_FALSE(unrooted.DeleteSection(L""));
    EXPECT_FALSE(unrooted.DeleteEntry(L"", L"Probe"));
    EXPECT_EQ(unrooted.GetInt(L"", L"Probe", -1), -1);
    EXPECT_EQ(unrooted.GetString(L"", L"Probe", L"fallback"), L"fallback");

    ::RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    DWORD values = 0;
    DWORD subkeys = 0;
    ASSERT_EQ(::RegQueryInfoKeyW(scratch.get(), nullptr, nullptr, nullptr, &subkeys, nullptr,
                                 nullptr, &values, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(values, 0u);
    EXPECT_EQ(subkeys, 0u);
}

// The window-free tests keep settings in a MemoryStore: it must answer as
// the registry does wherever the settings rules depend on it.
TEST_F(ProfileTest, AMemoryStoreAnswersAsTheProfile) {
    auto transcript = [](const fw::KeyValueStore& store) {
        std::vector<std::wstring> answers;
        auto names = [&](std::wstring_view section) {
            std::vector<std::wstring> found = store.EntryNames(section);
            std::sort(found.begin(), found.end());
            std::wstring line = L"names";
            for (const std::wstring& name : found)
                line += L" " + name;
            answers.push_back(line);
        };
        auto read = [&](std::wstring_view section, std::wstring_view entry) {
            answers.push_back(std::to_wstring(store.GetInt(section, entry, -7)) + L" " +
                              store.GetString(section, entry, L"fallback"));
        };
        store.WriteString(L"Set\\Servers", L"ServerURL_1", L"first");
        store.WriteString(L"SET\\servers", L"serverurl_1", L"again");
        store.WriteInt(L"Set\\Common", L"Index", -3);
        store.WriteString(L"Set\\Common", L"Text", L"12");
        store.WriteString(L"Set\\Common", L"Empty", L"");
        store.WriteString(L"Set\\Common", L"Cut", std::wstring(L"ab\0c", 4));
        store.WriteInt(L"Set\\Common", L"Retyped", 5);
        store.WriteString(L"Set\\Common", L"RETYPED", L"now text");
        store.WriteString(L"Set\\Servers\\Below", L"Deep", L"x");
        names(L"set\\servers");
        read(L"Set\\Servers", L"SERVERURL_1");
        for (const wchar_t* entry : {L"Index", L"Text", L"Empty", L"Cut", L"Retyped", L"None"})
            read(L"Set\\Common", entry);
        read(L"Nowhere", L"Index");
        answers.push_back(store.DeleteEntry(L"Set\\Common", L"index") ? L"deleted" : L"kept");
        answers.push_back(store.DeleteEntry(L"Set\\Common", L"Index") ? L"deleted" : L"kept");
        answers.push_back(store.DeleteEntry(L"Nowhere", L"Index") ? L"deleted" : L"kept");
        names(L"Set\\Common");
        answers.push_back(store.DeleteSection(L"set\\SERVERS") ? L"deleted" : L"kept");
        answers.push_back(store.DeleteSection(L"Set\\Servers") ? L"deleted" : L"kept");
        names(L"Set\\Servers");
        names(L"Set\\Servers\\Below");
        names(L"Set\\Common");
        answers.push_back(store.DeleteSection(L"") ? L"deleted" : L"kept");
        names(L"Set\\Common");
        return answers;
    };
    const std::vector<std::wstring> answers = transcript(profile);
    EXPECT_EQ(transcript(MemoryStore()), answers);
    EXPECT_EQ(answers[1], L"-7 again");
    EXPECT_EQ(answers[5], L"-7 ab") << "a string reads up to its first null";
}

TEST_F(ProfileTest, TheApplicationRootsItsProfileAtSoftwareKeyAppName) {
    fw::Application app;
    EXPECT_EQ(app.AppName(), L"lumvex_framework_tests");
    EXPECT_FALSE(app.GetProfile().IsValid());

    app.SetRegistryKey(L"Maker");
    EXPECT_EQ(app.GetProfile().Root(), L"Software\\Maker\\lumvex_framework_tests");

    // The name as it is when the key is set; renaming later moves nothing.
    const std::wstring key = root.path().substr(std::wstring(L"Software\\").size());
    app.SetAppName(L"Lumvex");
    app.SetRegistryKey(key);
    app.SetAppName(L"Renamed");
    EXPECT_EQ(app.GetProfile().Root(), root.Below(L"Lumvex"));
    ASSERT_TRUE(app.GetProfile().WriteInt(L"Settings", L"Probe", 9));
    EXPECT_EQ(ValueType(root.Below(L"Lumvex\\Settings"), L"Probe"), REG_DWORD);
}

} // namespace
