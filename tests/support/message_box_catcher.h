// Catches a message box that the code under test shows, records what it said
// and dismisses it, so that tests can drive code that calls MessageBoxW.
//
//     MessageBoxCatcher catcher(L"Error");
//     CodeThatMayFail();                      // shows the box and waits
//     const CaughtMessageBox& box = catcher.Wait();
//     EXPECT_TRUE(box.found);
//     EXPECT_EQ(box.text, L"Transfer failed!");
//
// A helper thread looks for a visible top-level "#32770" window with the
// caption that has a message text (control 0xFFFF), for at most the timeout,
// and posts it WM_COMMAND with the chosen button. One catcher catches one box.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

enum class MessageBoxIcon { None, Error, Warning, Information, Question, Other };

struct CaughtMessageBox {
    bool found = false;
    std::wstring caption;
    std::wstring text;
    MessageBoxIcon icon = MessageBoxIcon::None;
};

class MessageBoxCatcher {
public:
    // Where to look: boxes of this process only, or of every process on the
    // desktop (for a program started by the test).
    enum class Scope { ThisProcess, AnyProcess };

    // An empty caption matches any message box.
    explicit MessageBoxCatcher(std::wstring caption, int button = IDOK, DWORD timeoutMs = 10000,
                               Scope scope = Scope::ThisProcess);
    // Stops looking (at once, if nothing was caught yet) and waits for the
    // helper thread.
    ~MessageBoxCatcher();
    MessageBoxCatcher(const MessageBoxCatcher&) = delete;
    MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;

    // Waits until the box was caught or the timeout passed; what was seen.
    const CaughtMessageBox& Wait();

private:
    void Run();
    HWND FindBox() const;

    std::wstring m_caption;
    int m_button;
    DWORD m_timeoutMs;
    Scope m_scope;
    std::atomic<bool> m_stop{false};
    CaughtMessageBox m_caught; // written by the helper thread until it ends
    std::thread m_thread;
};
