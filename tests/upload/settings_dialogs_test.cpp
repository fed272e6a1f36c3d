// The settings dialog and the server address dialog, opened the way the
// program opens them and driven through their real messages from a second
// thread while their modal loops run on the test thread.
#include "upload/app_settings.h"
#include "upload/dlg_settings.h"
#include "upload/dlg_settings_ex.h"
#include "upload/upload_address.h"
#include "upload/dlg_upload_server.h"

#include "portable/support/server_urls.h"
#include "support/gdi_objects.h"
#include "support/message_box_catcher.h"
#include "support/modal_driver.h"
#include "support/picture.h"
#include "support/registry_value.h"
#include "support/scratch_registry.h"
#include "support/test_window.h"

#include "controls/window_text.h"
#include "framework/text.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

const std::wstring kRoot = L"Software\\LumvexTests\\Settings";
const std::wstring kCommon = kRoot + L"\\Settings\\Common";
const std::wstring kServers = kRoot + L"\\Settings\\Servers";

bool IsEnabled(HWND dialog, int id) {
    return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE;
}

// A picture of a dialog, frame and all, for people to look at.
void SavePicture(HWND dialog, const wchar_t* name) {
    if (const std::wstring folder = PictureDirectory(); !folder.empty()) {
        SendOrFail(dialog, WM_NULL);
        EXPECT_TRUE(SaveWindowPng(dialog, folder + L"\\" + name));
    }
}

class SettingsDialogs : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_scratch.IsActive());
        m_settings.LoadSettings(m_profile);
        m_settings.servers.push_back({L"first.example", false});
        m_settings.servers.push_back({L"http://second.example/", false});
        m_threadId = ::GetCurrentThreadId();
    }

    // Opens the settings as the program does while script drives them.
    bool Edit(const std::function<void(HWND)>& script) {
        bool changed = false;
        DriveModal(
            L"Settings", [&] { changed = EditSettings(m_settings, m_profile, nullptr); }, script);
        return changed;
    }

    // The same for the own-server dialog, which has no caption.
    bool EditOwn(const std::function<void(HWND)>& script) {
        bool changed = false;
        DriveModal(
            L"", [&] { changed = EditOwnServer(m_settings, m_profile, nullptr); }, script);
        return changed;
    }

    // The edit field inside the own-server dialog's combo box.
    static HWND AddressField(HWND dialog) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        ::GetComboBoxInfo(::GetDlgItem(dialog, IDC_SERVER_HISTORY), &info);
        return info.hwndItem;
    }

    // Types into the own-server field over whatever it shows, as a person
    // would: character by character through the field's own filter and
    // completion.
    static void TypeAddress(HWND dialog, const std::wstring& text) {
        HWND field = AddressField(dialog);
        SendOrFail(field, EM_SETSEL, 0, -1);
        SendOrFail(field, WM_CLEAR);
        SendKeys(field, text);
    }

    // Servers u1.example, u2.example, ... after the default one.
    void UseUserServers(int count, int selected) {
        m_settings.servers.resize(1);
        for (int i = 1; i <= count; ++i)
            m_settings.servers.push_back({L"u" + std::to_wstring(i) + L".example", false});
        m_settings.serverIndex = selected;
    }

    // Add or Edit, then the address dialog: type the text and press OK.
    // Answers the dialog's field as it was when it opened, once the list
    // shows the change.
    std::wstring EnterAddress(HWND settings, int button, const std::wstring& text) {
        HWND list = ::GetDlgItem(settings, IDC_SERVER_LIST);
        const std::vector<std::wstring> before = ComboItems(list);
        PostClick(settings, button);
        HWND dialog = WaitForDialog(m_threadId, L"Upload Server");
        if (!dialog) {
            ADD_FAILURE() << "the address dialog did not open";
            return {};
        }
        HWND field = ::GetDlgItem(dialog, IDC_SERVER_URL);
        wchar_t shown[256]{};
        ::GetWindowTextW(field, shown, 256);
        SendOrFail(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        PostClick(dialog, IDOK);
        EXPECT_TRUE(PumpUntil([&] { return ComboItems(list) != before; }, kDriverTimeoutMs))
            << "OK changed nothing";
        return shown;
    }

    // Moves the list's selection with a key, as a person would.
    static void PressInList(HWND settings, WPARAM key) {
        HWND list = ::GetDlgItem(settings, IDC_SERVER_LIST);
        SendOrFail(list, WM_KEYDOWN, key, 0);
        SendOrFail(list, WM_KEYUP, key, 0xC0000001);
    }

    // Presses a button of the dialog that shows a message box, answers the
    // box and waits until it has gone (it keeps the dialog disabled).
    static CaughtMessageBox Answer(HWND dialog, int button, const wchar_t* caption,
                                   int answer = IDOK) {
        MessageBoxCatcher catcher(caption, answer);
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        const CaughtMessageBox box = catcher.Wait();
        EXPECT_TRUE(box.found) << "no box captioned " << fw::ToUtf8(caption);
        EXPECT_TRUE(PumpUntil([&] { return ::IsWindowEnabled(dialog) != FALSE; }));
        return box;
    }

    ScratchRegistry m_scratch;
    fw::Profile m_profile{kRoot};
    CAppSettings m_settings;
    DWORD m_threadId = 0;
};

