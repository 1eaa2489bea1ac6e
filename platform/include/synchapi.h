// Synchronisation: critical sections.
//
// A critical section is a recursive lock of the threads of one process: the
// owning thread may enter it again and leaves it as often as it entered.
#pragma once

#include "windef.h"

typedef struct _RTL_CRITICAL_SECTION_DEBUG *PRTL_CRITICAL_SECTION_DEBUG;

typedef struct _RTL_CRITICAL_SECTION {
  PRTL_CRITICAL_SECTION_DEBUG DebugInfo;
  LONG LockCount;
  LONG RecursionCount;
  HANDLE OwningThread;
  HANDLE LockSemaphore;
  ULONG_PTR SpinCount;
} RTL_CRITICAL_SECTION, *PRTL_CRITICAL_SECTION;

typedef RTL_CRITICAL_SECTION CRITICAL_SECTION;
typedef PRTL_CRITICAL_SECTION PCRITICAL_SECTION, LPCRITICAL_SECTION;

EXTERN_C void WINAPI InitializeCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
EXTERN_C BOOL WINAPI InitializeCriticalSectionAndSpinCount(LPCRITICAL_SECTION lpCriticalSection, DWORD dwSpinCount);
EXTERN_C void WINAPI EnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
EXTERN_C BOOL WINAPI TryEnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
EXTERN_C void WINAPI LeaveCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
EXTERN_C void WINAPI DeleteCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
