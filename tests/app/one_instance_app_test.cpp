#include "app/lumvex_app.h"
#include "app/one_instance_app.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

std::wstring UniqueName() {
    return L"LumvexTest_" + std::to_wstring(::GetCurrentProcessId());
}

TEST(OneInstanceApp, OnlyTheFirstHolderOfTheNameIsFirst) {
    COneInstanceApp first(UniqueName());
    COneInstanceApp second(UniqueName());
    EXPECT_TRUE(first.InitInstance());
    EXPECT_FALSE(second.InitInstance());

    // The later instance's handle alone keeps the name alive.
    first.ExitInstance();
    COneInstanceApp third(UniqueName());
    EXPECT_FALSE(third.InitInstance());
    third.ExitInstance();

    second.ExitInstance();
    COneInstanceApp fourth(UniqueName());
    EXPECT_TRUE(fourth.InitInstance());
    fourth.ExitInstance();
}

TEST(OneInstanceApp, TheProgramLocksItsOwnName) {
    CLumvexApp app;
    EXPECT_EQ(app.MutexName(), L"Lumvex_Mutex_Object");
}

} // namespace
