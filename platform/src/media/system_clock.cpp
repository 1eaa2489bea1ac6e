// The system reference clock and its advise thread.
#include "media/system_clock.h"

#include <uuids.h>
#include <winbase.h>

#include <algorithm>
#include <chrono>
#include <limits>

#include "com/builtin_classes.h"

namespace platform::media {
namespace {

using Ticks = std::chrono::duration<REFERENCE_TIME, std::ratio<1, 10000000>>;

constexpr REFERENCE_TIME kMaxTime = std::numeric_limits<REFERENCE_TIME>::max();

REFERENCE_TIME MonotonicNow() {
  return std::chrono::duration_cast<Ticks>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The advise thread looks at the requests at least this often, so that a
// wait for a far time needs no conversion that could overflow.
constexpr REFERENCE_TIME kLongestSleep = 3600 * REFERENCE_TIME{10000000};

}  // namespace

HRESULT SystemClock::Create(IUnknown *outer, REFIID riid, void **ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  auto *clock = new SystemClock();
  const HRESULT hr = clock->QueryInterface(riid, ppv);
  clock->Release();
  return hr;
}

SystemClock::~SystemClock() {
  {
    std::lock_guard lock(m_lock);
    m_stopping = true;
    m_changed.notify_all();
  }
  if (m_thread.joinable()) m_thread.join();
}

HRESULT SystemClock::QueryInterface(REFIID riid, void **ppv) {
  return com::QueryInterfaceAmong<IReferenceClock>(this, riid, ppv);
}

ULONG SystemClock::AddRef() { return m_references.Increment(); }

ULONG SystemClock::Release() {
  const ULONG remaining = m_references.Decrement();
  if (remaining == 0) delete this;
  return remaining;
}

HRESULT SystemClock::GetTime(REFERENCE_TIME *pTime) {
  if (!pTime) return E_POINTER;
  const REFERENCE_TIME now = MonotonicNow();
  REFERENCE_TIME last = m_lastTime;
  while (now > last && !m_lastTime.compare_exchange_weak(last, now)) {
  }
  *pTime = now > last ? now : last;
  return now > last ? S_OK : S_FALSE;
}

HRESULT SystemClock::AdviseTime(REFERENCE_TIME baseTime, REFERENCE_TIME streamTime, HEVENT hEvent,
                                DWORD_PTR *pdwAdviseCookie) {
  if (!pdwAdviseCookie) return E_POINTER;
  *pdwAdviseCookie = 0;
  REFERENCE_TIME due = 0;
  if (__builtin_add_overflow(baseTime, streamTime, &due) || due <= 0 || due == kMaxTime || !hEvent) {
    return E_INVALIDARG;
  }
  return Add({due, 0, hEvent}, pdwAdviseCookie);
}

HRESULT SystemClock::AdvisePeriodic(REFERENCE_TIME startTime, REFERENCE_TIME periodTime, HSEMAPHORE hSemaphore,
                                    DWORD_PTR *pdwAdviseCookie) {
  if (!pdwAdviseCookie) return E_POINTER;
  *pdwAdviseCookie = 0;
  if (startTime < 0 || periodTime <= 0 || startTime == kMaxTime || !hSemaphore) return E_INVALIDARG;
  return Add({startTime, periodTime, hSemaphore}, pdwAdviseCookie);
}

HRESULT SystemClock::Unadvise(DWORD_PTR dwAdviseCookie) {
  std::lock_guard lock(m_lock);
  return m_requests.erase(dwAdviseCookie) ? S_OK : S_FALSE;
}

HRESULT SystemClock::Add(const Request &request, DWORD_PTR *cookie) {
  std::lock_guard lock(m_lock);
  *cookie = m_nextCookie++;
  m_requests.emplace(*cookie, request);
  if (!m_thread.joinable()) m_thread = std::thread([this] { Serve(); });
  m_changed.notify_all();
  return S_OK;
}

// Sleeps until the earliest request is due or the requests change.
void SystemClock::Serve() {
  std::unique_lock lock(m_lock);
  while (!m_stopping) {
    SignalDue(MonotonicNow());
    if (m_requests.empty()) {
      m_changed.wait(lock);
      continue;
    }
    const REFERENCE_TIME now = MonotonicNow();
    REFERENCE_TIME sleep = kLongestSleep;
    for (const auto &[cookie, request] : m_requests) sleep = std::min(sleep, request.due - now);
    m_changed.wait_for(lock, Ticks(std::max<REFERENCE_TIME>(sleep, 0)));
  }
}

// With the lock held. A periodic request that fell behind by several
// periods is released once and goes on from its next period to come.
void SystemClock::SignalDue(REFERENCE_TIME now) {
  for (auto it = m_requests.begin(); it != m_requests.end();) {
    Request &request = it->second;
    if (request.due > now) {
      ++it;
    } else if (request.period == 0) {
      SetEvent(reinterpret_cast<HANDLE>(request.handle));
      it = m_requests.erase(it);
    } else {
      ReleaseSemaphore(reinterpret_cast<HANDLE>(request.handle), 1, nullptr);
      const REFERENCE_TIME missed = (now - request.due) / request.period;
      REFERENCE_TIME advance = 0;
      if (__builtin_mul_overflow(missed + 1, request.period, &advance) ||
          __builtin_add_overflow(request.due, advance, &request.due)) {
        request.due = kMaxTime;
      }
      ++it;
    }
  }
}

namespace {

const bool kRegistered =
    com::AddBuiltinClass({&CLSID_SystemClock, L"System Reference Clock", L"Both", &SystemClock::Create});

}  // namespace

}  // namespace platform::media
