#include "bench/soak_bench.h"

#include "bench/bench_clock.h"
#include "app/lumvex_dlg.h"
#include "canvas/canvas_panel.h"
#include "framework/profile.h"
#include "framework/text.h"
#include "upload/app_settings.h"

#include "resource.h"

#include "support/gdi_objects.h"
#include "support/lumvex_dlg_test_driver.h"
#include "support/message_pump.h"
#include "support/php_server.h"
#include "support/scratch_registry.h"
#include "support/test_window.h"
#include "support/user_objects.h"

#include <windows.h>
#include <dlgs.h>
#include <psapi.h>

#include <filesystem>
#include <string>
#include <thread>

namespace {

constexpr int kCycles = 100;
// The first figures: by then every cache the work fills (Wine's theme
// parts, fonts and brushes, GDI+'s, the save dialog's) is full, and what
// still grows is the program's. Wine's cache of window DCs grows only while
// more DCs are in use at once than it holds (it keeps up to 64 for the
// process), three objects a DC; it is filled before the first cycle, and ten
// cycles of the whole work have met every peak of DCs at once the work has.
constexpr int kFirstReport = 10;
constexpr int kItemsPerTool = 10;
constexpr DWORD kAnswerTimeoutMs = 10000;
constexpr DWORD kWindowTimeoutMs = 10000;
// Far beyond what an upload of one picture to this machine takes.
constexpr DWORD kUploadTimeoutMs = 30000;
constexpr wchar_t kErrorCaption[] = L"Error";

std::size_t WorkingSetKb() {
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &memory, sizeof(memory)))
        return 0;
    return memory.WorkingSetSize / 1024;
}

std::wstring TextOf(HWND window) {
    wchar_t text[512]{};
    ::GetWindowTextW(window, text, 512);
    return text;
}

// The message box a failed step shows, if one is open.
HWND FindErrorBox(HWND owner) {
    HWND box = FindOwnedWindow(owner);
    return box && TextOf(box) == kErrorCaption ? box : nullptr;
}

// Drives the main window from a second thread through its real messages, as
// a person would use it: each step answers false, with the reason in
// Failure(), when the window did not do what was asked.
class SoakDriver {
public:
    SoakDriver(CLumvexDlg& dialog, HWND window, std::wstring file, std::FILE* out)
        : m_driver(dialog), m_window(window), m_file(std::move(file)), m_out(out) {}

    bool Cycle(int cycle) {
        m_cycle = cycle;
        return Capture() && DrawItems() && Zoom() && Copy() && Save() && Upload();
    }
    // The GDI and USER objects and the working set, once what the last
    // cycle set going has been handled.
    void Report() {
        ::Sleep(200);
        Send(m_window, WM_NULL);
        const int gdi = GdiObjectCount();
        const int user = UserObjectCount();
        const std::size_t workingSet = WorkingSetKb();
        std::fprintf(m_out, "soak-gdi-objects cycle=%d value=%d\n", m_cycle, gdi);
        std::fprintf(m_out, "soak-user-objects cycle=%d value=%d\n", m_cycle, user);
        std::fprintf(m_out, "soak-working-set cycle=%d value=%zu\n", m_cycle, workingSet);
        std::fflush(m_out);
    }
    const std::string& Failure() const noexcept { return m_failure; }

private:
    bool Fail(const std::string& why) {
        m_failure = "cycle " + std::to_string(m_cycle) + ": " + why;
        return false;
    }

    bool Send(HWND target, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        DWORD_PTR result = 0;
        if (::SendMessageTimeoutW(target, message, wParam, lParam, SMTO_NORMAL, kAnswerTimeoutMs,
                                  &result))
            return true;
        return Fail("message " + std::to_string(message) + " was not answered");
    }
    bool Command(int id) { return Send(m_window, WM_COMMAND, static_cast<WPARAM>(id)); }

