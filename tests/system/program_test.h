// A test that runs the real program on a clean profile: nothing of an
// earlier run is there when it starts, nothing of its own when it ends.
#pragma once

#include "system/child_process.h"

#include <gtest/gtest.h>

#include <string>

// Where the program keeps its settings, below HKEY_CURRENT_USER.
inline const std::wstring kProfileRoot = L"Software\\Tessaly_Orbicam\\Lumvex";

class ProgramTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the program and brings its window up with a click on its icon,
    // as a person would; the window has the focus and the keyboard.
    void StartAndShow(HWND* window);

    ChildProcess m_program;
};
