#include "framework/system_library.h"

#include <optional>

namespace fw {

SystemLibrary::SystemLibrary(const wchar_t* fileName) noexcept
    // The system folder only: never a DLL of that name lying beside the
    // program or in the current folder.
    // https://learn.microsoft.com/en-us/windows/win32/api/libloaderapi/nf-libloaderapi-loadlibraryexw
    : m_module(::LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {}

FARPROC SystemLibrary::Find(const char* name) const noexcept {
    return m_module ? ::GetProcAddress(m_module.get(), name) : nullptr;
}

const WinInetApi* WinInet() noexcept {
    // A function-local static: the first caller binds, a second thread
    // asking meanwhile waits for it. Never freed: an upload worker that was
    // let go may be blocked in WinInet while the program's statics go.
    static const SystemLibrary& library = *new SystemLibrary(L"wininet.dll");
    static const std::optional<WinInetApi> api = []() -> std::optional<WinInetApi> {
        WinInetApi bound{};
        const bool complete =
            library.Bind(bound.InternetOpenW, "InternetOpenW") &&
            library.Bind(bound.InternetConnectW, "InternetConnectW") &&
            library.Bind(bound.InternetCloseHandle, "InternetCloseHandle") &&
            library.Bind(bound.InternetCrackUrlW, "InternetCrackUrlW") &&
            library.Bind(bound.InternetCanonicalizeUrlW, "InternetCanonicalizeUrlW") &&
            library.Bind(bound.InternetWriteFile, "InternetWriteFile") &&
            library.Bind(bound.InternetReadFile, "InternetReadFile") &&
            library.Bind(bound.InternetSetOptionW, "InternetSetOptionW") &&
            library.Bind(bound.HttpOpenRequestW, "HttpOpenRequestW") &&
            library.Bind(bound.HttpAddRequestHeadersW, "HttpAddRequestHeadersW") &&
            library.Bind(bound.HttpSendRequestExW, "HttpSendRequestExW") &&
            library.Bind(bound.HttpEndRequestW, "HttpEndRequestW") &&
            library.Bind(bound.HttpQueryInfoW, "HttpQueryInfoW");
        if (!complete)
            return std::nullopt;
        return bound;
    }();
    return api ? &*api : nullptr;
}

void CloseInternetHandle(HINTERNET handle) noexcept {
    // A handle exists only once WinInet is bound.
    if (const WinInetApi* api = WinInet())
        api->InternetCloseHandle(handle);
}

const CommonDialogApi* CommonDialogs() noexcept {
    static const SystemLibrary library(L"comdlg32.dll");
    static const std::optional<CommonDialogApi> api = []() -> std::optional<CommonDialogApi> {
        CommonDialogApi bound{};
        if (!library.Bind(bound.GetSaveFileNameW, "GetSaveFileNameW"))
            return std::nullopt;
        return bound;
    }();
    return api ? &*api : nullptr;
}

} // namespace fw
