// The real program from the notification area to the clipboard, driven only
// through mouse and keyboard input, as a person would use it.
#include "system/child_process.h"
#include "system/top_window.h"

#include "support/php_server.h"
#include "support/picture.h"
#include "support/registry_value.h"
#include "support/test_window.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <filesystem>
#include <functional>

namespace {

constexpr wchar_t kMainCaption[] = L"Tessaly Quillon ";
const std::wstring kRoot = L"Software\\Tessaly_Orbicam\\Lumvex";
constexpr DWORD kTimeoutMs = 15000;
// The first colour of the palette, the current one at start.
constexpr COLORREF kFirstColour = RGB(255, 0, 10);

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kTimeoutMs) {
    return PumpUntil(condition, timeoutMs);
}

// Without a notification area on the X display, Wine shows the icons in a
// small window of its own; a click there reaches the program exactly as a
// click in the taskbar's notification area does.
POINT OurTrayIcon() {
    HWND tray = ::FindWindowW(L"__winex11_standalone_tray", nullptr);
    if (!tray || !::IsWindowVisible(tray))
        return {-1, -1};
    // Ours is the only icon, in the first cell.
    return ClientToScreenPoint(tray, ::GetSystemMetrics(SM_CXSMICON) / 2 + 2,
                               ::GetSystemMetrics(SM_CYSMICON) / 2 + 2);
}

// The whole screen as a PNG file, for people to look at.
void SaveScreen(const std::wstring& path) {
    const ScreenShot shot(
        RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)});
    EXPECT_TRUE(SavePng(Picture{shot.Width(), shot.Height(), shot.Pixels()}, path));
}

// A shown pop-up menu of any process.
HWND VisibleMenu() {
    HWND found = nullptr;
    ::EnumWindows(
        [](HWND window, LPARAM data) {
            wchar_t name[16]{};
            ::GetClassNameW(window, name, 16);
            if (std::wstring(name) != L"#32768" || !::IsWindowVisible(window))
                return TRUE;
            *reinterpret_cast<HWND*>(data) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND Child(HWND window, int id) {
    return ::GetDlgItem(window, id);
}

// The text of another process's control (GetWindowText would give only its
// caption as created).
std::wstring ControlText(HWND control) {
    wchar_t text[256]{};
    DWORD_PTR length = 0;
    ::SendMessageTimeoutW(control, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                          2000, &length);
    return text;
}

class AnnotateSystemTest : public testing::Test {
protected:
    void SetUp() override {
        TerminateProgramsNamed({L"lumvex.exe"});
        ASSERT_TRUE(DeleteRegistryTree(kRoot));
    }
    void TearDown() override {
        m_program.Terminate();
        DeleteRegistryTree(kRoot);
        ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Tessaly_Orbicam");
    }

    // Starts the program and brings its window up with a click on its icon.
    void StartAndShow(HWND* window) {
        m_program = ChildProcess::Start(ProgramPath(), L"");
        ASSERT_TRUE(m_program.IsStarted());
        *window = WaitForTopWindow(m_program.Id(), L"#32770", kMainCaption, kTimeoutMs);
        ASSERT_NE(*window, nullptr);
        POINT icon{};
        ASSERT_TRUE(WaitUntil([&] { return (icon = OurTrayIcon()).x >= 0; }))
            << "no notification icon";
        MouseClickAt(icon);
        ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(*window) != FALSE; }))
            << "the tray click showed no window";
        ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == *window; }));
        // Wine reloads its key state from the X server once the X focus arrives.
        PumpMessages(500);
    }

    ChildProcess m_program;
};

// A drag with the mouse across a window, in its client coordinates.
void DragAcross(HWND window, POINT from, POINT to) {
    MouseMoveTo(ClientToScreenPoint(window, from.x, from.y));
    MouseButton(true);
    for (int step = 1; step <= 10; ++step)
        MouseMoveTo(ClientToScreenPoint(window, from.x + (to.x - from.x) * step / 10,
                                        from.y + (to.y - from.y) * step / 10));
    MouseButton(false);
}