    // A committed drag with the current tool, in surface coordinates; the
    // pointer waits where the drag ends, so that a mouse move Wine reports
    // for it cannot take the item elsewhere.
    bool Drag(POINT from, POINT to) {
        HWND surface = ::GetDlgItem(m_window, IDC_DRAWING_SURFACE);
        POINT end = to;
        ::ClientToScreen(surface, &end);
        ::SetCursorPos(end.x, end.y);
        return Send(surface, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y)) &&
               Send(surface, WM_MOUSEMOVE, MK_LBUTTON,
                    MAKELPARAM((from.x + to.x) / 2, (from.y + to.y) / 2)) &&
               Send(surface, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y)) &&
               Send(surface, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    }

    // A click on the tray icon of the hidden window: a new capture, shown.
    bool Capture() {
        if (!Send(m_window, WM_TRAY_NOTIFY, 0, WM_LBUTTONDOWN))
            return false;
        if (!PumpUntil([&] { return ::IsWindowVisible(m_window) != FALSE; }, kWindowTimeoutMs))
            return Fail("the capture did not show the window");
        return true;
    }

    bool DrawItems() {
        const std::size_t before = m_driver.Canvas().GetItems().size();
        bool drawn = Command(IDC_TOOL_PEN);
        for (int i = 0; drawn && i < kItemsPerTool; ++i)
            drawn = Drag({40 + i * 20, 40}, {300 + i * 20, 200});
        drawn = drawn && Command(IDC_TOOL_HIGHLIGHT);
        for (int i = 0; drawn && i < kItemsPerTool; ++i)
            drawn = Drag({40 + i * 30, 250}, {200 + i * 30, 300});
        drawn = drawn && Command(IDC_TOOL_ARROW);
        for (int i = 0; drawn && i < kItemsPerTool; ++i)
            drawn = Drag({400, 40 + i * 30}, {700, 80 + i * 30});
        drawn = drawn && Command(IDC_TOOL_TEXT);
        for (int i = 0; drawn && i < kItemsPerTool; ++i)
            drawn = TextBox(i);
        // The pointer moves each arrow a little, taking it at its middle.
        drawn = drawn && Command(IDC_TOOL_POINTER);
        for (int i = 0; drawn && i < kItemsPerTool; ++i)
            drawn = Drag({550, 60 + i * 30}, {560, 66 + i * 30});
        drawn = drawn && Command(IDC_TOOL_CROP);
        for (int i = 0; drawn && i < kItemsPerTool; ++i)
            drawn = Drag({20 + i * 5, 20 + i * 5}, {1000 - i * 5, 750 - i * 5});
        if (!drawn || !Send(m_window, WM_NULL))
            return false;
        const std::size_t items = m_driver.Canvas().GetItems().size() - before;
        if (items < 4 * kItemsPerTool)
            return Fail("only " + std::to_string(items) + " items were made");
        return true;
    }

    // A box dragged out with the text tool, and a line typed into its popup
    // once it shows.
    bool TextBox(int i) {
        const int left = 60 + (i % 5) * 160;
        const int top = 350 + (i / 5) * 60;
        if (!Drag({left, top}, {left + 140, top + 40}))
            return false;
        HWND surface = ::GetDlgItem(m_window, IDC_DRAWING_SURFACE);
        HWND edit = nullptr;
        PumpUntil(
            [&] {
                for (HWND popup = ::FindWindowExW(surface, nullptr, L"#32770", nullptr); popup;
                     popup = ::FindWindowExW(surface, popup, L"#32770", nullptr)) {
                    HWND candidate = ::GetDlgItem(popup, IDC_TEXT_EDIT);
                    if (::IsWindowVisible(popup) && ::GetWindowTextLengthW(candidate) == 0) {
                        edit = candidate;
                        return true;
                    }
                }
                return false;
            },
            kWindowTimeoutMs);
        if (!edit)
            return Fail("the text box " + std::to_string(i) + " showed no popup");
        SendKeys(edit, L"Soak " + std::to_wstring(m_cycle) + L"." + std::to_wstring(i));
        return Send(m_window, WM_NULL);
    }

    bool Zoom() { return Command(IDC_ZOOM_FIT) && Command(IDC_ZOOM_ACTUAL); }

    bool Copy() {
        if (!Command(ID_CTX_COPY))
            return false;
        if (!::IsClipboardFormatAvailable(CF_BITMAP))
            return Fail("the copy put no picture on the clipboard");
        return true;
    }

    // Through the save dialog, as Ctrl+S opens it, with the file's name
    // typed into its name box. Wine's dialog keeps an accelerator table (a
    // USER object) of every opening: under Wine the USER count grows by one
    // a cycle from that alone.
    bool Save() {
        ::DeleteFileW(m_file.c_str());
        ::PostMessageW(m_window, WM_SAVE_SCREENSHOT, 0, 0);
        HWND dialog = nullptr;
        PumpUntil([&] { return (dialog = FindOwnedWindow(m_window)) != nullptr; },
                  kWindowTimeoutMs);
        if (!dialog)
            return Fail("no save dialog");
        // A combo box on newer dialogs, an edit on older.
        HWND name = ::GetDlgItem(dialog, cmb13);
        if (!name)
            name = ::GetDlgItem(dialog, edt1);
        if (!name)
            return Fail("the save dialog has no name box");
        if (!Send(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(m_file.c_str())))
            return false;
        ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        if (!PumpUntil([&] { return !::IsWindow(dialog); }, kWindowTimeoutMs))
            return Fail("the save dialog stayed open");
        if (!Send(m_window, WM_NULL))
            return false;
        if (HWND box = FindErrorBox(m_window))
            return Fail("saving failed: " + fw::ToUtf8(TextOf(::GetDlgItem(box, 0xFFFF))));
        std::error_code error;
        if (std::filesystem::file_size(m_file, error) == 0)
            return Fail("nothing was saved");
        return true;
    }

    // The submit panel's request; a successful upload hides the window.
    bool Upload() {
        ::PostMessageW(m_window, WM_SUBMIT_SCREENSHOT, 0, 0);
        HWND box = nullptr;
        PumpUntil(
            [&] {
                box = FindErrorBox(m_window);
                return box || !::IsWindowVisible(m_window);
            },
            kUploadTimeoutMs);
        if (box) {
            const std::wstring text = TextOf(::GetDlgItem(box, 0xFFFF));
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            return Fail("the upload failed: " + fw::ToUtf8(text));
        }
        if (::IsWindowVisible(m_window))
            return Fail("the upload did not end");
        return Send(m_window, WM_NULL);
    }

    CLumvexDlgTestDriver m_driver;
    HWND m_window;
    std::wstring m_file;
    std::FILE* m_out;
    int m_cycle = 0;
    std::string m_failure;
};

