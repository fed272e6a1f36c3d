#include "system/program_test.h"

#include "support/registry_value.h"

void ProgramTest::SetUp() {
    TerminateProgramsNamed({L"lumvex.exe"});
    ASSERT_TRUE(DeleteRegistryTree(kProfileRoot));
}

void ProgramTest::TearDown() {
    m_program.Terminate();
    DeleteRegistryTree(kProfileRoot);
    ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Tessaly_Orbicam");
}