TEST_F(SettingsDialogs, DefaultServerIsProtectedAndCancelLeavesTheRecordAlone) {
    const CAppSettings before = m_settings;
    const bool changed = Edit([&](HWND dialog) {
        HWND list = ::GetDlgItem(dialog, IDC_SERVER_LIST);
        EXPECT_EQ(ComboItems(list), Urls(before));
        EXPECT_EQ(ComboSelection(list), 0);
        EXPECT_FALSE(IsEnabled(dialog, IDC_SERVER_EDIT));
        EXPECT_FALSE(IsEnabled(dialog, IDC_SERVER_DELETE));
        EXPECT_EQ(SendOrFail(::GetDlgItem(dialog, IDC_NOTIFICATIONS), BM_GETCHECK), BST_CHECKED);

        // Asked for anyway (the buttons are only disabled), each says why not.
        for (const auto& [button, text] :
             {std::pair{IDC_SERVER_EDIT,
                        L"This is the default upload server. It can not be edited!"},
              std::pair{IDC_SERVER_DELETE,
                        L"This is the default upload server. It can not be deleted!"}}) {
            const CaughtMessageBox box = Answer(dialog, button, L"Information");
            EXPECT_EQ(box.text, text);
            EXPECT_EQ(box.icon, MessageBoxIcon::Information);
        }
        EXPECT_EQ(ComboItems(list), Urls(before));

        // A user server picked with the keyboard may be edited and deleted.
        PressInList(dialog, VK_DOWN);
        EXPECT_EQ(ComboSelection(list), 1);
        EXPECT_TRUE(IsEnabled(dialog, IDC_SERVER_EDIT));
        EXPECT_TRUE(IsEnabled(dialog, IDC_SERVER_DELETE));

        // Changes made in the dialog go nowhere when it is cancelled.
        EnterAddress(dialog, IDC_SERVER_ADD, L"third.example");
        Answer(dialog, IDC_SERVER_DELETE, L"Question");
        SendOrFail(::GetDlgItem(dialog, IDC_NOTIFICATIONS), BM_CLICK);
        EXPECT_TRUE(PumpUntil([&] { return ComboItems(list).size() == 3; }));
        SavePicture(dialog, L"settings.png");
        PostClick(dialog, IDCANCEL);
    });
    EXPECT_FALSE(changed);
    EXPECT_EQ(Urls(m_settings), Urls(before));
    EXPECT_EQ(m_settings.serverIndex, 0);
    EXPECT_TRUE(m_settings.enableNotifications);
    EXPECT_FALSE(RegistryKeyExists(kRoot)) << "nothing to save";
}

