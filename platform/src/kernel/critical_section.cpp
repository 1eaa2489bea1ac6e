// Critical sections: a recursive mutex per section, allocated when the
// section is initialised and kept in its LockSemaphore field.
#include <synchapi.h>

#include <mutex>
#include <new>

namespace {

std::recursive_mutex &LockOf(LPCRITICAL_SECTION section) {
  return *static_cast<std::recursive_mutex *>(section->LockSemaphore);
}

}  // namespace

// Fails (FALSE) only when the lock cannot be allocated.
extern "C" BOOL WINAPI InitializeCriticalSectionAndSpinCount(LPCRITICAL_SECTION lpCriticalSection, DWORD dwSpinCount) {
  *lpCriticalSection = {};
  lpCriticalSection->LockCount = -1;
  lpCriticalSection->SpinCount = dwSpinCount;
  lpCriticalSection->LockSemaphore = new (std::nothrow) std::recursive_mutex;
  return lpCriticalSection->LockSemaphore != nullptr;
}

extern "C" void WINAPI InitializeCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
  InitializeCriticalSectionAndSpinCount(lpCriticalSection, 0);
}

extern "C" void WINAPI EnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection) { LockOf(lpCriticalSection).lock(); }

extern "C" BOOL WINAPI TryEnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
  return LockOf(lpCriticalSection).try_lock();
}

extern "C" void WINAPI LeaveCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
  LockOf(lpCriticalSection).unlock();
}

extern "C" void WINAPI DeleteCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
  delete static_cast<std::recursive_mutex *>(lpCriticalSection->LockSemaphore);
  lpCriticalSection->LockSemaphore = nullptr;
}
