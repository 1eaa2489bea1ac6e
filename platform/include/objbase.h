// COM for applications: the runtime of combaseapi.h, CoInitialize with its
// apartment models, and the Running Object Table.
#pragma once

#include "combaseapi.h"
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
