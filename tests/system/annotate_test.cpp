// The real program from the notification area to the clipboard, driven only
// through mouse and keyboard input, as a person would use it.
#include "system/program_test.h"
#include "system/top_window.h"
#include "system/tray_menu.h"

#include "support/picture.h"
#include "support/registry_value.h"
#include "support/test_window.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <functional>

namespace {

constexpr wchar_t kMainCaption[] = L"Tessaly Quillon ";
constexpr DWORD kTimeoutMs = 15000;
// The first colour of the palette, the current one at start.
constexpr COLORREF kFirstColour = RGB(255, 0, 10);

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kTimeoutMs) {
    return PumpUntil(condition, timeoutMs);
}

// The whole screen as a PNG file, for people to look at.
void SaveScreen(const std::wstring& path) {
    const ScreenShot shot(
        RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)});
    EXPECT_TRUE(SavePng(Picture{shot.Width(), shot.Height(), shot.Pixels()}, path));
}

HWND Child(HWND window, int id) {
    return ::GetDlgItem(window, id);
}

class AnnotateSystemTest : public ProgramTest {};

TEST_F(AnnotateSystemTest, TrayClickArrowAndCopyPutTheArrowOnTheClipboard) {
    m_program = ChildProcess::Start(ProgramPath(), L"");
    ASSERT_TRUE(m_program.IsStarted());
    HWND window = WaitForTopWindow(m_program.Id(), L"#32770", kMainCaption, kTimeoutMs);
    ASSERT_NE(window, nullptr);

    POINT icon{};
    ASSERT_TRUE(WaitUntil([&] { return (icon = OurTrayIcon()).x >= 0; })) << "no notification icon";
    MouseClickAt(icon);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) != FALSE; }))
        << "the tray click showed no window";
    ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == window; }));
    // Wine reloads its key state from the X server once the X focus arrives.
    PumpMessages(500);

    // The Arrow tool, then an arrow dragged across the picture.
    MouseClickAt(ScreenCentre(Child(window, IDC_TOOL_ARROW)));
    HWND surface = Child(window, IDC_DRAWING_SURFACE);
    const POINT from{400, 300};
    const POINT to{900, 550};
    MouseMoveTo(ClientToScreenPoint(surface, from.x, from.y));
    MouseButton(true);
    for (int step = 1; step <= 10; ++step) {
        MouseMoveTo(ClientToScreenPoint(surface, from.x + (to.x - from.x) * step / 10,
                                        from.y + (to.y - from.y) * step / 10));
    }
    MouseButton(false);

    ::OpenClipboard(nullptr);
    ::EmptyClipboard();
    ::CloseClipboard();
    {
        HeldKey control(VK_CONTROL);
        PressKeys({'C'});
        ASSERT_TRUE(WaitUntil([] { return ::IsClipboardFormatAvailable(CF_BITMAP) != FALSE; }))
            << "Ctrl+C put no picture on the clipboard";
    }
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
    ASSERT_TRUE(ChooseFromTrayMenu(0, kTimeoutMs)) << "the tray menu did not open";
    ASSERT_TRUE(m_program.WaitForExit(kTimeoutMs)) << "Exit did not end the program";
    EXPECT_EQ(m_program.ExitCode(), 0u);
    EXPECT_TRUE(ReadRegistryValue(kProfileRoot + L"\\Settings\\Common", L"securitykey"));
}

} // namespace