TEST_F(AnnotateSystemTest, TrayClickArrowAndCopyPutTheArrowOnTheClipboard) {
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartAndShow(&window));

    // The Arrow tool, then an arrow dragged across the picture.
    MouseClickAt(ScreenCentre(Child(window, IDC_TOOL_ARROW)));
    const POINT from{400, 300};
    const POINT to{900, 550};
    DragAcross(Child(window, IDC_DRAWING_SURFACE), from, to);

    ::OpenClipboard(nullptr);
    ::EmptyClipboard();
    ::CloseClipboard();
    PressKeys({VK_CONTROL, 'C'});
    ASSERT_TRUE(WaitUntil([] { return ::IsClipboardFormatAvailable(CF_BITMAP) != FALSE; }))
        << "Ctrl+C put no picture on the clipboard";
    Picture copied;
    ASSERT_TRUE(::OpenClipboard(nullptr));
    if (HBITMAP bitmap = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP)))
        copied = ReadPixels(bitmap);
    ::CloseClipboard();

    // The whole screen (nothing was cropped), with the arrow's colour along
    // its shaft; at actual size, surface and picture pixels coincide.
    EXPECT_EQ(copied.width, ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(copied.height, ::GetSystemMetrics(SM_CYSCREEN));
    int onLine = 0;
    for (int i = 1; i <= 8; ++i) {
        const double t = i / 10.0;
        const int x = static_cast<int>(std::lround(from.x + (to.x - from.x) * t));
        const int y = static_cast<int>(std::lround(from.y + (to.y - from.y) * t));
        if (ColorsClose(copied.At(x, y), kFirstColour, 40))
            ++onLine;
    }
    EXPECT_EQ(onLine, 8) << "the arrow's shaft is missing from the copied picture";
    // And not elsewhere: well beside the line the capture shows through.
    const int beside =
        copied.Count(kFirstColour, 40, RECT{from.x, from.y + 120, from.x + 60, from.y + 180});
    EXPECT_EQ(beside, 0);

    if (const std::wstring folder = PictureDirectory(); !folder.empty()) {
        SaveScreen(folder + L"\\main_window_actual_size.png");
        MouseClickAt(ScreenCentre(Child(window, IDC_ZOOM_FIT)));
        PumpMessages(500);
        SaveScreen(folder + L"\\main_window_fitted.png");
    }

    // The close box only hides the window; the icon is then in reach again
    // (nothing keeps a part of this screen free for it).
    RECT frame{};
    ::GetWindowRect(window, &frame);
    const int border = ::GetSystemMetrics(SM_CXFIXEDFRAME);
    const POINT closeBox{frame.right - border - ::GetSystemMetrics(SM_CXSIZE) / 2,
                         frame.top + border + ::GetSystemMetrics(SM_CYCAPTION) / 2};
    ASSERT_EQ(::SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(closeBox.x, closeBox.y)), HTCLOSE);
    MouseClickAt(closeBox);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(window); }));
    EXPECT_TRUE(m_program.IsRunning());

    // The tray menu's last entry, "Exit", ends the program, which saves its
    // settings on the way out.
    MouseMoveTo(OurTrayIcon());
    INPUT right[2]{};
    right[0].type = right[1].type = INPUT_MOUSE;
    right[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    right[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    ::SendInput(2, right, sizeof(INPUT));
    ASSERT_TRUE(WaitUntil([] { return VisibleMenu() != nullptr; })) << "the tray menu did not open";
    PressKeys({VK_UP});
    PressKeys({VK_RETURN});
    ASSERT_TRUE(m_program.WaitForExit(kTimeoutMs)) << "Exit did not end the program";
    EXPECT_EQ(m_program.ExitCode(), 0u);
    EXPECT_TRUE(ReadRegistryValue(kRoot + L"\\Settings\\Common", L"securitykey"));
}

// Capture, draw, type a work-order number, Submit: the reference server then
// holds the picture under that work order, and the window has gone.
TEST_F(AnnotateSystemTest, APictureSubmittedToAnExistingWorkOrderLandsOnTheServer) {
    PhpServer server(PeerRouterScript());
    ASSERT_TRUE(server.IsRunning()) << server.Failure();
    std::filesystem::create_directory(server.DataFolder() + L"\\4711");
    ASSERT_TRUE(
        WriteRegistryString(kRoot + L"\\Settings\\Servers", L"ServerURL_1", server.HostAndPort()));
    ASSERT_TRUE(WriteRegistryDword(kRoot + L"\\Settings\\Common", L"ServerIndex", 1));

    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartAndShow(&window));

    // A pen stroke across the picture.
    MouseClickAt(ScreenCentre(Child(window, IDC_TOOL_PEN)));
    const POINT from{300, 250};
    const POINT to{800, 500};
    DragAcross(Child(window, IDC_DRAWING_SURFACE), from, to);

    // The number typed into the submit panel, then Submit.
    HWND panel = ::GetWindow(Child(window, IDC_SUBMIT_HOST), GW_CHILD);
    ASSERT_NE(panel, nullptr) << "no submit panel";
    HWND number = Child(panel, IDC_WORKORDER);
    MouseClickAt(ScreenCentre(number));
    TypeText(L"4711");
    ASSERT_TRUE(WaitUntil([&] { return ControlText(number) == L"4711"; }, 5000));
    if (const std::wstring folder = PictureDirectory(); !folder.empty())
        SaveScreen(folder + L"\\main_window_submit_panel.png");
    MouseClickAt(ScreenCentre(Child(panel, IDC_SUBMIT)));
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(window); }))
        << "the upload did not succeed";

    const RecordedRequest sent = ReadRecordedRequest(server.DataFolder(), 1);
    EXPECT_EQ(sent.Value("field.workorder_id"), "4711");
    const Picture stored = ReadImageFile(server.DataFolder() + L"\\4711\\0001.jpg");
    EXPECT_EQ(stored.width, ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(stored.height, ::GetSystemMetrics(SM_CYSCREEN));
    // The stroke is in it (the first palette colour, blurred a little).
    int onLine = 0;
    for (int i = 1; i <= 8; ++i) {
        const double t = i / 10.0;
        const COLORREF c = stored.empty()
                               ? 0
                               : stored.At(static_cast<int>(from.x + (to.x - from.x) * t),
                                           static_cast<int>(from.y + (to.y - from.y) * t));
        if (GetRValue(c) > 150 && GetGValue(c) < 110 && GetBValue(c) < 110)
            ++onLine;
    }
    EXPECT_GE(onLine, 6) << "the pen stroke is missing from the stored picture";

    ::PostMessageW(window, WM_EXIT_APP, 0, 0);
    ASSERT_TRUE(m_program.WaitForExit(kTimeoutMs));
    EXPECT_EQ(m_program.ExitCode(), 0u);
}

} // namespace
