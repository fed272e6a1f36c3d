#include "common/notifier.h"

#include <windows.h>

namespace {

// Initialised on first use, so that notifiers in static objects are safe.
CRITICAL_SECTION& NotifierLock() {
    static struct Section {
        Section() { ::InitializeCriticalSection(&section); }
        ~Section() { ::DeleteCriticalSection(&section); }
        CRITICAL_SECTION section;
    } lock;
    return lock.section;
}

} // namespace

CNotifierBase::Lock::Lock() noexcept {
    ::EnterCriticalSection(&NotifierLock());
}
CNotifierBase::Lock::~Lock() {
    ::LeaveCriticalSection(&NotifierLock());
}
