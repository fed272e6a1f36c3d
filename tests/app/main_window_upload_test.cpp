// The submit panel in the main window and the upload it starts, driven with
// real mouse and keyboard input against the reference server.
#include "main_window_driver.h"

#include "framework/file.h"

#include "support/message_box_catcher.h"
#include "support/php_server.h"
#include "support/picture.h"
#include "support/test_window.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

namespace {

constexpr wchar_t kTransferFailed[] = L"There was a problem while uploading. Transfer failed!";

class MainWindowUpload : public MainWindowFixture {
protected:
    HWND PanelItem(int id) { return ::GetDlgItem(m_driver.SubmitPanel().Hwnd(), id); }
    // The radio buttons sit on the panel's picture.
    HWND Radio(int id) { return ::GetDlgItem(PanelItem(IDC_SUBMIT_BACKGROUND), id); }

    // A real click; input arrives through the X server, so the effect is
    // waited for.
    // Under a heavily loaded X server an injected click now and then never
    // reaches the window; what is tested is what a click does, so a click
    // without its effect is given again before the test gives up.
    template <typename Effect> bool Click(HWND control, Effect effect) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            MouseClickAt(ScreenCentre(control));
            if (PumpUntil(effect, 2000))
                return true;
        }
        return false;
    }
    void Click(HWND control) { MouseClickAt(ScreenCentre(control)); }

    HWND Focus(HWND window) {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
        return info.hwndFocus;
    }

    // Types into whatever has the focus and waits until the window took it.
    void Type(HWND window, const std::wstring& text) {
        TypeText(text);
        PumpUntil(
            [&] {
                SendOrFail(window, WM_NULL);
                return m_driver.SubmitPanel().WorkOrderText().size() >= text.size();
            },
            2000);
    }
};

TEST_F(MainWindowUpload, ThePanelTakesTheWorkOrderAndStartsOverAtEveryCapture) {
    Run([&](HWND window) {
        ShowWithCapture(window);
        CDlgSendRequest& panel = m_driver.SubmitPanel();
        HWND edit = PanelItem(IDC_WORKORDER);

        // In the tool column, below the zoom buttons, inside its host.
        const RECT host = ChildRect(window, IDC_SUBMIT_HOST);
        const RECT zoom = ChildRect(window, IDC_ZOOM_ACTUAL);
        RECT client{};
        ::GetClientRect(window, &client);
        EXPECT_EQ(::GetParent(panel.Hwnd()), ::GetDlgItem(window, IDC_SUBMIT_HOST));
        EXPECT_GE(host.left, client.right - 200);
        EXPECT_GT(host.top, zoom.bottom);
        EXPECT_LE(host.bottom, client.bottom);
        EXPECT_TRUE(panel.IsCreateChecked());
        EXPECT_TRUE(panel.WorkOrderText().empty());
        EXPECT_TRUE(::IsWindowEnabled(edit));

        // Tab from "Create TQ" into the number and type: still "Create TQ".
        EXPECT_TRUE(Click(Radio(IDC_CREATE_TQ), [&] { return !::IsWindowEnabled(edit); }))
            << "\"Create TQ\" needs no number";
        EXPECT_TRUE(Click(Radio(IDC_ADD_TO_TQ), [&] { return ::IsWindowEnabled(edit); }));
        EXPECT_TRUE(Click(Radio(IDC_CREATE_TQ), [&] { return panel.IsCreateChecked(); }));
        ::EnableWindow(edit, TRUE); // as at the start: enabled with "Create TQ"
        PressKeys({VK_TAB});
        ASSERT_TRUE(PumpUntil([&] { return Focus(window) == edit; }, 2000))
            << "Tab does not reach the number";
        Type(window, L"4711");
        EXPECT_EQ(panel.WorkOrderText(), L"4711");
        EXPECT_TRUE(panel.IsCreateChecked());

        // A click into the number selects "Add to existing TQ".
        EXPECT_TRUE(Click(edit, [&] { return !panel.IsCreateChecked(); }));
        EXPECT_EQ(::SendMessageW(Radio(IDC_ADD_TO_TQ), BM_GETCHECK, 0, 0), BST_CHECKED);

        // The panel's Save button opens the save dialog, as Ctrl+S does.
        Click(PanelItem(IDC_SUBMIT_SAVE));
        HWND save = WaitForOwnedWindow(window);
        ASSERT_NE(save, nullptr) << "Save opened no dialog";
        ::PostMessageW(save, WM_COMMAND, IDCANCEL, 0);
        ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(save); }, kDriverTimeoutMs));

        // Hidden and captured again: back to "Create TQ" with no number.
        SendOrFail(window, WM_CLOSE);
        SendOrFail(window, WM_TRAY_NOTIFY, 0, WM_LBUTTONDOWN);
        EXPECT_TRUE(panel.IsCreateChecked());
        EXPECT_EQ(::SendMessageW(Radio(IDC_ADD_TO_TQ), BM_GETCHECK, 0, 0), BST_UNCHECKED);
        EXPECT_TRUE(panel.WorkOrderText().empty());
    });
}

