#include "support/modal_driver.h"

#include "support/test_window.h"

#include "framework/text.h"

#include <gtest/gtest.h>

#include <thread>

LRESULT SendOrFail(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, 10000, &result))
        ADD_FAILURE() << "message " << message << " was not answered";
    return static_cast<LRESULT>(result);
}

HWND WaitForDialog(DWORD threadId, const wchar_t* caption, DWORD timeoutMs) {
    struct Search {
        const wchar_t* caption;
        HWND found;
    } search{caption, nullptr};
    PumpUntil(
        [&] {
            ::EnumThreadWindows(
                threadId,
                [](HWND window, LPARAM data) {
                    auto& s = *reinterpret_cast<Search*>(data);
                    wchar_t name[16]{};
                    wchar_t text[128]{};
                    ::GetClassNameW(window, name, 16);
                    ::GetWindowTextW(window, text, 128);
                    if (std::wstring(name) != L"#32770" || !::IsWindowVisible(window) ||
                        std::wstring(text) != s.caption)
                        return TRUE;
                    s.found = window;
                    return FALSE;
                },
                reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeoutMs);
    return search.found;
}

void DriveModal(const wchar_t* caption, const std::function<void()>& run,
                const std::function<void(HWND)>& script) {
    const DWORD threadId = ::GetCurrentThreadId();
    std::thread driver([&] {
        HWND dialog = WaitForDialog(threadId, caption);
        if (!dialog) {
            ADD_FAILURE() << "no dialog captioned \"" << fw::ToUtf8(caption) << "\" appeared";
            return;
        }
        script(dialog);
        // Whatever is left open (a nested dialog first) is cancelled.
        PumpUntil(
            [&] {
                if (!::IsWindow(dialog))
                    return true;
                ::PostMessageW(::GetLastActivePopup(dialog), WM_COMMAND, IDCANCEL, 0);
                return false;
            },
            kDriverTimeoutMs);
    });
    run();
    driver.join();
}

void PostClick(HWND dialog, int buttonId) {
    ::PostMessageW(::GetDlgItem(dialog, buttonId), BM_CLICK, 0, 0);
}

std::vector<std::wstring> ComboItems(HWND combo) {
    std::vector<std::wstring> items;
    const auto count = static_cast<int>(SendOrFail(combo, CB_GETCOUNT));
    for (int i = 0; i < count; ++i) {
        const auto length = static_cast<size_t>(SendOrFail(combo, CB_GETLBTEXTLEN, i));
        std::wstring text(length + 1, L'\0');
        SendOrFail(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        text.resize(length);
        items.push_back(text);
    }
    return items;
}

int ComboSelection(HWND combo) {
    return static_cast<int>(SendOrFail(combo, CB_GETCURSEL));
}
