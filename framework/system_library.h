// System DLLs bound at run time, for the ones only a few commands need (the
// save dialog, the upload): an import would load them, and the DLLs they
// pull in, at start, and under Wine every DLL loaded holds working set for
// the whole run. The program's other system DLLs stay ordinary imports.
#pragma once

#include "framework/handles.h"

#include <windows.h>
#include <commdlg.h>
#include <wininet.h>

namespace fw {

// A DLL from the system folder, loaded by the constructor and freed by the
// destructor; a missing DLL leaves it empty.
class SystemLibrary {
public:
    explicit SystemLibrary(const wchar_t* fileName) noexcept;

    explicit operator bool() const noexcept { return static_cast<bool>(m_module); }

    // Points function at the export called name; false, and null, when the
    // DLL or the export is missing.
    template <typename Function> bool Bind(Function*& function, const char* name) const noexcept {
        // Through the generic function pointer type, the one a cast from
        // another function pointer type is meant to go through.
        function = reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(Find(name)));
        return function != nullptr;
    }

private:
    FARPROC Find(const char* name) const noexcept;

    Module m_module;
};

// The WinInet functions the upload calls, bound together on first use.
struct WinInetApi {
    decltype(&::InternetOpenW) InternetOpenW;
    decltype(&::InternetConnectW) InternetConnectW;
    decltype(&::InternetCloseHandle) InternetCloseHandle;
    decltype(&::InternetCrackUrlW) InternetCrackUrlW;
    decltype(&::InternetCanonicalizeUrlW) InternetCanonicalizeUrlW;
    decltype(&::InternetWriteFile) InternetWriteFile;
    decltype(&::InternetReadFile) InternetReadFile;
    decltype(&::InternetSetOptionW) InternetSetOptionW;
    decltype(&::HttpOpenRequestW) HttpOpenRequestW;
    decltype(&::HttpAddRequestHeadersW) HttpAddRequestHeadersW;
    decltype(&::HttpSendRequestExW) HttpSendRequestExW;
    decltype(&::HttpEndRequestW) HttpEndRequestW;
    decltype(&::HttpQueryInfoW) HttpQueryInfoW;
};

// Loaded the first time any thread asks, and never freed (a worker that was
// let go may still be inside a call while the program ends);
// null when WinInet or one of the functions is missing (every caller then
// fails as it does when WinInet itself fails).
const WinInetApi* WinInet() noexcept;

// The common dialogs the program shows.
struct CommonDialogApi {
    decltype(&::GetSaveFileNameW) GetSaveFileNameW;
};

// As WinInet(), for the common dialog DLL.
const CommonDialogApi* CommonDialogs() noexcept;

} // namespace fw
