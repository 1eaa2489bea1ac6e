// COM for applications: the runtime of combaseapi.h, CoInitialize with its
// apartment models, structured storage, monikers, bind contexts and the
// Running Object Table.
#pragma once

#include "cguid.h"
#include "combaseapi.h"
#include "coml2api.h"
#include "objidl.h"

typedef enum tagCOINIT {
  COINIT_APARTMENTTHREADED = 0x2,
  COINIT_MULTITHREADED = COINITBASE_MULTITHREADED,
  COINIT_DISABLE_OLE1DDE = 0x4,
  COINIT_SPEED_OVER_MEMORY = 0x8
} COINIT;

// CoInitializeEx(pvReserved, COINIT_APARTMENTTHREADED): the calling thread
// enters a single-threaded apartment.
WINOLEAPI CoInitialize(LPVOID pvReserved);

// The table of the objects running on this desktop, by moniker.
WINOLEAPI GetRunningObjectTable(DWORD reserved, LPRUNNINGOBJECTTABLE *pprot);

// A moniker that names an item: its display name is lpszDelim followed by
// lpszItem, and two item monikers are equal when their items are, ignoring case.
WINOLEAPI CreateItemMoniker(LPCOLESTR lpszDelim, LPCOLESTR lpszItem, LPMONIKER *ppmk);
WINOLEAPI CreateBindCtx(DWORD reserved, LPBC *ppbc);