TEST_F(MainWindowUpload, SubmitSendsTheFlattenedPictureAndTheAnswerDecidesWhatFollows) {
    PhpServer server(PeerRouterScript());
    ASSERT_PEER_RUNNING(server);
    std::filesystem::create_directory(server.DataFolder() + L"\\4711");
    m_settings.servers = {{server.HostAndPort(), true}};
    m_settings.serverIndex = 0;
    m_settings.securityKey = L"SKYQUOMBIRLA470470";

    Run([&](HWND window) {
        // No picture yet: nothing is sent.
        {
            MessageBoxCatcher catcher(L"Error");
            SendOrFail(window, WM_SUBMIT_SCREENSHOT);
            EXPECT_EQ(catcher.Wait().text, kTransferFailed);
            EXPECT_EQ(RecordedRequestCount(server.DataFolder()), 0);
        }

        ShowWithCapture(window);
        SendOrFail(window, WM_COMMAND, IDC_TOOL_ARROW);
        Drag(window, {300, 200}, {700, 450});
        EXPECT_TRUE(Click(PanelItem(IDC_WORKORDER),
                          [&] { return !m_driver.SubmitPanel().IsCreateChecked(); }));
        Type(window, L"4711");
        // The server holds its answer until the dialog has been seen.
        const std::wstring hold = server.DataFolder() + L"\\hold";
        fw::WriteFileBytes(hold, "");
        Click(PanelItem(IDC_SUBMIT));
        HWND upload = WaitForOwnedWindow(window);
        EXPECT_NE(upload, nullptr) << "no upload dialog";
        EXPECT_FALSE(::IsWindowEnabled(window)) << "the window stays usable during the upload";
        std::filesystem::remove(hold);
        ASSERT_TRUE(PumpUntil([&] { return !::IsWindowVisible(window); }, 20000))
            << "a successful upload hides the window";

        const RecordedRequest sent = ReadRecordedRequest(server.DataFolder(), 1);
        EXPECT_EQ(sent.Value("field.workorder_id"), "4711");
        const Picture stored = ReadImageFile(server.DataFolder() + L"\\4711\\0001.jpg");
        fw::GdiBitmap flattened = m_driver.Canvas().GetFlattenedBitmap();
        const Picture expected = ReadPixels(flattened.get());
        ASSERT_EQ(stored.width, expected.width);
        // JPEG is lossy; a missing arrow or another picture differs by far more.
        EXPECT_LT(MeanDifference(stored, expected), 4.0);

        // A server error: the box with its cause, and the window stays for
        // another try.
        m_settings.servers[0].url = server.HostAndPort() + L"/canned/500/page";
        ShowWithCapture(window);
        {
            MessageBoxCatcher catcher(L"Error", IDOK, 20000);
            Click(PanelItem(IDC_SUBMIT));
            const CaughtMessageBox& box = catcher.Wait();
            EXPECT_EQ(box.text,
                      std::wstring(kTransferFailed) + L"\nThe server answered with status 500.");
            EXPECT_EQ(box.icon, MessageBoxIcon::Error);
        }
        SendOrFail(window, WM_NULL);
        EXPECT_TRUE(::IsWindowVisible(window));

        // A 302 with a page: accepted, the window goes.
        m_settings.servers[0].url = server.HostAndPort() + L"/canned/302/page";
        SendOrFail(window, WM_COMMAND, ID_CTX_SUBMIT);
        EXPECT_FALSE(::IsWindowVisible(window));
        EXPECT_EQ(RecordedRequestCount(server.DataFolder()), 3);

        // A server that keeps the answer back does not keep the program from
        // ending: an exit request ends the upload and the program at once.
        m_settings.servers[0].url = server.HostAndPort();
        ShowWithCapture(window);
        fw::WriteFileBytes(hold, "");
        Click(PanelItem(IDC_SUBMIT));
        EXPECT_NE(WaitForOwnedWindow(window), nullptr) << "no upload dialog";
        EXPECT_TRUE(PumpUntil([&] { return RecordedRequestCount(server.DataFolder()) == 4; },
                              kDriverTimeoutMs));
        ::PostMessageW(window, WM_EXIT_APP, 0, 0);
        // Far sooner than the server's 30 s hold or the upload's timeout.
        EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(window); }, 5000))
            << "the exit request waited for the upload";
        std::filesystem::remove(hold);
    });
}

} // namespace