TEST_F(SettingsDialogs, AddEditDeleteAndOkAreWrittenBackAndSavedAtOnce) {
    m_settings.serverIndex = 2;
    const bool changed = Edit([&](HWND dialog) {
        HWND list = ::GetDlgItem(dialog, IDC_SERVER_LIST);
        EXPECT_EQ(ComboSelection(list), 2);

        // A blank address is refused: the dialog stays with the field.
        PostClick(dialog, IDC_SERVER_ADD);
        HWND address = WaitForDialog(m_threadId, L"Upload Server");
        ASSERT_NE(address, nullptr);
        HWND field = ::GetDlgItem(address, IDC_SERVER_URL);
        // Longer addresses would not be read back at the next start.
        EXPECT_EQ(SendOrFail(field, EM_GETLIMITTEXT), 2048);
        SendOrFail(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"   "));
        SendOrFail(address, WM_COMMAND, IDOK);
        EXPECT_TRUE(::IsWindowVisible(address));
        GUITHREADINFO gui{};
        gui.cbSize = sizeof(gui);
        ::GetGUIThreadInfo(m_threadId, &gui);
        EXPECT_EQ(gui.hwndFocus, field);
        // So is an address of another scheme, saying why.
        SendOrFail(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"file://h:a:1?q"));
        EXPECT_EQ(Answer(address, IDOK, L"Information").text, kOtherSchemeRefused);
        EXPECT_TRUE(::IsWindowVisible(address));
        SendOrFail(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"third.example"));
        SavePicture(address, L"upload_server.png");
        PostClick(address, IDOK);
        ASSERT_TRUE(PumpUntil([&] { return ComboItems(list).size() == 4; }, kDriverTimeoutMs));

        // Added at the end and selected.
        EXPECT_EQ(ComboItems(list).back(), L"third.example");
        EXPECT_EQ(ComboSelection(list), 3);

        // Edit shows the address and replaces it in place.
        PressInList(dialog, VK_UP);
        PressInList(dialog, VK_UP);
        EXPECT_EQ(EnterAddress(dialog, IDC_SERVER_EDIT, L"edited.example"), L"first.example");
        EXPECT_EQ(ComboItems(list),
                  (std::vector<std::wstring>{L"workorders.example.com", L"edited.example",
                                             L"http://second.example/", L"third.example"}));
        EXPECT_EQ(ComboSelection(list), 1);

        // Delete asks first; only OK deletes, and the default is selected.
        PressInList(dialog, VK_DOWN);
        for (const int answer : {IDCANCEL, IDOK}) {
            const CaughtMessageBox box = Answer(dialog, IDC_SERVER_DELETE, L"Question", answer);
            EXPECT_EQ(box.text, L"Do you really want to delete the selected server?");
            EXPECT_EQ(box.icon, MessageBoxIcon::Question);
            const size_t left = answer == IDOK ? 3u : 4u;
            EXPECT_TRUE(PumpUntil([&] { return ComboItems(list).size() == left; }));
        }
        EXPECT_EQ(ComboSelection(list), 0);
        EXPECT_FALSE(IsEnabled(dialog, IDC_SERVER_EDIT));
        EXPECT_FALSE(IsEnabled(dialog, IDC_SERVER_DELETE));

        SendOrFail(::GetDlgItem(dialog, IDC_NOTIFICATIONS), BM_CLICK);
        PostClick(dialog, IDOK);
    });
    EXPECT_TRUE(changed);
    EXPECT_EQ(Urls(m_settings), (std::vector<std::wstring>{L"workorders.example.com",
                                                           L"edited.example", L"third.example"}));
    EXPECT_TRUE(m_settings.servers[0].isDefault);
    EXPECT_FALSE(m_settings.servers[1].isDefault);
    EXPECT_EQ(m_settings.serverIndex, 0);
    EXPECT_FALSE(m_settings.enableNotifications);
    // In the registry already, not only when the program ends.
    EXPECT_EQ(ReadRegistryString(kServers, L"ServerURL_1"), L"edited.example");
    EXPECT_EQ(ReadRegistryString(kServers, L"ServerURL_2"), L"third.example");
    EXPECT_FALSE(ReadRegistryString(kServers, L"ServerURL_3"));
    EXPECT_EQ(ReadRegistryDword(kCommon, L"ServerIndex"), 0u);
    EXPECT_EQ(ReadRegistryDword(kCommon, L"EnableNotifications"), 0u);
}

TEST_F(SettingsDialogs, AnIndexNamingNoServerShowsTheDefaultAndStoresZero) {
    for (const int stored : {7, -1}) {
        m_settings.serverIndex = stored;
        Edit([&](HWND dialog) {
            EXPECT_EQ(ComboSelection(::GetDlgItem(dialog, IDC_SERVER_LIST)), 0) << stored;
            EXPECT_FALSE(IsEnabled(dialog, IDC_SERVER_EDIT));
            PostClick(dialog, IDOK);
        });
        EXPECT_EQ(m_settings.serverIndex, 0) << stored;
        EXPECT_EQ(ReadRegistryDword(kCommon, L"ServerIndex"), 0u) << stored;
        DeleteRegistryTree(kRoot);
    }
}

