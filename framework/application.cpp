#include "framework/application.h"

#include <windows.h>

namespace fw {
namespace {

std::wstring ProgramBaseName() {
    wchar_t path[MAX_PATH]{};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name(path, length);
    if (const size_t slash = name.find_last_of(L"\\/"); slash != std::wstring::npos)
        name.erase(0, slash + 1);
    if (const size_t dot = name.find_last_of(L'.'); dot != std::wstring::npos)
        name.erase(dot);
    return name;
}

} // namespace

HINSTANCE ResourceInstance() noexcept {
    return ::GetModuleHandleW(nullptr);
}

std::wstring ProgramFolder() {
    // Grow the buffer until the whole path fits: a cut path would name the
    // wrong folder.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        if (path.size() >= 32768)
            return {};
        path.resize(path.size() * 2);
    }
    const size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

Application::Application() : m_appName(ProgramBaseName()) {}

void Application::SetRegistryKey(const std::wstring& key) {
    m_profile = Profile(L"Software\\" + key + L"\\" + m_appName);
}

int Application::Run(HINSTANCE instance, const wchar_t* commandLine) {
    m_instance = instance;
    m_commandLine = commandLine ? commandLine : L"";
    if (InitInstance()) {
        MSG msg{};
        while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        m_exitCode = static_cast<int>(msg.wParam);
    }
    return ExitInstance();
}

} // namespace fw
