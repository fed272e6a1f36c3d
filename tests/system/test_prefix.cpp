#include "system/test_prefix.h"

#include "framework/handles.h"
#include "framework/text.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

namespace {

std::wstring Variable(const wchar_t* name) {
    std::wstring value(32767, L'\0');
    const DWORD length = ::GetEnvironmentVariableW(name, value.data(), 32767);
    value.resize(length < 32767 ? length : 0);
    return value;
}

// The first line of a small file, or empty.
std::string FirstLine(const std::wstring& path) {
    fw::FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
    char text[64]{};
    DWORD read = 0;
    if (!file || !::ReadFile(file.get(), text, sizeof(text) - 1, &read, nullptr))
        return {};
    std::string line(text, read);
    return line.substr(0, line.find_first_of("\r\n"));
}

// Refuses every test of the program before the first one starts.
class TestPrefixGuard : public testing::Environment {
public:
    void SetUp() override {
        const std::wstring why =
            WhyNotRunHere(Variable(L"WINEPREFIX"), Variable(L"LUMVEX_SYSTEM_TESTS_HERE"));
        if (!why.empty())
            FAIL() << "Not run: these tests delete the program's settings and end every "
                      "lumvex.exe, and "
                   << fw::ToUtf8(why)
                   << ". scripts/test runs them in its own prefix; set "
                      "LUMVEX_SYSTEM_TESTS_HERE=1 to run them here anyway.";
    }
};

[[maybe_unused]] testing::Environment* const kGuard =
    testing::AddGlobalTestEnvironment(new TestPrefixGuard);

} // namespace

std::wstring WhyNotRunHere(const std::wstring& winePrefix, const std::wstring& optIn) {
    if (optIn == L"1")
        return {};
    if (winePrefix.empty())
        return L"this is not a Wine prefix";
    // Wine maps the Unix root to drive Z: in every prefix.
    std::wstring mark = L"Z:" + winePrefix + L"/.lumvex-prefix";
    std::replace(mark.begin(), mark.end(), L'/', L'\\');
    if (FirstLine(mark) != "test")
        return L"the Wine prefix " + winePrefix + L" is not the one scripts/test made for tests";
    return {};
}
