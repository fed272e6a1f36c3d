// The real program from the notification area to the clipboard and the mail
// program, driven only through mouse and keyboard input, as a person would
// use it.
#include "system/program_test.h"
#include "system/top_window.h"
#include "system/tray_menu.h"

#include "framework/file.h"
#include "framework/text.h"

#include "support/php_server.h"
#include "support/picture.h"
#include "support/recorded_mail.h"
#include "support/registry_value.h"
#include "support/test_window.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <filesystem>
#include <functional>

namespace {

constexpr DWORD kTimeoutMs = 15000;
// The first colour of the palette, the current one at start.
constexpr COLORREF kFirstColour = RGB(255, 0, 10);

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kTimeoutMs) {
    return PumpUntil(condition, timeoutMs);
}

// The whole screen as a PNG file, for people to look at.
void SaveScreen(const std::wstring& path) {
    const Picture shot =
        ScreenPicture(RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)});
    EXPECT_TRUE(SavePng(shot, path));
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

const std::wstring kMailClients = L"SOFTWARE\\Clients\\Mail";

class AnnotateSystemTest : public ProgramTest {
protected:
    void TearDown() override {
        ProgramTest::TearDown();
        DeleteRegistryTree(kMailClients + L"\\Microsoft Outlook", HKEY_LOCAL_MACHINE);
    }

    // Outlook as the user's and the machine's mail program, with the test
    // MAPI library behind the system's MAPI32.DLL; the prefix's own choice
    // comes back afterwards.
    SavedRegistryValue m_userMail{HKEY_CURRENT_USER, kMailClients, L""};
    SavedRegistryValue m_machineMail{HKEY_LOCAL_MACHINE, kMailClients, L""};
    MailRecorder m_recorder;
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

// The text popup being typed into on the drawing surface (else the first
// one), or null.
HWND TextPopup(HWND window) {
    HWND surface = Child(window, IDC_DRAWING_SURFACE);
    HWND first = ::FindWindowExW(surface, nullptr, L"#32770", nullptr);
    for (HWND popup = first; popup; popup = ::FindWindowExW(surface, popup, L"#32770", nullptr)) {
        if (::IsWindowVisible(popup))
            return popup;
    }
    return first;
}

// A text box dragged out with the Text tool and typed into with the keys
// of a person; Ctrl+Z in the popup is the edit's, not the picture's undo,
// and Escape ends typing with the text kept.
void TypeTextBox(HWND window, const RECT& box, const std::wstring& text) {
    MouseClickAt(ScreenCentre(Child(window, IDC_TOOL_TEXT)));
    DragAcross(Child(window, IDC_DRAWING_SURFACE), POINT{box.left, box.top},
               POINT{box.right, box.bottom});
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(TextPopup(window)) != FALSE; }));
    HWND popup = TextPopup(window);
    HWND edit = Child(popup, IDC_TEXT_EDIT);
    PressKeys({VK_CONTROL, 'Z'});
    TypeText(text);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(edit) == text; }, 5000));
    if (const std::wstring folder = PictureDirectory(); !folder.empty())
        SaveScreen(folder + L"\\main_window_typing_text.png");
    PressKeys({VK_ESCAPE});
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(popup); }, 5000))
        << "Escape did not end typing";
    EXPECT_EQ(ControlText(edit), text);
}

// The box in the copied picture: white, with text of the colour in it.
void ExpectTextBox(const Picture& copied, const RECT& box, COLORREF colour) {
    EXPECT_TRUE(ColorsClose(copied.At(box.right - 6, box.bottom - 6), RGB(255, 255, 255), 24));
    EXPECT_GT(copied.Count(colour, 60, box), 30) << "no text in the box";
}

// How many of eight points along a line show a colour like the pen's
// (the first palette colour, blurred a little by JPEG).
// The red of a fresh program's pen, and the blue picked from the palette
// (JPEG blurs them a little).
bool IsPenRed(COLORREF c) {
    return GetRValue(c) > 150 && GetGValue(c) < 110 && GetBValue(c) < 110;
}
bool IsPenBlue(COLORREF c) {
    return GetBValue(c) > 150 && GetRValue(c) < 110 && GetGValue(c) < 110;
}

