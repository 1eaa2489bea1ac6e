// The system reference clock (CLSID_SystemClock): IReferenceClock on the
// machine's monotonic clock, in 100-nanosecond units. Every instance reads
// the same time, so clocks made by different graphs agree; the time never
// goes backwards.
//
// Advise requests are served by a thread of the clock's own, started with
// the first request: AdviseTime sets an event once at the time asked (at
// once when it has passed), AdvisePeriodic releases a semaphore by one at
// its start time and then once a period, until Unadvise. The handles are
// the caller's kernel objects; the clock does not hold them, and a handle
// closed meanwhile is signalled in vain. Once Unadvise returns, the request
// signals nothing more.
//
// Locks: the clock's lock guards the requests; it is held while signalling
// (kernel objects' locks are leaves).
#pragma once

#include <strmif.h>

#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

#include "com/com_object.h"

namespace platform::media {

class SystemClock final : public IReferenceClock {
 public:
  static HRESULT Create(IUnknown *outer, REFIID riid, void **ppv);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // S_FALSE when the time is the same as the one given last.
  HRESULT STDMETHODCALLTYPE GetTime(REFERENCE_TIME *pTime) override;
  // E_INVALIDARG unless 0 < baseTime + streamTime < MAX_TIME.
  HRESULT STDMETHODCALLTYPE AdviseTime(REFERENCE_TIME baseTime, REFERENCE_TIME streamTime, HEVENT hEvent,
                                       DWORD_PTR *pdwAdviseCookie) override;
  // E_INVALIDARG unless the start is not negative and the period positive.
  HRESULT STDMETHODCALLTYPE AdvisePeriodic(REFERENCE_TIME startTime, REFERENCE_TIME periodTime,
                                           HSEMAPHORE hSemaphore, DWORD_PTR *pdwAdviseCookie) override;
  // S_FALSE for a request that is not (or no longer) there.
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD_PTR dwAdviseCookie) override;

 private:
  struct Request {
    REFERENCE_TIME due;
    REFERENCE_TIME period;  // 0 for a one-shot request
    DWORD_PTR handle;
  };

  SystemClock() = default;
  ~SystemClock();

  HRESULT Add(const Request &request, DWORD_PTR *cookie);
  void Serve();
  void SignalDue(REFERENCE_TIME now);

  com::ReferenceCount m_references;
  std::atomic<REFERENCE_TIME> m_lastTime{0};
  std::mutex m_lock;
  std::condition_variable m_changed;
  std::map<DWORD_PTR, Request> m_requests;  // guarded by m_lock
  DWORD_PTR m_nextCookie = 1;               // guarded by m_lock
  bool m_stopping = false;                  // guarded by m_lock
  std::thread m_thread;                     // started under m_lock
};

}  // namespace platform::media
