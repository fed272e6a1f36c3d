// Runs the calling thread's messages in a test, for a bounded time: input
// from the X server and Wine's deferred painting arrive asynchronously.
#pragma once

#include <windows.h>

#include <functional>

// Dispatches this thread's messages until done() answers true or the time is
// up, and answers done()'s last word. done() is asked before the first wait
// and after every message. A quit message ends the pumping early and is
// posted again, so that the test (or an enclosing loop) still sees it.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 1000);

// Dispatches this thread's messages for the given time (a quit message ends
// it early, as above); 0 dispatches what is waiting now.
void PumpMessages(DWORD milliseconds = 100);

// Removes a pending quit message from this thread's queue. Answers whether
// there was one, and its exit code.
bool TakeQuitMessage(int* exitCode = nullptr);