// How many of eight points along a pen stroke carry its colour.
int PenPointsOn(const Picture& picture, POINT from, POINT to, bool (*isInk)(COLORREF) = IsPenRed) {
    int count = 0;
    for (int i = 1; i <= 8; ++i) {
        const double t = i / 10.0;
        const COLORREF c = picture.empty()
                               ? 0
                               : picture.At(static_cast<int>(from.x + (to.x - from.x) * t),
                                            static_cast<int>(from.y + (to.y - from.y) * t));
        if (isInk(c))
            ++count;
    }
    return count;
}

TEST_F(AnnotateSystemTest, TrayClickArrowCopyAndEmailTakeTheArrowAlong) {
    ASSERT_TRUE(SetDefaultMailClient(HKEY_CURRENT_USER, L"Microsoft Outlook"));
    ASSERT_TRUE(SetDefaultMailClient(HKEY_LOCAL_MACHINE, L"Microsoft Outlook"));
    ASSERT_TRUE(SetMailClientLibrary(L"Microsoft Outlook", TestMapiLibrary()));
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartAndShow(&window));

    // A text box, typed and ended with Escape.
    const RECT textBox{80, 90, 330, 170};
    ASSERT_NO_FATAL_FAILURE(TypeTextBox(window, textBox, L"Ship it today"));

    // The Arrow tool, then an arrow dragged across the picture; the Pointer
    // tool then takes it by its middle and moves it down and to the left.
    MouseClickAt(ScreenCentre(Child(window, IDC_TOOL_ARROW)));
    const POINT drawnFrom{400, 300};
    const POINT drawnTo{900, 550};
    DragAcross(Child(window, IDC_DRAWING_SURFACE), drawnFrom, drawnTo);
    MouseClickAt(ScreenCentre(Child(window, IDC_TOOL_POINTER)));
    const POINT by{-100, 150};
    const POINT middle{(drawnFrom.x + drawnTo.x) / 2, (drawnFrom.y + drawnTo.y) / 2};
    DragAcross(Child(window, IDC_DRAWING_SURFACE), middle, POINT{middle.x + by.x, middle.y + by.y});
    const POINT from{drawnFrom.x + by.x, drawnFrom.y + by.y};
    const POINT to{drawnTo.x + by.x, drawnTo.y + by.y};

    ::OpenClipboard(nullptr);
    ::EmptyClipboard();
    ::CloseClipboard();
    ASSERT_TRUE(PressKeysUntil({VK_CONTROL, 'C'}, [] {
        return ::IsClipboardFormatAvailable(CF_BITMAP) != FALSE;
    })) << "Ctrl+C put no picture on the clipboard";
    Picture copied;
    ASSERT_TRUE(::OpenClipboard(nullptr));
    if (HBITMAP bitmap = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP)))
        copied = ReadPixels(bitmap);
    ::CloseClipboard();

    // The whole screen (nothing was cropped), with the arrow's colour along
    // its shaft; at actual size, surface and picture pixels coincide.
    EXPECT_EQ(copied.width, ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(copied.height, ::GetSystemMetrics(SM_CYSCREEN));
    auto onLine = [&](POINT a, POINT b) {
        int count = 0;
        for (int i = 1; i <= 8; ++i) {
            const double t = i / 10.0;
            const int x = static_cast<int>(std::lround(a.x + (b.x - a.x) * t));
            const int y = static_cast<int>(std::lround(a.y + (b.y - a.y) * t));
            if (ColorsClose(copied.At(x, y), kFirstColour, 40))
                ++count;
        }
        return count;
    };
    EXPECT_EQ(onLine(from, to), 8) << "the arrow's shaft is missing where it was moved to";
    ExpectTextBox(copied, textBox, kFirstColour);
    // And not elsewhere: where it was drawn the capture shows through.
    EXPECT_EQ(onLine(drawnFrom, drawnTo), 0) << "the arrow is still where it was drawn";

    // Ctrl+E: the mail program gets the page beside the program, filled in,
    // and the same picture.
    ASSERT_TRUE(PressKeysUntil({VK_CONTROL, 'E'}, [&] { return !m_recorder.Messages().empty(); }))
        << "Ctrl+E sent nothing";
    const RecordedMail mail = m_recorder.Messages()[0];
    ASSERT_EQ(mail.Number("files"), 2u);
    const std::wstring page = fw::FromAnsi(mail.Text("file0.path").value_or(""));
    const std::wstring picture = fw::FromAnsi(mail.Text("file1.path").value_or(""));
    std::wstring url = L"file:///" + picture;
    for (wchar_t& c : url)
        c = c == L'\\' ? L'/' : c;
    const std::string pageText = fw::ReadFileBytes(page).value_or("");
    EXPECT_NE(pageText.find("<img src=\"" + fw::ToAnsi(url) + "\""), std::string::npos) << pageText;
    EXPECT_EQ(pageText.find("$$$"), std::string::npos) << "a placeholder left";
    EXPECT_LT(MeanDifference(ReadImageFile(picture), copied), 4.0);

    if (const std::wstring folder = PictureDirectory(); !folder.empty()) {
        SaveScreen(folder + L"\\main_window_actual_size.png");
        MouseClickAt(ScreenCentre(Child(window, IDC_ZOOM_FIT)));
        PumpMessages(500);
        SaveScreen(folder + L"\\main_window_fitted.png");
        // The e-mail page as sent; it shows the picture from the temporary
        // folder by its full path, so the picture goes beside it by name.
        ::CopyFileW(page.c_str(), (folder + L"\\email_page.htm").c_str(), FALSE);
        ::CopyFileW(picture.c_str(), (folder + picture.substr(picture.find_last_of(L'\\'))).c_str(),
                    FALSE);
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
    for (const std::wstring& file : {page, picture})
        EXPECT_EQ(::GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES)
            << "left behind: " << file.c_str();
}

// The control with the keyboard focus in another process's window.
HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// Presses a key, as a person would, until the focus is on target.
bool PressUntilFocused(HWND window, WORD key, HWND target, int mostPresses = 40) {
    for (int i = 0; i < mostPresses && FocusOf(window) != target; ++i) {
        const HWND before = FocusOf(window);
        PressKeys({key});
        WaitUntil([&] { return FocusOf(window) != before; }, 2000);
    }
    return FocusOf(window) == target;
}

// Capture, then the keyboard alone but for the drawing: Tab to the Pen and
// Space, Tab to the palette and the arrows to blue and Space, a stroke with
// the mouse, Tab to the submit panel, "Add to existing TQ" with the arrow
// key, Tab to the number and type it, Tab to Submit and Enter. The reference
// server then holds the blue stroke under that work order, and the window
// has gone.
TEST_F(AnnotateSystemTest, APictureSubmittedWithTheKeyboardLandsOnTheServer) {
    PhpServer server(PeerRouterScript());
    ASSERT_TRUE(server.IsRunning()) << server.Failure();
    std::filesystem::create_directory(server.DataFolder() + L"\\4711");
    ASSERT_TRUE(WriteRegistryString(kProfileRoot + L"\\Settings\\Servers", L"ServerURL_1",
                                    server.HostAndPort()));
    ASSERT_TRUE(WriteRegistryDword(kProfileRoot + L"\\Settings\\Common", L"ServerIndex", 1));

    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartAndShow(&window));
    HWND palette = ::GetWindow(Child(window, IDC_PALETTE_HOST), GW_CHILD);
    HWND panel = ::GetWindow(Child(window, IDC_SUBMIT_HOST), GW_CHILD);
    ASSERT_TRUE(palette && panel);

    ASSERT_TRUE(PressUntilFocused(window, VK_TAB, Child(window, IDC_TOOL_PEN)))
        << "Tab never reached the Pen";
    PressKeys({VK_SPACE});
    ASSERT_TRUE(PressUntilFocused(window, VK_TAB, Child(palette, IDC_SWATCH_R1C1)))
        << "Tab never reached the palette";
    ASSERT_TRUE(PressUntilFocused(window, VK_DOWN, Child(palette, IDC_SWATCH_R2C1)));
    ASSERT_TRUE(PressUntilFocused(window, VK_RIGHT, Child(palette, IDC_SWATCH_R2C4)));
    PressKeys({VK_SPACE});
    if (const std::wstring folder = PictureDirectory(); !folder.empty())
        SaveScreen(folder + L"\\main_window_keyboard_swatch.png");

    const POINT from{300, 250};
    const POINT to{800, 500};
    DragAcross(Child(window, IDC_DRAWING_SURFACE), from, to);

    HWND create = Child(Child(panel, IDC_SUBMIT_BACKGROUND), IDC_CREATE_TQ);
    ASSERT_TRUE(PressUntilFocused(window, VK_TAB, create)) << "Tab never reached the panel";
    HWND addTo = Child(Child(panel, IDC_SUBMIT_BACKGROUND), IDC_ADD_TO_TQ);
    ASSERT_TRUE(PressUntilFocused(window, VK_DOWN, addTo));
    HWND number = Child(panel, IDC_WORKORDER);
    ASSERT_TRUE(PressUntilFocused(window, VK_TAB, number));
    TypeText(L"4711");
    ASSERT_TRUE(WaitUntil([&] { return ControlText(number) == L"4711"; }, 5000));
    ASSERT_TRUE(PressUntilFocused(window, VK_TAB, Child(panel, IDC_SUBMIT)));
    if (const std::wstring folder = PictureDirectory(); !folder.empty())
        SaveScreen(folder + L"\\main_window_submit_panel.png");
    PressKeys({VK_RETURN});
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(window); }))
        << "the upload did not succeed";

    const RecordedRequest sent = ReadRecordedRequest(server.DataFolder(), 1);
    EXPECT_EQ(sent.Value("field.workorder_id"), "4711");
    const Picture stored = ReadImageFile(server.DataFolder() + L"\\4711\\0001.jpg");
    EXPECT_EQ(stored.width, ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(stored.height, ::GetSystemMetrics(SM_CYSCREEN));
    // The stroke is in it, in the blue picked with the keys.
    EXPECT_GE(PenPointsOn(stored, from, to, IsPenBlue), 6)
        << "the blue pen stroke is missing from the stored picture";

    ::PostMessageW(window, WM_EXIT_APP, 0, 0);
    ASSERT_TRUE(m_program.WaitForExit(kTimeoutMs));
    EXPECT_EQ(m_program.ExitCode(), 0u);
}