TEST_F(SettingsDialogs, OwnServerTypedWithTheSchemeOrInOtherLettersIsTheStoredOne) {
    m_settings.serverIndex = 0;
    const bool changed = EditOwn([&](HWND dialog) {
        HWND field = ::GetDlgItem(dialog, IDC_SERVER_HISTORY);
        // The most recent server first; the selected one in the field.
        EXPECT_EQ(ComboItems(field),
                  (std::vector<std::wstring>{L"http://second.example/", L"first.example",
                                             L"workorders.example.com"}));
        EXPECT_EQ(WindowText(field), L"workorders.example.com");
        EXPECT_EQ(SendOrFail(AddressField(dialog), EM_GETLIMITTEXT), 255);
        // The picture prints "http://" level with the field, whatever the
        // size of a dialog unit: the dialog is the picture's size and the
        // field sits where the picture expects it.
        RECT client{};
        ::GetClientRect(dialog, &client);
        EXPECT_EQ(client.right, 467);
        EXPECT_EQ(client.bottom, 301);
        COMBOBOXINFO combo{};
        combo.cbSize = sizeof(combo);
        ::GetComboBoxInfo(field, &combo);
        RECT box = combo.rcItem;
        ::MapWindowPoints(field, dialog, reinterpret_cast<POINT*>(&box), 2);
        EXPECT_NEAR((box.top + box.bottom) / 2, 245, 2);
        EXPECT_NEAR(box.left, 161, 4);
        SavePicture(dialog, L"settings_ex.png");

        TypeAddress(dialog, L"http://FIRST.example");
        EXPECT_EQ(WindowText(field), L"http://FIRST.example");
        PostClick(dialog, IDC_SETTINGS_EX_SAVE);
    });
    EXPECT_TRUE(changed);
    EXPECT_EQ(m_settings.servers.size(), 3u);
    EXPECT_EQ(m_settings.serverIndex, 1);
    EXPECT_EQ(ReadRegistryDword(kCommon, L"ServerIndex"), 1u);

    // Only "http://" exactly is the scheme the picture prints; any other
    // spelling (pasted: typing would complete it to a stored address) is
    // part of a new address. Enter saves as well.
    EditOwn([&](HWND dialog) {
        // Another scheme is refused, saying why, and the dialog stays.
        SendOrFail(::GetDlgItem(dialog, IDC_SERVER_HISTORY), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(L"ftp://first.example"));
        EXPECT_EQ(Answer(dialog, IDC_SETTINGS_EX_SAVE, L"Information").text, kOtherSchemeRefused);
        EXPECT_TRUE(::IsWindowVisible(dialog));
        SendOrFail(::GetDlgItem(dialog, IDC_SERVER_HISTORY), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(L"HTTP://first.example"));
        ::PostMessageW(AddressField(dialog), WM_KEYDOWN, VK_RETURN, 1);
        EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(dialog); }, kDriverTimeoutMs))
            << "Enter did not save";
    });
    EXPECT_EQ(Urls(m_settings),
              (std::vector<std::wstring>{L"workorders.example.com", L"first.example",
                                         L"http://second.example/", L"HTTP://first.example"}));
    EXPECT_EQ(m_settings.serverIndex, 3);
    EXPECT_EQ(ReadRegistryString(kServers, L"ServerURL_3"), L"HTTP://first.example");
}

TEST_F(SettingsDialogs, ASixthServerDropsTheOldestUserServerAndIsSelected) {
    UseUserServers(4, 2);
    EditOwn([&](HWND dialog) {
        TypeAddress(dialog, L"u5.example");
        PostClick(dialog, IDC_SETTINGS_EX_SAVE);
    });
    EXPECT_EQ(Urls(m_settings),
              (std::vector<std::wstring>{L"workorders.example.com", L"u2.example", L"u3.example",
                                         L"u4.example", L"u5.example"}));
    EXPECT_EQ(m_settings.GetServerName(), L"u5.example");
    EXPECT_EQ(ReadRegistryString(kServers, L"ServerURL_4"), L"u5.example");
    EXPECT_FALSE(ReadRegistryString(kServers, L"ServerURL_5"));
    EXPECT_EQ(ReadRegistryDword(kCommon, L"ServerIndex"), 4u);
}

