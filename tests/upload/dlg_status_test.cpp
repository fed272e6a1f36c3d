// The status strip in a host window: its layout at several widths, its
// colours and hidden controls, and the two dialogs it opens.
#include "upload/app_settings.h"
#include "upload/dlg_notify.h"
#include "upload/dlg_status.h"

#include "support/modal_driver.h"
#include "support/picture.h"
#include "support/registry_value.h"
#include "support/scratch_registry.h"
#include "support/test_window.h"

#include "controls/window_text.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

const std::wstring kRoot = L"Software\\LumvexTests\\Status";

// Whether the text drawn in a static ends in an ellipsis: the last few
// columns with ink hold only dots (and the underline below them), nothing
// as tall as a letter.
bool EndsInEllipsis(HWND text) {
    ::UpdateWindow(text);
    const Picture shown = CaptureClient(text);
    auto inked = [&](int x, int y) { return ColorsClose(shown.At(x, y), RGB(0, 0, 0), 90); };
    int lastColumn = -1;
    int lastRow = -1;
    for (int y = 0; y < shown.height; ++y) {
        for (int x = 0; x < shown.width; ++x) {
            if (inked(x, y)) {
                lastColumn = std::max(lastColumn, x);
                lastRow = std::max(lastRow, y);
            }
        }
    }
    if (lastColumn < 6)
        return false;
    // Letters reach well above the dots, which sit on the line just above
    // the underline.
    for (int x = lastColumn - 5; x <= lastColumn; ++x) {
        for (int y = 0; y < lastRow - 4; ++y) {
            if (inked(x, y))
                return false;
        }
    }
    return true;
}

class StatusStrip : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_scratch.IsActive());
        MouseMoveTo({20, 1000});
        m_settings.LoadSettings(m_profile);
        m_settings.servers.push_back({L"mine.example", false});
        m_settings.serverIndex = 1;
        ASSERT_TRUE(m_strip.Create(m_host.Hwnd()));
        // The edition link, the first tab stop, would hold the focus and
        // show its cue in the pictures these tests read.
        ::SetFocus(m_host.Hwnd());
        ::SetWindowPos(m_strip.Hwnd(), nullptr, 0, 0, 1720, 35, SWP_NOZORDER | SWP_SHOWWINDOW);
        PumpMessages(100);
        m_threadId = ::GetCurrentThreadId();
    }
    HWND Item(int id) const { return m_strip.Item(id); }

    void Resize(int width) {
        ::SetWindowPos(m_strip.Hwnd(), nullptr, 0, 0, width, 35, SWP_NOZORDER | SWP_NOMOVE);
        PumpMessages(30);
    }

    ScratchRegistry m_scratch;
    fw::Profile m_profile{kRoot};
    CAppSettings m_settings;
    TestHost m_host{RECT{0, 500, 1760, 560}, RGB(60, 60, 60)};
    CDlgStatus m_strip{m_settings, m_profile};
    DWORD m_threadId = 0;
};

