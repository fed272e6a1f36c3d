// The real program at the display scales people use (Wine's LogPixels per
// run): the tool column, the drawing area, the palette's slots, the capture
// and the About box, as a person meets them.
#include "system/child_process.h"
#include "system/program_test.h"
#include "system/top_window.h"

#include "app/main_layout.h"
#include "app/window_geometry.h"
#include "common/pictures.h"
#include "framework/dpi.h"
#include "framework/handles.h"
#include "framework/picture.h"
#include "palettes/dlg_colors.h"

#include "support/build_paths.h"
#include "support/main_window_layout.h"
#include "support/picture.h"
#include "support/registry_value.h"
#include "support/test_window.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>

namespace {

constexpr DWORD kTimeoutMs = 15000;
const std::wstring kDesktop = L"Control Panel\\Desktop";
// The palette's swatches row by row, as its picture paints their slots.
constexpr int kSwatchIds[] = {IDC_SWATCH_R1C1, IDC_SWATCH_R1C2, IDC_SWATCH_R1C3, IDC_SWATCH_R1C4,
                              IDC_SWATCH_R1C5, IDC_SWATCH_R1C6, IDC_SWATCH_R2C1, IDC_SWATCH_R2C2,
                              IDC_SWATCH_R2C3, IDC_SWATCH_R2C4, IDC_SWATCH_R2C5, IDC_SWATCH_R2C6};

RECT ScreenRect(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

// The main window's own tests, for a run in a process at another DPI.
std::wstring AppTestsPath() {
    return WindowsPathOfBuildFile(LUMVEX_APP_TESTS_PATH);
}

// A file's bytes; empty when it cannot be read.
std::string ReadTextFile(const std::wstring& path) {
    fw::FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
    std::string text;
    if (!file)
        return text;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(file.get(), buffer, sizeof(buffer), &got, nullptr) && got > 0)
        text.append(buffer, got);
    return text;
}

class DpiSystemTest : public ProgramTest, public testing::WithParamInterface<UINT> {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        const DWORD dpi = GetParam();
        ASSERT_TRUE(WriteRegistryValue(kDesktop, L"LogPixels", REG_DWORD, &dpi, sizeof(dpi)));
    }

    SavedRegistryValue m_logPixels{HKEY_CURRENT_USER, kDesktop, L"LogPixels"};
};

