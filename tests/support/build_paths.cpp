#include "support/build_paths.h"

#include "framework/text.h"

#include <windows.h>

std::wstring WindowsPathOfBuildFile(const char* path) {
    using ToDosName = wchar_t*(CDECL*)(const char*);
    const auto translate = reinterpret_cast<ToDosName>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    if (path[0] == '/' && translate) {
        if (wchar_t* dosName = translate(path)) {
            std::wstring result(dosName);
            ::HeapFree(::GetProcessHeap(), 0, dosName);
            return result;
        }
    }
    return fw::FromUtf8(path);
}
