#include "framework/text.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

TEST(Text, Utf8RoundTrips) {
    const std::wstring texts[] = {L"", L"plain ASCII", L"caf\u00e9",
                                  L"\u65e5\u672c\u8a9e \U0001F600"};
    for (const std::wstring& text : texts)
        EXPECT_EQ(fw::FromUtf8(fw::ToUtf8(text)), text);
    EXPECT_EQ(fw::ToUtf8(L"\u00e9"), "\xC3\xA9");
    EXPECT_EQ(fw::ToUtf8(L"\U0001F600"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(fw::FromUtf8("\xC3\xA9"), L"\u00e9");
}

TEST(Text, AnsiRoundTripsUnderTheDefaultCodePage) {
    EXPECT_EQ(fw::ToAnsi(L""), "");
    EXPECT_EQ(fw::FromAnsi(""), L"");
    EXPECT_EQ(fw::ToAnsi(L"security_key=abc 123"), "security_key=abc 123");
    EXPECT_EQ(fw::FromAnsi("security_key=abc 123"), L"security_key=abc 123");

    // "é" exists in every Western code page, as one byte.
    BOOL lossy = FALSE;
    char byte[4]{};
    const int length = ::WideCharToMultiByte(CP_THREAD_ACP, WC_NO_BEST_FIT_CHARS, L"\u00e9", 1,
                                             byte, sizeof(byte), nullptr, &lossy);
    if (lossy || length != 1)
        GTEST_SKIP() << "code page " << ::GetACP() << " has no \u00e9";
    EXPECT_EQ(fw::ToAnsi(L"caf\u00e9"), std::string("caf") + byte[0]);
    EXPECT_EQ(fw::FromAnsi(fw::ToAnsi(L"caf\u00e9")), L"caf\u00e9");
    if (::GetACP() == 1252) {
        EXPECT_EQ(fw::ToAnsi(L"\u00e9"), "\xE9");
        // What the code page cannot hold becomes its default character.
        EXPECT_EQ(fw::ToAnsi(L"\u65e5"), "?");
    }
}

} // namespace
