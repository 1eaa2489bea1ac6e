// ATL locks: CComCriticalSection over a Windows critical section, and
// CComCritSecLock, the guard that holds one for a scope.
#pragma once

#include <windows.h>
#include <synchapi.h>

namespace ATL {

// Init before first use and Term after last use; Init fails only when the
// system cannot allocate the lock.
class CComCriticalSection {
 public:
  CComCriticalSection() noexcept : m_sec() {}
  CComCriticalSection(const CComCriticalSection &) = delete;
  CComCriticalSection &operator=(const CComCriticalSection &) = delete;

  HRESULT Init() noexcept { return ::InitializeCriticalSectionAndSpinCount(&m_sec, 0) ? S_OK : E_OUTOFMEMORY; }
  HRESULT Term() noexcept {
    ::DeleteCriticalSection(&m_sec);
    return S_OK;
  }
  HRESULT Lock() noexcept {
    ::EnterCriticalSection(&m_sec);
    return S_OK;
  }
  HRESULT Unlock() noexcept {
    ::LeaveCriticalSection(&m_sec);
    return S_OK;
  }

  CRITICAL_SECTION m_sec;
};

// Holds the lock from construction to destruction.
template <class TLock>
class CComCritSecLock {
 public:
  explicit CComCritSecLock(TLock &cs) noexcept : m_cs(cs) { m_cs.Lock(); }
  ~CComCritSecLock() { m_cs.Unlock(); }
  CComCritSecLock(const CComCritSecLock &) = delete;
  CComCritSecLock &operator=(const CComCritSecLock &) = delete;

 private:
  TLock &m_cs;
};

}  // namespace ATL
