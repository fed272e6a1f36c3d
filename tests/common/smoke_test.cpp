#include <gtest/gtest.h>
#include <windows.h>

TEST(Harness, RunsUnderWindowsApi) {
    EXPECT_NE(GetCurrentProcessId(), 0u);
}
