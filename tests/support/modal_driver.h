// Drives a modal dialog of this process from a second thread while its modal
// loop runs on the test thread, through the dialog's real messages.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// How long the driver waits for a window to do something.
constexpr DWORD kDriverTimeoutMs = 5000;

// Sends and waits for the answer; a message left unanswered for ten seconds
// fails the test instead of hanging it. Post instead what opens a modal
// window (a dialog, a message box): it answers only once that has closed.
LRESULT SendOrFail(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// A visible dialog of the thread with exactly this caption, or null after
// the timeout.
HWND WaitForDialog(DWORD threadId, const wchar_t* caption, DWORD timeoutMs = kDriverTimeoutMs);

// Calls run on this thread (it opens a modal dialog and returns when the
// dialog has ended) while script drives the dialog with this caption from
// another thread. Should the script leave the dialog open (a failed
// assertion), it is cancelled, so that the test cannot hang.
void DriveModal(const wchar_t* caption, const std::function<void()>& run,
                const std::function<void(HWND)>& script);

// Posts a click to a dialog's button: the dialog may open a modal window in
// answer, so nothing waits for it.
void PostClick(HWND dialog, int buttonId);

// The items of a combo box, top to bottom, and its current selection.
std::vector<std::wstring> ComboItems(HWND combo);
int ComboSelection(HWND combo);