TEST_F(StatusStrip, LinkKeepsToTheRightEdgeAndTheEditionTextEndsBeforeIt) {
    // One colour throughout; the settings controls hidden.
    const Picture shown = CaptureClient(m_strip.Hwnd());
    EXPECT_EQ(shown.At(2, 2), RGB(168, 202, 240));
    EXPECT_EQ(shown.At(1000, 30), RGB(168, 202, 240));
    EXPECT_FALSE(::IsWindowVisible(Item(IDC_STATUS_CHANGE)));
    EXPECT_FALSE(::IsWindowVisible(Item(IDC_SERVER_NAME)));
    EXPECT_EQ(WindowText(Item(IDC_SERVER_NAME)), L"mine.example");

    HWND link = Item(IDC_TELL_SOMEONE);
    HWND edition = Item(IDC_EDITION);
    RECT linkSize{0, 0, 66, 8};
    ::MapDialogRect(m_strip.Hwnd(), &linkSize);
    RECT editionStart{8, 6, 8, 14};
    ::MapDialogRect(m_strip.Hwnd(), &editionStart);
    for (const int width : {1720, 900, 400, 300, 260, 150}) {
        Resize(width);
        const RECT l = RectIn(m_strip.Hwnd(), link);
        EXPECT_EQ(l.right, width - 40) << width;
        EXPECT_EQ(l.right - l.left, linkSize.right) << width;
        EXPECT_EQ(l.top, (35 - linkSize.bottom) / 2) << width;
        const RECT e = RectIn(m_strip.Hwnd(), edition);
        EXPECT_EQ(e.left, editionStart.left) << width;
        EXPECT_EQ(e.top, editionStart.top) << width;
        EXPECT_EQ(e.bottom, editionStart.bottom) << width;
        // Ten pixels before the link, or nothing at all when there is no room.
        EXPECT_EQ(e.right, std::max(e.left, l.left - 10)) << width;
        // Shortened text says so.
        if (e.right > e.left) {
            EXPECT_EQ(EndsInEllipsis(edition), e.right - e.left < 120) << width;
        }
        if (const std::wstring folder = PictureDirectory(); !folder.empty() && width == 260) {
            EXPECT_TRUE(SaveClientPng(m_strip.Hwnd(), folder + L"\\status_narrow.png"));
        }
    }
}

TEST_F(StatusStrip, ServerTextFollowsOnlyTheSettingsFromTheChangeButton) {
    // A click on the edition text: the own-server dialog.
    DriveModal(
        L"",
        [&] {
            MouseClickAt(ScreenCentre(Item(IDC_EDITION)));
            PumpMessages(100);
        },
        [&](HWND dialog) {
            SendOrFail(::GetDlgItem(dialog, IDC_SERVER_HISTORY), WM_SETTEXT, 0,
                       reinterpret_cast<LPARAM>(L"own.example"));
            PostClick(dialog, IDC_SETTINGS_EX_SAVE);
        });
    EXPECT_EQ(m_settings.GetServerName(), L"own.example");
    EXPECT_EQ(ReadRegistryString(kRoot + L"\\Settings\\Servers", L"ServerURL_2"), L"own.example");
    EXPECT_EQ(WindowText(Item(IDC_SERVER_NAME)), L"mine.example");

    // The hidden Change button: the settings, and the server text follows.
    DriveModal(
        L"Settings",
        [&] {
            ::SendMessageW(m_strip.Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_STATUS_CHANGE, BN_CLICKED),
                           reinterpret_cast<LPARAM>(Item(IDC_STATUS_CHANGE)));
        },
        [&](HWND dialog) { PostClick(dialog, IDOK); });
    EXPECT_EQ(WindowText(Item(IDC_SERVER_NAME)), L"own.example");
}

TEST(NotifyPopup, IsLayeredAndHidesOnItsTimerOrAClick) {
    CDlgNotify popup;
    ASSERT_TRUE(popup.Create(nullptr));
    EXPECT_FALSE(::IsWindowVisible(popup.Hwnd()));
    EXPECT_TRUE(::GetWindowLongPtrW(popup.Hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);

    ::ShowWindow(popup.Hwnd(), SW_SHOWNOACTIVATE);
    ::SetTimer(popup.Hwnd(), IDT_NOTIFY_HIDE, 10, nullptr);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindowVisible(popup.Hwnd()); }));
    // The timer is gone with it.
    EXPECT_FALSE(::KillTimer(popup.Hwnd(), IDT_NOTIFY_HIDE));

    for (const UINT press : {WM_LBUTTONDOWN, WM_RBUTTONDOWN}) {
        ::ShowWindow(popup.Hwnd(), SW_SHOWNOACTIVATE);
        ::SendMessageW(popup.Hwnd(), press, 0, MAKELPARAM(5, 5));
        EXPECT_FALSE(::IsWindowVisible(popup.Hwnd())) << press;
    }
}

} // namespace
