#include "framework/archive.h"
#include "portable/support/archive_checks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::byte> Bytes(std::initializer_list<int> values) {
    std::vector<std::byte> bytes;
    for (int value : values)
        bytes.push_back(static_cast<std::byte>(value));
    return bytes;
}

TEST(Archive, WritesLittleEndianCountsAndLengthPrefixedUtf16) {
    fw::Archive archive;
    archive.WriteCount(0x0102);
    archive.WriteString(L"A\u00e9\U0001F600");
    EXPECT_EQ(archive.Bytes(), Bytes({0x02, 0x01, 0x04, 0x00, 0x00, 0x00, 0x41, 0x00, 0xE9, 0x00,
                                      0x3D, 0xD8, 0x00, 0xDE}));
}

TEST(Archive, RoundTripsInMemory) {
    fw::Archive stored;
    archive_checks::WriteValues(stored);
    fw::Archive loaded(stored.Bytes());
    EXPECT_TRUE(archive_checks::ReadsValuesBack(loaded));
}

TEST(Archive, DamagedLengthFailsWithoutTouchingTheString) {
    // Claims a million units but holds one.
    fw::Archive damaged(Bytes({0x40, 0x42, 0x0F, 0x00, 0x41, 0x00}));
    std::wstring text = L"kept";
    EXPECT_FALSE(damaged.ReadString(text));
    EXPECT_EQ(text, L"kept");
    EXPECT_TRUE(damaged.Failed());
}

} // namespace
