// The settings dialog and the server address dialog, opened the way the
// program opens them and driven through their real messages from a second
// thread while their modal loops run on the test thread.
#include "upload/app_settings.h"
#include "upload/dlg_settings.h"

#include "support/message_box_catcher.h"
#include "support/modal_driver.h"
#include "support/registry_value.h"
#include "support/scratch_registry.h"
#include "support/test_window.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

const std::wstring kRoot = L"Software\\LumvexTests\\Settings";
const std::wstring kCommon = kRoot + L"\\Settings\\Common";
const std::wstring kServers = kRoot + L"\\Settings\\Servers";

std::vector<std::wstring> Urls(const CAppSettings& settings) {
    std::vector<std::wstring> urls;
    for (const tagServerEntry& server : settings.servers)
        urls.push_back(server.url);
    return urls;
}

bool IsEnabled(HWND dialog, int id) {
    return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE;
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

    // Add or Edit, then the address dialog: type the text and press OK.
    // Answers the dialog's field as it was when it opened.
    std::wstring EnterAddress(HWND settings, int button, const std::wstring& text) {
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
        EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(dialog); }, kDriverTimeoutMs))
            << "OK did not close the address dialog";
        return shown;
    }

    // Moves the list's selection with a key, as a person would.
    void PressInList(HWND settings, WPARAM key) {
        HWND list = ::GetDlgItem(settings, IDC_SERVER_LIST);
        ::PostMessageW(list, WM_KEYDOWN, key, 0);
        ::PostMessageW(list, WM_KEYUP, key, 0xC0000001);
        SendOrFail(list, WM_NULL);
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
            MessageBoxCatcher catcher(L"Information");
            ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
            const CaughtMessageBox& box = catcher.Wait();
            EXPECT_TRUE(box.found);
            EXPECT_EQ(box.text, text);
            EXPECT_EQ(box.icon, MessageBoxIcon::Information);
        }
        SendOrFail(dialog, WM_NULL);
        EXPECT_EQ(ComboItems(list), Urls(before));

        // A user server picked with the keyboard may be edited and deleted.
        PressInList(dialog, VK_DOWN);
        EXPECT_EQ(ComboSelection(list), 1);
        EXPECT_TRUE(IsEnabled(dialog, IDC_SERVER_EDIT));
        EXPECT_TRUE(IsEnabled(dialog, IDC_SERVER_DELETE));

        // Changes made in the dialog go nowhere when it is cancelled.
        EnterAddress(dialog, IDC_SERVER_ADD, L"third.example");
        {
            MessageBoxCatcher catcher(L"Question", IDOK);
            PostClick(dialog, IDC_SERVER_DELETE);
            EXPECT_TRUE(catcher.Wait().found);
        }
        SendOrFail(::GetDlgItem(dialog, IDC_NOTIFICATIONS), BM_CLICK);
        EXPECT_EQ(ComboItems(list),
                  (std::vector<std::wstring>{L"workorders.example.com", L"first.example",
                                             L"http://second.example/"}));
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
        SendOrFail(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"third.example"));
        PostClick(address, IDOK);
        ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(address); }, kDriverTimeoutMs));

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
            MessageBoxCatcher catcher(L"Question", answer);
            PostClick(dialog, IDC_SERVER_DELETE);
            const CaughtMessageBox& box = catcher.Wait();
            EXPECT_EQ(box.text, L"Do you really want to delete the selected server?");
            EXPECT_EQ(box.icon, MessageBoxIcon::Question);
            SendOrFail(dialog, WM_NULL);
            EXPECT_EQ(ComboItems(list).size(), answer == IDOK ? 3u : 4u);
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

} // namespace