// Keys land where they are typed and a shortcut runs once: a held Ctrl+D
// deletes one item; the work-order number keeps its digits through Ctrl+S;
// after a Save As opened while typing, the keyboard is the picture's, not a
// hidden editor's; AltGr+S in a text box opens nothing; and Ctrl+O while
// typing sends the box with its text.
TEST_F(AnnotateSystemTest, KeysStayWhereTypedAndEachShortcutRunsOnce) {
    PhpServer server(PeerRouterScript());
    ASSERT_TRUE(server.IsRunning()) << server.Failure();
    std::filesystem::create_directory(server.DataFolder() + L"\\47115");
    ASSERT_TRUE(WriteRegistryString(kProfileRoot + L"\\Settings\\Servers", L"ServerURL_1",
                                    server.HostAndPort()));
    ASSERT_TRUE(WriteRegistryDword(kProfileRoot + L"\\Settings\\Common", L"ServerIndex", 1));
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartAndShow(&window));
    HWND surface = Child(window, IDC_DRAWING_SURFACE);

    // Two pen strokes; Ctrl+D held with the keyboard's auto-repeat deletes
    // the newer one only (the older is selected after it).
    MouseClickAt(ScreenCentre(Child(window, IDC_TOOL_PEN)));
    const POINT kept[2] = {{100, 450}, {900, 470}};
    const POINT deleted[2] = {{100, 600}, {900, 620}};
    DragAcross(surface, kept[0], kept[1]);
    DragAcross(surface, deleted[0], deleted[1]);
    PressKeysRepeating({VK_CONTROL, 'D'}, 6);

    // The work-order number, then Ctrl+S and Escape: no stray 's' in it.
    HWND panel = ::GetWindow(Child(window, IDC_SUBMIT_HOST), GW_CHILD);
    ASSERT_NE(panel, nullptr) << "no submit panel";
    HWND number = Child(panel, IDC_WORKORDER);
    MouseClickAt(ScreenCentre(number));
    TypeText(L"4711");
    ASSERT_TRUE(WaitUntil([&] { return ControlText(number) == L"4711"; }, 5000));
    ASSERT_TRUE(PressKeysUntil({VK_CONTROL, 'S'}, [&] {
        return FindOwnedWindow(window) != nullptr;
    })) << "Ctrl+S opened no Save As";
    ASSERT_TRUE(PressKeysUntil({VK_ESCAPE}, [&] { return FindOwnedWindow(window) == nullptr; }));
    // A key typed after it comes after anything the shortcut left behind.
    TypeText(L"5");
    EXPECT_TRUE(WaitUntil([&] { return ControlText(number).size() >= 5; }, 5000));
    EXPECT_EQ(ControlText(number), L"47115");

    // A text box, Ctrl+S while typing, Escape: the box shows its text and
    // the keyboard is the picture's, so Ctrl+Z undoes the box rather than
    // reaching a hidden editor.
    const RECT draft{80, 90, 330, 170};
    MouseClickAt(ScreenCentre(Child(window, IDC_TOOL_TEXT)));
    DragAcross(surface, POINT{draft.left, draft.top}, POINT{draft.right, draft.bottom});
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(TextPopup(window)) != FALSE; }));
    HWND draftEdit = Child(TextPopup(window), IDC_TEXT_EDIT);
    TypeText(L"Draft");
    ASSERT_TRUE(WaitUntil([&] { return ControlText(draftEdit) == L"Draft"; }, 5000));
    ASSERT_TRUE(
        PressKeysUntil({VK_CONTROL, 'S'}, [&] { return FindOwnedWindow(window) != nullptr; }));
    ASSERT_TRUE(PressKeysUntil({VK_ESCAPE}, [&] { return FindOwnedWindow(window) == nullptr; }));
    TypeText(L"zz");
    auto draftShown = [&] {
        const POINT corner = ClientToScreenPoint(surface, draft.right - 6, draft.bottom - 6);
        const Picture shot = ScreenPicture(RECT{corner.x, corner.y, corner.x + 1, corner.y + 1});
        return ColorsClose(shot.At(0, 0), RGB(255, 255, 255), 24);
    };
    EXPECT_TRUE(WaitUntil(draftShown, 5000)) << "the box is not shown after the Save As";
    EXPECT_TRUE(PressKeysUntil({VK_CONTROL, 'Z'}, [&] { return !draftShown(); }))
        << "Ctrl+Z did not undo the box";
    EXPECT_EQ(ControlText(draftEdit), L"Draft") << "keys went into the hidden editor";

    // AltGr+S (Ctrl+Alt+S) in a text box is a letter: nothing opens.
    const RECT shipped{400, 250, 700, 330};
    DragAcross(surface, POINT{shipped.left, shipped.top}, POINT{shipped.right, shipped.bottom});
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(TextPopup(window)) != FALSE; }));
    HWND edit = Child(TextPopup(window), IDC_TEXT_EDIT);
    TypeText(L"Ship it");
    PressKeys({VK_CONTROL, VK_MENU, 'S'});
    TypeText(L"x");
    EXPECT_TRUE(WaitUntil([&] { return ControlText(edit).back() == L'x'; }, 5000))
        << "the keys after AltGr+S went elsewhere";
    EXPECT_EQ(FindOwnedWindow(window), nullptr) << "AltGr+S opened something";
    const std::wstring typed = ControlText(edit);
    EXPECT_EQ(typed.substr(0, 7), L"Ship it");
    EXPECT_LE(typed.size(), 9u) << "AltGr+S typed one letter at most";

    // Ctrl+O at once, without clicking elsewhere: the box is in the upload.
    PressKeys({VK_CONTROL, 'O'});
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(window); }))
        << "the upload did not succeed";
    EXPECT_EQ(ReadRecordedRequest(server.DataFolder(), 1).Value("field.workorder_id"), "47115");
    const Picture stored = ReadImageFile(server.DataFolder() + L"\\47115\\0001.jpg");
    ASSERT_EQ(stored.width, ::GetSystemMetrics(SM_CXSCREEN));
    ExpectTextBox(stored, shipped, kFirstColour);
    EXPECT_GE(PenPointsOn(stored, kept[0], kept[1]), 6)
        << "the held Ctrl+D deleted the older stroke too";
    EXPECT_EQ(PenPointsOn(stored, deleted[0], deleted[1]), 0) << "the held Ctrl+D deleted none";

    ::PostMessageW(window, WM_EXIT_APP, 0, 0);
    ASSERT_TRUE(m_program.WaitForExit(kTimeoutMs));
}

} // namespace
