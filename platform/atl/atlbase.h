// The ATL subset: assertions and trace lines, locks, COM client classes and
// the module classes, written on the Windows API alone.
//
// Module state. Each module (the program, or an in-process server) has its
// own:
// - _AtlBaseModule: the module's instance handle and the instance its
//   resources are loaded from, both GetModuleHandleW(NULL) at start-up;
// - _AtlWinModule: the window-support state, the records of windows being
//   created (a window object registers itself before CreateWindowExW or
//   DialogBoxParamW and its window procedure takes the record back on the
//   first message, on the same thread), guarded by a critical section.
//   Term() ends it; the program calls it once its windows are gone;
// - _pAtlModule: the module object, an instance of a class derived from
//   CAtlModule that the program defines (one per module).
#pragma once

#include <windows.h>
#include <ole2.h>

#include <atomic>
#include <utility>

#include "atlcomcli.h"
#include "atlcore.h"
#include "atldef.h"
#include "atlexcept.h"
#include "atltrace.h"

// Module state stays inside its module, as it does on Windows, even where
// the dynamic linker would merge equal symbols of different modules.
#if defined(__GNUC__) && !defined(_WIN32)
#define _ATL_MODULE_LOCAL __attribute__((visibility("hidden")))
#else
#define _ATL_MODULE_LOCAL
#endif

namespace ATL {

class CAtlBaseModule {
 public:
  CAtlBaseModule() noexcept : m_hInst(::GetModuleHandleW(NULL)), m_hInstResource(m_hInst) {}

  HINSTANCE GetModuleInstance() const noexcept { return m_hInst; }
  HINSTANCE GetResourceInstance() const noexcept { return m_hInstResource; }
  // Returns the instance used before.
  HINSTANCE SetResourceInstance(HINSTANCE hInst) noexcept { return std::exchange(m_hInstResource, hInst); }

 private:
  HINSTANCE m_hInst;
  HINSTANCE m_hInstResource;
};

// The record of one window being created: its object and its thread.
struct _AtlCreateWndData {
  void *m_pThis;
  DWORD m_dwThreadID;
  _AtlCreateWndData *m_pNext;
};

class CAtlWinModule {
 public:
  CAtlWinModule() noexcept : cbSize(sizeof(CAtlWinModule)), m_pCreateWndList(NULL) {
    const HRESULT hr = m_csWindowCreate.Init();
    ATLASSERT(SUCCEEDED(hr));
    if (FAILED(hr)) cbSize = 0;
  }
  ~CAtlWinModule() { Term(); }
  CAtlWinModule(const CAtlWinModule &) = delete;
  CAtlWinModule &operator=(const CAtlWinModule &) = delete;

  // Records that the calling thread is creating the window of pObject.
  void AddCreateWndData(_AtlCreateWndData *pData, void *pObject) noexcept {
    ATLASSERT(pData != NULL && pObject != NULL);
    pData->m_pThis = pObject;
    pData->m_dwThreadID = ::GetCurrentThreadId();
    CComCritSecLock<CComCriticalSection> lock(m_csWindowCreate);
    pData->m_pNext = m_pCreateWndList;
    m_pCreateWndList = pData;
  }

  // Takes back the calling thread's most recent record and returns its
  // object; NULL when the thread has none.
  void *ExtractCreateWndData() noexcept {
    const DWORD dwThreadID = ::GetCurrentThreadId();
    CComCritSecLock<CComCriticalSection> lock(m_csWindowCreate);
    for (_AtlCreateWndData **ppEntry = &m_pCreateWndList; *ppEntry != NULL; ppEntry = &(*ppEntry)->m_pNext) {
      _AtlCreateWndData *pEntry = *ppEntry;
      if (pEntry->m_dwThreadID == dwThreadID) {
        *ppEntry = pEntry->m_pNext;
        return pEntry->m_pThis;
      }
    }
    return NULL;
  }

  // Ends the window support: releases the lock. Later calls do nothing.
  void Term() noexcept {
    if (cbSize == 0) return;
    m_csWindowCreate.Term();
    cbSize = 0;
  }

  UINT cbSize;  // 0 once ended (or when the lock could not be set up)
  CComCriticalSection m_csWindowCreate;
  _AtlCreateWndData *m_pCreateWndList;  // guarded by m_csWindowCreate
};

class CAtlModule;

inline CAtlBaseModule _AtlBaseModule _ATL_MODULE_LOCAL;
inline CAtlWinModule _AtlWinModule _ATL_MODULE_LOCAL;
inline CAtlModule *_pAtlModule _ATL_MODULE_LOCAL = NULL;

// The module object: registers itself as _pAtlModule and keeps the
// module's lock count (the objects and locks that keep a server loaded).
class CAtlModule {
 public:
  CAtlModule() noexcept {
    ATLASSERT(_pAtlModule == NULL);
    _pAtlModule = this;
  }
  virtual ~CAtlModule() {
    if (_pAtlModule == this) _pAtlModule = NULL;
  }
  CAtlModule(const CAtlModule &) = delete;
  CAtlModule &operator=(const CAtlModule &) = delete;

  virtual LONG Lock() noexcept { return ++m_nLockCnt; }
  virtual LONG Unlock() noexcept { return --m_nLockCnt; }
  virtual LONG GetLockCount() noexcept { return m_nLockCnt; }

 protected:
  std::atomic<LONG> m_nLockCnt{0};
};

// The module class of a program or server T (T derives from it).
template <class T>
class CAtlModuleT : public CAtlModule {};

// The module class of a program T.
template <class T>
class CAtlExeModuleT : public CAtlModuleT<T> {
 public:
  // Enters the calling thread into a single-threaded apartment:
  // CoInitialize(NULL), whose result it returns.
  static HRESULT InitializeCom() noexcept { return ::CoInitialize(NULL); }
  static void UninitializeCom() noexcept { ::CoUninitialize(); }
};

}  // namespace ATL

#ifndef _ATL_NO_AUTOMATIC_NAMESPACE
using namespace ATL;
#endif
