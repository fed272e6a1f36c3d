#include "framework/stream_archive.h"
#include "portable/support/archive_checks.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

TEST(Archive, RoundTripsOnAStream) {
    IStream* stream = nullptr;
    ASSERT_EQ(::CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
    fw::StreamBytes bytes(stream);
    {
        fw::Archive out(bytes, true);
        archive_checks::WriteValues(out);
        EXPECT_FALSE(out.Failed());
    }
    const LARGE_INTEGER start{};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    {
        fw::Archive in(bytes, false);
        EXPECT_TRUE(archive_checks::ReadsValuesBack(in));
    }
    stream->Release();
    // Without a stream every write and read fails.
    fw::StreamBytes none(nullptr);
    fw::Archive broken(none, true);
    broken.WriteCount(1);
    EXPECT_TRUE(broken.Failed());
}

} // namespace