TEST_P(DpiSystemTest, ColumnSurfacePaletteCaptureAndAboutBoxAtTheScale) {
    const UINT dpi = GetParam();
    // A pattern of this (96-DPI) process in physical pixels for the capture.
    const RECT redArea{700, 300, 900, 420};
    const RECT greenArea{900, 300, 1000, 420};
    TestHost red(redArea, RGB(220, 30, 40));
    TestHost green(greenArea, RGB(20, 200, 60));
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartAndShow(&window));
    auto item = [window](int id) { return ::GetDlgItem(window, id); };

    // The column as the layout computes it from the controls' sizes.
    const UINT pictureDpi = ColumnPictureDpi(window);
    ASSERT_NE(pictureDpi, 0u) << "the column's pictures differ in scale";
    const MainLayoutInput in = MeasureMainLayoutInput(window, dpi, pictureDpi);
    const SIZE screen{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    const MainLayout expected = ComputeMainLayout(in);
    EXPECT_TRUE(expected.columnFits) << "at " << dpi << " DPI";
    EXPECT_EQ(expected.column.right - expected.column.left, fw::Scale(200, dpi));
    ExpectControlsOnLayout(window, expected, ToRECT(expected.column), ToRECT(expected.status),
                           ToRECT(expected.surface), "at " + std::to_string(dpi) + " DPI");
    // The column's controls lie inside it.
    const RECT columnRect = RectIn(window, item(IDC_TOOL_COLUMN));
    for (int id : {IDC_LOGO, IDC_TOOLS_PICTURE, IDC_TOOL_POINTER, IDC_TOOL_HIGHLIGHT, IDC_TOOL_TEXT,
                   IDC_TOOL_ARROW, IDC_TOOL_CROP, IDC_TOOL_PEN, IDC_UNDO, IDC_REDO,
                   IDC_PALETTE_HOST, IDC_ZOOM_ACTUAL, IDC_ZOOM_FIT, IDC_SUBMIT_HOST}) {
        const RECT got = RectIn(window, item(id));
        RECT inside{};
        ::IntersectRect(&inside, &got, &columnRect);
        EXPECT_TRUE(::EqualRect(&inside, &got)) << "control " << id << " leaves the column";
    }

    // Nothing of ours but the surface anywhere over the drawing area (Wine's
    // own tray window in the corner is another program's).
    HWND surface = item(IDC_DRAWING_SURFACE);
    const RECT area = ScreenRect(surface);
    DWORD programId = m_program.Id();
    for (int i = 0; i < 12; ++i) {
        for (int j = 0; j < 12; ++j) {
            const POINT at{area.left + 2 + (area.right - area.left - 4) * i / 11,
                           area.top + 2 + (area.bottom - area.top - 4) * j / 11};
            HWND found = ::WindowFromPoint(at);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(found, &owner);
            if (owner == programId) {
                EXPECT_EQ(found, surface) << "control " << ::GetDlgCtrlID(found) << " at (" << at.x
                                          << ", " << at.y << ")";
            }
        }
    }

    // Each slot the palette's picture paints holds the swatch of its colour.
    HWND palette = ::GetWindow(item(IDC_PALETTE_HOST), GW_CHILD);
    ASSERT_NE(palette, nullptr);
    PumpMessages(200);
    const RECT box = CDlgColors::SlotRect(0, pictureDpi);
    const POINT boxCentre =
        ClientToScreenPoint(palette, (box.left + box.right) / 2, (box.top + box.bottom) / 2);
    auto boxShows = [&](COLORREF colour) { return ScreenPixel(boxCentre) == colour; };
    for (size_t i = 0; i < std::size(kSwatchIds); ++i) {
        const RECT slot = CDlgColors::SlotRect(i + 1, pictureDpi);
        const POINT centre = ClientToScreenPoint(palette, (slot.left + slot.right) / 2,
                                                 (slot.top + slot.bottom) / 2);
        const COLORREF colour = CDlgColors::SwatchColor(kSwatchIds[i]);
        EXPECT_EQ(::WindowFromPoint(centre), ::GetDlgItem(palette, kSwatchIds[i])) << "slot " << i;
        EXPECT_EQ(ScreenPixel(centre), colour) << "slot " << i;
        MouseClickAt(centre);
        EXPECT_TRUE(PumpUntil([&] { return boxShows(colour); }, kTimeoutMs))
            << "slot " << i << " did not pick its colour";
    }

    if (const std::wstring folder = PictureDirectory();
        !folder.empty() && (dpi == 96 || dpi == 144)) {
        const Picture shot = ScreenPicture(RECT{0, 0, screen.cx, screen.cy});
        EXPECT_TRUE(SavePng(shot, folder + L"\\main_window_" + std::to_wstring(dpi) + L"dpi.png"));
    }

    // The capture is the physical screen, the pattern where this process put it.
    ::OpenClipboard(nullptr);
    ::EmptyClipboard();
    ::CloseClipboard();
    ::PostMessageW(window, WM_COMMAND, ID_CTX_COPY, 0);
    ASSERT_TRUE(
        PumpUntil([] { return ::IsClipboardFormatAvailable(CF_BITMAP) != FALSE; }, kTimeoutMs));
    Picture copied;
    ASSERT_TRUE(::OpenClipboard(nullptr));
    if (HBITMAP bitmap = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP)))
        copied = ReadPixels(bitmap);
    ::CloseClipboard();
    EXPECT_EQ(copied.width, screen.cx);
    EXPECT_EQ(copied.height, screen.cy);
    EXPECT_EQ(copied.Count(RGB(220, 30, 40), 8, redArea),
              (redArea.right - redArea.left) * (redArea.bottom - redArea.top));
    EXPECT_EQ(copied.Count(RGB(20, 200, 60), 8, greenArea),
              (greenArea.right - greenArea.left) * (greenArea.bottom - greenArea.top));

    // The About picture runs down the whole left side, from the corner.
    ::PostMessageW(window, WM_COMMAND, ID_TRAY_ABOUT, 0);
    HWND about = WaitForShownTopWindow(m_program.Id(), L"#32770", L"About Lumvex", kTimeoutMs);
    ASSERT_NE(about, nullptr);
    RECT aboutClient{};
    ::GetClientRect(about, &aboutClient);
    const RECT picture = RectIn(about, ::GetDlgItem(about, IDC_ABOUT_PICTURE));
    EXPECT_EQ(picture.left, 0);
    EXPECT_EQ(picture.top, 0);
    EXPECT_EQ(picture.bottom, aboutClient.bottom) << Describe(picture);
    EXPECT_EQ(picture.right, fw::Scale(135, NearestPictureDpi(dpi)));
    ::PostMessageW(about, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowEnabled(window) != FALSE; }, kTimeoutMs));

    // The focused tool button shows it at this scale.
    const std::wstring folder = PictureDirectory();
    const bool pictures = !folder.empty() && (dpi == 96 || dpi == 144);
    const std::wstring scale = std::to_wstring(dpi) + L"dpi.png";
    HWND pointer = item(IDC_TOOL_POINTER);
    auto focus = [&](HWND dialog, HWND control) {
        ::SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    };
    auto shot = [](HWND control, int margin) {
        RECT rect = ScreenRect(control);
        ::InflateRect(&rect, margin, margin);
        return ScreenPicture(rect);
    };
    focus(window, item(IDC_TOOL_HIGHLIGHT));
    PumpMessages(300);
    const Picture unfocused = shot(pointer, 0);
    focus(window, pointer);
    EXPECT_TRUE(
        PumpUntil([&] { return DifferingPixels(shot(pointer, 0), unfocused) > 40; }, kTimeoutMs))
        << "no focus cue on the tool button at " << dpi << " DPI";
    if (pictures) {
        const Picture focused = shot(pointer, 10);
        EXPECT_TRUE(SavePng(focused, folder + L"\\tool_button_focused_" + scale));
    }

    // The edition link, followed with Enter, opens the own-server dialog at
    // this scale: its picture's size, the buttons at their pictures' size,
    // the field clear of them.
    HWND strip = ::GetWindow(item(IDC_STATUS_HOST), GW_CHILD);
    ASSERT_NE(strip, nullptr);
    focus(window, ::GetDlgItem(strip, IDC_EDITION));
    PumpMessages(200);
    PressKeys({VK_RETURN});
    HWND own = WaitForShownTopWindow(m_program.Id(), L"#32770", L"", kTimeoutMs);
    ASSERT_NE(own, nullptr) << "Enter on the edition link opened nothing";
    const UINT ownDpi = NearestPictureDpi(dpi);
    const SIZE background = fw::BitmapSize(LoadPicture(IDB_SETTINGS_EX_BACK, ownDpi).get());
    RECT ownClient{};
    ::GetClientRect(own, &ownClient);
    EXPECT_EQ(ownClient.right, background.cx) << "at " << dpi << " DPI";
    EXPECT_EQ(ownClient.bottom, background.cy) << "at " << dpi << " DPI";
    HWND cancel = ::GetDlgItem(own, IDC_SETTINGS_EX_CANCEL);
    const RECT field = RectIn(own, ::GetDlgItem(own, IDC_SERVER_HISTORY));
    // The combo's edit box (its list reaches further down, closed).
    const RECT fieldBox = RectIn(
        own, ::FindWindowExW(::GetDlgItem(own, IDC_SERVER_HISTORY), nullptr, L"Edit", nullptr));
    EXPECT_NEAR((fieldBox.top + fieldBox.bottom) / 2, fw::Scale(245, ownDpi), fw::Scale(2, ownDpi));
    EXPECT_EQ(field.left, fw::Scale(161, ownDpi));
    for (const int id : {IDC_MORE_INFO, IDC_SETTINGS_EX_CANCEL, IDC_SETTINGS_EX_SAVE}) {
        const RECT button = RectIn(own, ::GetDlgItem(own, id));
        EXPECT_EQ(button.right - button.left, fw::Scale(86, ownDpi)) << id;
        EXPECT_EQ(button.bottom - button.top, fw::Scale(25, ownDpi)) << id;
        // Clear of the field, which lies between More Info and the others.
        if (id == IDC_MORE_INFO)
            EXPECT_LT(button.bottom, fieldBox.top);
        else
            EXPECT_LT(fieldBox.bottom, button.top) << id;
    }
    // Tab from the field to Cancel, which shows the focus; Enter cancels.
    ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == own; }, kTimeoutMs));
    PumpMessages(300);
    PressKeys({VK_TAB});
    GUITHREADINFO gui{};
    gui.cbSize = sizeof(gui);
    EXPECT_TRUE(PumpUntil(
        [&] {
            ::GetGUIThreadInfo(::GetWindowThreadProcessId(own, nullptr), &gui);
            return gui.hwndFocus == cancel;
        },
        kTimeoutMs))
        << "Tab did not go from the field to Cancel";
    PumpMessages(300);
    if (pictures) {
        const Picture focused = shot(own, 0);
        EXPECT_TRUE(SavePng(focused, folder + L"\\own_server_cancel_focused_" + scale));
    }
    PressKeys({VK_RETURN});
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(own); }, kTimeoutMs));
    EXPECT_FALSE(ReadRegistryValue(kProfileRoot + L"\\Settings\\Servers", L"ServerURL_1"))
        << "Enter on Cancel saved a server";

    m_program.Terminate();

    // The main window on the work areas this scale allows, in a process
    // started at this scale: the main window's own test of them. No screen
    // of that test is large enough for 192 DPI.
    if (dpi > 144)
        return;
    const std::wstring report = TempFilePath(L"lumvex_work_areas.xml");
    ::DeleteFileW(report.c_str());
    ChildProcess areas = ChildProcess::Start(
        AppTestsPath(), L"--gtest_filter=MainWindow.EveryWorkAreaAtThisDpiKeepsEveryCommandInReach "
                        L"--gtest_output=xml:\"" +
                            report + L"\"");
    ASSERT_TRUE(areas.IsStarted());
    ASSERT_TRUE(areas.WaitForExit(120000));
    const std::string results = ReadTextFile(report);
    EXPECT_EQ(areas.ExitCode(), 0u) << results;
    EXPECT_NE(results.find("tests=\"1\""), std::string::npos)
        << "the test did not run: " << results;
    EXPECT_NE(results.find("failures=\"0\""), std::string::npos) << results;
    ::DeleteFileW(report.c_str());
}

INSTANTIATE_TEST_SUITE_P(LogPixels, DpiSystemTest, testing::Values(96u, 120u, 144u, 192u),
                         [](const auto& row) { return std::to_string(row.param); });

} // namespace
