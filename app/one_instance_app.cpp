#include "app/one_instance_app.h"

COneInstanceApp::COneInstanceApp(std::wstring instanceName)
    : m_mutexName(std::move(instanceName) + L"_Mutex_Object") {}

BOOL COneInstanceApp::InitInstance() {
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, m_mutexName.c_str());
    // Read the error before anything else can overwrite it.
    const DWORD error = ::GetLastError();
    m_mutex.reset(mutex);
    return mutex && error == ERROR_ALREADY_EXISTS ? FALSE : TRUE;
}

int COneInstanceApp::ExitInstance() {
    m_mutex.reset();
    return fw::Application::ExitInstance();
}