HWND WaitForMainWindow() {
    HWND window = nullptr;
    PumpUntil([&] { return (window = ::FindWindowW(L"#32770", CLumvexDlg::kCaption)) != nullptr; },
              kWindowTimeoutMs);
    // The window is found while it is still initialising: it is ready once
    // its last panel is and its loop answers.
    PumpUntil(
        [&] { return ::GetWindow(::GetDlgItem(window, IDC_PALETTE_HOST), GW_CHILD) != nullptr; },
        kWindowTimeoutMs);
    DWORD_PTR result = 0;
    if (!window ||
        !::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerTimeoutMs, &result))
        return nullptr;
    return window;
}

// Ends the window whatever it is doing; when even that is not answered, its
// loop.
void EndWindow(HWND window, DWORD loopThread) {
    ::PostMessageW(window, WM_EXIT_APP, 0, 0);
    if (!PumpUntil([&] { return !::IsWindow(window); }, kWindowTimeoutMs))
        ::PostThreadMessageW(loopThread, WM_QUIT, 0, 0);
}

} // namespace

void RunSoakBench(std::FILE* out) {
    PhpServer server(ReferenceServerScript());
    if (!server.IsRunning()) {
        std::fprintf(out, "soak failed: the reference server did not start (%s)\n",
                     server.Failure().c_str());
        return;
    }
    ScratchRegistry scratch;
    fw::Profile profile{L"Software\\LumvexBench\\Soak"};
    CAppSettings settings;
    settings.servers = {{server.HostAndPort(), true}};
    settings.serverIndex = 0;
    settings.securityKey = CAppSettings::kDefaultSecurityKey;
    CLumvexDlg dialog(settings, profile);
    const std::wstring file = TempFilePath(L"lumvex_soak.jpg");

    const DWORD loopThread = ::GetCurrentThreadId();
    double elapsed = 0;
    std::thread driver([&] {
        HWND window = WaitForMainWindow();
        if (!window) {
            std::fprintf(out, "soak failed: the main window never appeared\n");
            ::PostThreadMessageW(loopThread, WM_QUIT, 0, 0);
            return;
        }
        SoakDriver soak(dialog, window, file, out);
        FillWindowDcCache();
        const double started = NowMs();
        for (int cycle = 1; cycle <= kCycles; ++cycle) {
            if (!soak.Cycle(cycle)) {
                std::fprintf(out, "soak failed at %s\n", soak.Failure().c_str());
                EndWindow(window, loopThread);
                return;
            }
            if (cycle == kFirstReport || cycle == kCycles)
                soak.Report();
        }
        elapsed = NowMs() - started;
        ::PostMessageW(window, WM_COMMAND, ID_TRAY_EXIT, 0);
    });
    dialog.DoModal(nullptr);
    driver.join();
    // DoModal passes the quit message on for outer loops; there is none.
    TakeQuitMessage();
    ::DeleteFileW(file.c_str());
    if (elapsed > 0)
        std::fprintf(out, "soak-time value=%.0f\n", elapsed);
}
