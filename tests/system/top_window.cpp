#include "system/top_window.h"

namespace {

struct Search {
    DWORD processId;
    const wchar_t* className;
    const wchar_t* caption;
    bool shownOnly = false;
    HWND found = nullptr;
};

BOOL CALLBACK Visit(HWND window, LPARAM lParam) {
    auto& search = *reinterpret_cast<Search*>(lParam);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId || WindowText(window) != search.caption ||
        (search.shownOnly && !::IsWindowVisible(window)))
        return TRUE;
    if (search.className) {
        wchar_t className[64]{};
        ::GetClassNameW(window, className, 64);
        if (std::wstring(className) != search.className)
            return TRUE;
    }
    search.found = window;
    return FALSE;
}

} // namespace

namespace {

HWND Find(DWORD processId, const wchar_t* className, const wchar_t* caption, bool shownOnly) {
    Search search{processId, className, caption, shownOnly};
    ::EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitFor(DWORD processId, const wchar_t* className, const wchar_t* caption, bool shownOnly,
             DWORD timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        if (HWND window = Find(processId, className, caption, shownOnly))
            return window;
        if (::GetTickCount64() >= deadline)
            return nullptr;
        ::Sleep(10);
    }
}

} // namespace

HWND FindTopWindow(DWORD processId, const wchar_t* className, const wchar_t* caption) {
    return Find(processId, className, caption, false);
}

HWND WaitForTopWindow(DWORD processId, const wchar_t* className, const wchar_t* caption,
                      DWORD timeoutMs) {
    return WaitFor(processId, className, caption, false, timeoutMs);
}

HWND WaitForShownTopWindow(DWORD processId, const wchar_t* className, const wchar_t* caption,
                           DWORD timeoutMs) {
    return WaitFor(processId, className, caption, true, timeoutMs);
}
