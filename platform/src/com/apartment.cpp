// COM apartments: which threads have entered COM, and in which model.
//
// A thread's first successful CoInitializeEx gives S_OK and fixes its model
// (single-threaded apartment or multithreaded); later calls in the same model
// give S_FALSE and are counted, a call in the other model is refused with
// RPC_E_CHANGED_MODE and not counted. The thread leaves COM when
// CoUninitialize has balanced every counted call. When the last thread of the
// process leaves COM, the in-process server libraries are unloaded.
#include "com/apartment.h"

#include <atomic>

#include "com/inproc_servers.h"

namespace {

struct ThreadApartment {
  ULONG initializations = 0;
  bool singleThreaded = false;
};

thread_local ThreadApartment t_apartment;
std::atomic<ULONG> g_threadsInCom{0};

}  // namespace

namespace platform::com {

bool ThreadHasCom() { return t_apartment.initializations > 0; }

}  // namespace platform::com

extern "C" HRESULT CoInitializeEx(LPVOID pvReserved, DWORD dwCoInit) {
  if (pvReserved) return E_INVALIDARG;
  const bool singleThreaded = (dwCoInit & COINIT_APARTMENTTHREADED) != 0;
  if (t_apartment.initializations == 0) {
    t_apartment = {1, singleThreaded};
    ++g_threadsInCom;
    return S_OK;
  }
  if (t_apartment.singleThreaded != singleThreaded) return RPC_E_CHANGED_MODE;
  ++t_apartment.initializations;
  return S_FALSE;
}

extern "C" HRESULT CoInitialize(LPVOID pvReserved) { return CoInitializeEx(pvReserved, COINIT_APARTMENTTHREADED); }

extern "C" void CoUninitialize(void) {
  if (t_apartment.initializations == 0) return;
  if (--t_apartment.initializations == 0 && --g_threadsInCom == 0) platform::com::UnloadAllServers();
}