TEST_F(SettingsDialogs, CancelStillTrimsButNeverDropsTheSelectedServer) {
    // Five servers and a blank address: nothing to store, nothing saved.
    UseUserServers(4, 1);
    const bool changed = EditOwn([&](HWND dialog) {
        TypeAddress(dialog, L"http://");
        SendOrFail(dialog, WM_COMMAND, MAKEWPARAM(IDC_SETTINGS_EX_SAVE, BN_CLICKED));
        EXPECT_TRUE(::IsWindowVisible(dialog)) << "a blank address was taken";
        EXPECT_EQ(WindowText(::GetDlgItem(dialog, IDC_SERVER_HISTORY)), L"");
        PostClick(dialog, IDC_SETTINGS_EX_CANCEL);
    });
    EXPECT_FALSE(changed);
    EXPECT_EQ(m_settings.servers.size(), 5u);
    EXPECT_FALSE(RegistryKeyExists(kRoot));

    // Eight servers from an older version, the oldest user server selected.
    UseUserServers(7, 1);
    EditOwn([&](HWND dialog) { ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(Urls(m_settings),
              (std::vector<std::wstring>{L"workorders.example.com", L"u1.example", L"u5.example",
                                         L"u6.example", L"u7.example"}));
    EXPECT_EQ(m_settings.GetServerName(), L"u1.example");
    EXPECT_EQ(ReadRegistryString(kServers, L"ServerURL_2"), L"u5.example");
}

// Enter does what the focused button says: on Cancel it cancels and on More
// Info it stays, whatever the field holds; in the field it saves. Tab goes
// round in the order the picture shows them.
TEST_F(SettingsDialogs, EnterOnAFocusedOwnServerButtonIsThatButtonsAndTabFollowsThePicture) {
    const CAppSettings before = m_settings;
    auto pressEnterOn = [](HWND dialog, HWND control) {
        SendOrFail(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
        ::PostMessageW(control, WM_KEYDOWN, VK_RETURN, 1);
        ::PostMessageW(control, WM_CHAR, L'\r', 1);
    };
    const bool changed = EditOwn([&](HWND dialog) {
        HWND field = AddressField(dialog);
        HWND moreInfo = ::GetDlgItem(dialog, IDC_MORE_INFO);
        HWND cancel = ::GetDlgItem(dialog, IDC_SETTINGS_EX_CANCEL);
        HWND save = ::GetDlgItem(dialog, IDC_SETTINGS_EX_SAVE);
        std::vector<HWND> order{field};
        for (int i = 0; i < 4; ++i)
            order.push_back(::GetNextDlgTabItem(dialog, order.back(), FALSE));
        HWND combo = ::GetDlgItem(dialog, IDC_SERVER_HISTORY);
        EXPECT_EQ(order, (std::vector<HWND>{field, cancel, save, moreInfo, combo}));
        // Their names, for screen readers.
        EXPECT_EQ(WindowText(moreInfo), L"More Info");
        EXPECT_EQ(WindowText(cancel), L"Cancel");
        EXPECT_EQ(WindowText(save), L"Save");

        TypeAddress(dialog, L"typed.example");
        pressEnterOn(dialog, moreInfo);
        SendOrFail(dialog, WM_NULL);
        EXPECT_TRUE(::IsWindow(dialog)) << "Enter on More Info ended the dialog";
        pressEnterOn(dialog, cancel);
        EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(dialog); }, kDriverTimeoutMs))
            << "Enter on Cancel did not cancel";
    });
    EXPECT_FALSE(changed) << "Enter on Cancel saved the typed address";
    EXPECT_EQ(Urls(m_settings), Urls(before));
    EXPECT_FALSE(RegistryKeyExists(kRoot));

    EditOwn([&](HWND dialog) {
        TypeAddress(dialog, L"typed.example");
        pressEnterOn(dialog, ::GetDlgItem(dialog, IDC_SETTINGS_EX_SAVE));
        EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(dialog); }, kDriverTimeoutMs));
    });
    EXPECT_EQ(m_settings.GetServerName(), L"typed.example");
}

// Each of the three dialogs, opened and closed again and again, holds no more
// GDI objects than after the first openings (the own-server dialog's
// template picture, which Wine's static control does not free, among them).
TEST_F(SettingsDialogs, OpeningEachDialogTwentyTimesLeaksNoGdiObjects) {
    struct Opening {
        const char* name;
        std::function<void()> open;
    };
    const std::vector<Opening> openings{
        {"settings",
         [&] { Edit([](HWND dialog) { ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); }); }},
        {"upload server",
         [&] {
             DriveModal(
                 L"Upload Server",
                 [] {
                     CDlgUploadServer dialog(L"server.example");
                     dialog.DoModal(nullptr);
                 },
                 [](HWND dialog) { ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); });
         }},
        {"own server",
         [&] { EditOwn([](HWND dialog) { PostClick(dialog, IDC_SETTINGS_EX_CANCEL); }); }},
    };
    for (const Opening& opening : openings) {
        const GdiGrowth growth = MeasureGdiGrowth(opening.open, 3, 10, [] { PumpMessages(100); });
        ASSERT_GT(growth.warm, 0) << "no way to count GDI objects here";
        EXPECT_FALSE(growth.Leaks()) << opening.name << " dialog: " << growth.Describe();
    }
}

} // namespace
