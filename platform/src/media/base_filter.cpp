// BaseFilter: reference count, pins, name and graph, clock and states.
#include <platform_filters/base_filter.h>
#include <platform_filters/base_pin.h>

#include <objbase.h>
#include <vfwmsgs.h>
#include <winbase.h>

#include <atomic>
#include <mutex>
#include <utility>
#include <vector>

#include "com/com_object.h"
#include "media/enumerator.h"

namespace platform::media {

struct BaseFilter::Impl {
  explicit Impl(const CLSID &clsid) : clsid(clsid) {}

  std::vector<BasePin *> Pins() const {
    std::lock_guard lock(pinsLock);
    return pins;
  }

  com::ComPtr<IReferenceClock> Clock() const {
    std::lock_guard lock(clockLock);
    return clock;
  }

  const CLSID clsid;
  com::ReferenceCount references;
  std::mutex stateLock;
  std::atomic<FILTER_STATE> state{State_Stopped};
  std::atomic<REFERENCE_TIME> startTime{0};
  std::wstring name;                          // guarded by stateLock
  IFilterGraph *graph = nullptr;              // guarded by stateLock; not held
  std::atomic<IMediaEventSink *> eventSink{nullptr};  // the graph's; not held
  mutable std::mutex clockLock;               // a leaf
  com::ComPtr<IReferenceClock> clock;         // guarded by clockLock
  mutable std::mutex pinsLock;                // a leaf
  std::vector<BasePin *> pins;                // guarded by pinsLock
};

BaseFilter::BaseFilter(const CLSID &clsid) : m_impl(std::make_unique<Impl>(clsid)) {}

BaseFilter::~BaseFilter() = default;

HRESULT BaseFilter::QueryInterface(REFIID riid, void **ppv) {
  const HRESULT hr = com::QueryInterfaceAmong<IBaseFilter, IMediaFilter, IPersist>(this, riid, ppv);
  return hr == E_NOINTERFACE ? QueryFilterInterface(riid, ppv) : hr;
}

ULONG BaseFilter::AddRef() { return m_impl->references.Increment(); }

ULONG BaseFilter::Release() {
  const ULONG remaining = m_impl->references.Decrement();
  if (remaining == 0) delete this;
  return remaining;
}

HRESULT BaseFilter::GetClassID(CLSID *pClassID) {
  if (!pClassID) return E_POINTER;
  *pClassID = m_impl->clsid;
  return S_OK;
}

HRESULT BaseFilter::Stop() {
  std::lock_guard lock(m_impl->stateLock);
  if (m_impl->state == State_Stopped) return S_OK;
  m_impl->state = State_Stopped;
  for (BasePin *pin : m_impl->Pins()) pin->Inactive();
  OnStop();
  return S_OK;
}

HRESULT BaseFilter::Pause() {
  std::lock_guard lock(m_impl->stateLock);
  return PauseLocked();
}

// A pause that fails leaves the filter stopped.
HRESULT BaseFilter::PauseLocked() {
  const FILTER_STATE from = m_impl->state;
  m_impl->state = State_Paused;
  HRESULT hr = S_OK;
  if (from == State_Stopped) {
    for (BasePin *pin : m_impl->Pins()) {
      if (pin->IsConnected() && FAILED(hr = pin->Active())) break;
    }
  }
  if (SUCCEEDED(hr)) hr = OnPause(from);
  if (FAILED(hr)) {
    m_impl->state = State_Stopped;
    for (BasePin *pin : m_impl->Pins()) pin->Inactive();
  }
  return hr;
}

HRESULT BaseFilter::Run(REFERENCE_TIME tStart) {
  std::lock_guard lock(m_impl->stateLock);
  HRESULT paused = S_OK;
  if (m_impl->state == State_Stopped && FAILED(paused = PauseLocked())) return paused;
  m_impl->startTime = tStart;
  m_impl->state = State_Running;
  const HRESULT hr = OnRun(tStart);
  if (FAILED(hr)) return hr;
  return paused == S_FALSE || hr == S_FALSE ? S_FALSE : S_OK;
}

HRESULT BaseFilter::GetState(DWORD dwMilliSecsTimeout, FILTER_STATE *State) {
  if (!State) return E_POINTER;
  const HRESULT hr = WaitForTransition(dwMilliSecsTimeout);
  *State = m_impl->state;
  return hr;
}

// The clock that goes is released outside the clock lock, which stays a
// leaf: a filter's clock may be the filter itself.
HRESULT BaseFilter::SetSyncSource(IReferenceClock *pClock) {
  std::lock_guard stateLock(m_impl->stateLock);
  com::ComPtr<IReferenceClock> clock(pClock);
  std::lock_guard lock(m_impl->clockLock);
  std::swap(m_impl->clock, clock);
  return S_OK;
}

HRESULT BaseFilter::GetSyncSource(IReferenceClock **pClock) {
  if (!pClock) return E_POINTER;
  *pClock = m_impl->Clock().Detach();
  return S_OK;
}

HRESULT BaseFilter::EnumPins(IEnumPins **ppEnum) {
  if (!ppEnum) return E_POINTER;
  // The enumerator holds the filter, and with it the pins.
  com::ComPtr<IBaseFilter> self(this);
  Impl *impl = m_impl.get();
  EnumerationSource<com::ComPtr<IPin>> source{
      [self, impl] {
        std::vector<com::ComPtr<IPin>> pins;
        for (BasePin *pin : impl->Pins()) pins.emplace_back(pin);
        return pins;
      },
      [self, impl] { return static_cast<ULONG>(impl->Pins().size()); }};
  *ppEnum = SnapshotEnumerator<IEnumPins, com::ComPtr<IPin>, IPin *, &AddedReference<IPin>>::Create(std::move(source));
  return S_OK;
}

HRESULT BaseFilter::FindPin(LPCWSTR Id, IPin **ppPin) {
  if (!Id || !ppPin) return E_POINTER;
  *ppPin = nullptr;
  for (BasePin *pin : m_impl->Pins()) {
    if (pin->Name() == Id) {
      *ppPin = com::ComPtr<IPin>(pin).Detach();
      return S_OK;
    }
  }
  return VFW_E_NOT_FOUND;
}

HRESULT BaseFilter::QueryFilterInfo(FILTER_INFO *pInfo) {
  if (!pInfo) return E_POINTER;
  std::lock_guard lock(m_impl->stateLock);
  lstrcpynW(pInfo->achName, m_impl->name.c_str(), MAX_FILTER_NAME);
  pInfo->pGraph = m_impl->graph;
  if (pInfo->pGraph) pInfo->pGraph->AddRef();
  return S_OK;
}

// The graph's event sink is looked up once; neither is held, as the graph
// holds the filter.
HRESULT BaseFilter::JoinFilterGraph(IFilterGraph *pGraph, LPCWSTR pName) {
  std::lock_guard lock(m_impl->stateLock);
  m_impl->graph = pGraph;
  m_impl->name = pGraph && pName ? pName : L"";
  IMediaEventSink *sink = nullptr;
  if (pGraph && SUCCEEDED(pGraph->QueryInterface(IID_IMediaEventSink, reinterpret_cast<void **>(&sink)))) {
    sink->Release();
  }
  m_impl->eventSink = sink;
  return S_OK;
}

HRESULT BaseFilter::QueryVendorInfo(LPWSTR *pVendorInfo) {
  if (!pVendorInfo) return E_POINTER;
  *pVendorInfo = nullptr;
  return E_NOTIMPL;
}

FILTER_STATE BaseFilter::State() const { return m_impl->state; }

REFERENCE_TIME BaseFilter::StartTime() const { return m_impl->startTime; }

HRESULT BaseFilter::StreamTime(REFERENCE_TIME *time) const {
  *time = 0;
  const com::ComPtr<IReferenceClock> clock = m_impl->Clock();
  if (!clock) return VFW_E_NO_CLOCK;
  REFERENCE_TIME now = 0;
  const HRESULT hr = clock->GetTime(&now);
  if (FAILED(hr)) return hr;
  *time = now - m_impl->startTime;
  return S_OK;
}

HRESULT BaseFilter::NotifyEvent(LONG code, LONG_PTR param1, LONG_PTR param2) {
  IMediaEventSink *sink = m_impl->eventSink;
  return sink ? sink->Notify(code, param1, param2) : E_NOTIMPL;
}

void BaseFilter::AddPin(BasePin *pin) {
  std::lock_guard lock(m_impl->pinsLock);
  m_impl->pins.push_back(pin);
}

HRESULT BaseFilter::OnPause(FILTER_STATE) { return S_OK; }
HRESULT BaseFilter::OnRun(REFERENCE_TIME) { return S_OK; }
void BaseFilter::OnStop() {}
HRESULT BaseFilter::WaitForTransition(DWORD) { return S_OK; }
HRESULT BaseFilter::QueryFilterInterface(REFIID, void **ppv) {
  *ppv = nullptr;
  return E_NOINTERFACE;
}

}  // namespace platform::media
