#include "framework/archive.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

std::vector<std::byte> Bytes(std::initializer_list<int> values) {
    std::vector<std::byte> bytes;
    for (int value : values)
        bytes.push_back(static_cast<std::byte>(value));
    return bytes;
}

} // namespace

TEST(Archive, WritesLittleEndianCountsAndLengthPrefixedUtf16) {
    fw::Archive archive;
    archive.WriteCount(0x0102);
    archive.WriteString(L"A\u00e9");
    EXPECT_EQ(archive.Bytes(), Bytes({0x02, 0x01, 0x02, 0x00, 0x00, 0x00, 0x41, 0x00, 0xE9, 0x00}));
}

TEST(Archive, RoundTripsInMemoryAndOnAStream) {
    // Longer than one piece of the reader, so that pieces join correctly.
    const std::wstring longText(5000, L'\u4e2d');
    auto write = [&](fw::Archive& archive) {
        archive.WriteCount(3);
        archive.WriteString(L"");
        archive.WriteString(L"http://server/path?x=1");
        archive.WriteString(longText);
    };
    auto check = [&](fw::Archive& archive) {
        std::uint16_t count = 0;
        std::wstring empty = L"x", address, text;
        ASSERT_TRUE(archive.ReadCount(count));
        ASSERT_TRUE(archive.ReadString(empty));
        ASSERT_TRUE(archive.ReadString(address));
        ASSERT_TRUE(archive.ReadString(text));
        EXPECT_EQ(count, 3);
        EXPECT_EQ(empty, L"");
        EXPECT_EQ(address, L"http://server/path?x=1");
        EXPECT_EQ(text, longText);
        // Nothing more: a further read fails and leaves its value alone.
        std::uint16_t more = 7;
        EXPECT_FALSE(archive.ReadCount(more));
        EXPECT_EQ(more, 7);
        EXPECT_TRUE(archive.Failed());
    };

    fw::Archive stored;
    write(stored);
    fw::Archive loaded(stored.Bytes());
    check(loaded);

    IStream* stream = nullptr;
    ASSERT_EQ(::CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
    {
        fw::Archive out(stream, true);
        write(out);
        EXPECT_FALSE(out.Failed());
    }
    const LARGE_INTEGER start{};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    {
        fw::Archive in(stream, false);
        check(in);
    }
    stream->Release();
}

TEST(Archive, DamagedLengthFailsWithoutTouchingTheString) {
    // Claims a million units but holds one.
    fw::Archive damaged(Bytes({0x40, 0x42, 0x0F, 0x00, 0x41, 0x00}));
    std::wstring text = L"kept";
    EXPECT_FALSE(damaged.ReadString(text));
    EXPECT_EQ(text, L"kept");
    EXPECT_TRUE(damaged.Failed());
}
