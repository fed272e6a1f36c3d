#include "system/test_prefix.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>

namespace {

void WriteMark(const std::wstring& folder, const char* text) {
    const std::wstring path = folder + L"\\.lumvex-prefix";
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, text, static_cast<DWORD>(std::char_traits<char>::length(text)), &written,
                nullptr);
    ::CloseHandle(file);
}

TEST(SystemTestPrefix, OnlyThePrefixMarkedForTestsOrAnExplicitRequestLetsThemRun) {
    wchar_t prefix[MAX_PATH]{};
    if (!::GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH))
        GTEST_SKIP() << "not under Wine";
    EXPECT_EQ(WhyNotRunHere(prefix, L""), L"") << "the prefix scripts/test made";
    EXPECT_NE(WhyNotRunHere(L"", L""), L"") << "not under Wine: a real desktop";
    EXPECT_EQ(WhyNotRunHere(L"", L"1"), L"") << "asked for explicitly";
    EXPECT_NE(WhyNotRunHere(L"", L"yes"), L"");

    // Another prefix: one made for the program's own runs, one with no mark.
    const std::wstring other = std::wstring(prefix) + L"/drive_c/lumvex_prefix_test";
    std::wstring folder = L"Z:" + other;
    std::replace(folder.begin(), folder.end(), L'/', L'\\');
    ::CreateDirectoryW(folder.c_str(), nullptr);
    WriteMark(folder, "run\n");
    EXPECT_NE(WhyNotRunHere(other, L""), L"");
    WriteMark(folder, "test\n");
    EXPECT_EQ(WhyNotRunHere(other, L""), L"");
    ::DeleteFileW((folder + L"\\.lumvex-prefix").c_str());
    EXPECT_NE(WhyNotRunHere(other, L""), L"");
    EXPECT_TRUE(::RemoveDirectoryW(folder.c_str()));
}

} // namespace
