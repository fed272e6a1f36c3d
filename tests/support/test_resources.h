// Ids of the test-only dialog templates (test_resources.rc). They start at
// 9000 so that they never collide with the program's own resources, which
// are linked into the same test programs.
#pragma once

// A modal dialog without WS_VISIBLE, and the same template with it.
#define IDD_TEST_HIDDEN 9000
#define IDD_TEST_VISIBLE 9001
// A child panel (WS_CHILD | DS_CONTROL, visible) for modeless Create.
#define IDD_TEST_PANEL 9002
// Never defined: DoModal must fail on it.
#define IDD_TEST_MISSING 9099

// Controls of IDD_TEST_HIDDEN and IDD_TEST_VISIBLE.
#define IDC_TEST_LABEL 9100
#define IDC_TEST_OWNERDRAW 9101
#define IDC_TEST_EDIT 9102
#define IDC_TEST_PLACEHOLDER 9103

// Controls of IDD_TEST_PANEL.
#define IDC_TEST_PANEL_EDIT 9110
#define IDC_TEST_PANEL_BUTTON 9111
