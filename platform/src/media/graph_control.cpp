// The filter graph manager's states (IMediaControl, IMediaFilter) and its
// reference clock.
#include <evcode.h>
#include <uuids.h>
#include <vfwmsgs.h>
#include <winbase.h>

#include <algorithm>
#include <chrono>

#include "media/filter_graph.h"
#include "media/graph_topology.h"
#include "media/system_clock.h"

namespace platform::media {
namespace {

// How long the pause watch waits on the filters before it looks whether a
// newer state command made it pointless.
constexpr DWORD kPauseWatchSliceMs = 100;

// The time left of a wait that started at start.
DWORD Remaining(DWORD timeoutMs, std::chrono::steady_clock::time_point start) {
  if (timeoutMs == INFINITE) return INFINITE;
  const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  return spent.count() >= timeoutMs ? 0 : timeoutMs - static_cast<DWORD>(spent.count());
}

}  // namespace

HRESULT FilterGraph::Run() {
  std::lock_guard lock(m_controlLock);
  TakeDefaultClockIfNone();
  return RunFrom(m_state == State_Running ? m_runStart : RunStartTime());
}

HRESULT FilterGraph::Run(REFERENCE_TIME tStart) {
  std::lock_guard lock(m_controlLock);
  TakeDefaultClockIfNone();
  return RunFrom(tStart);
}

// A running graph's stream time is held where the pause finds it.
HRESULT FilterGraph::Pause() {
  std::lock_guard lock(m_controlLock);
  TakeDefaultClockIfNone();
  const ULONG transition = ++m_transition;
  const auto ordered = DownstreamFirst(m_filters.Filters());
  if (m_state == State_Stopped) StartStreams(ordered);
  if (m_state == State_Running) HoldStreamTime();
  m_events.EndPlayback();
  const HRESULT hr = PauseFilters(ordered);
  if (FAILED(hr)) return hr;
  m_state = State_Paused;
  if (hr == S_OK) {
    m_events.Put({EC_PAUSED, S_OK, 0});
  } else {
    m_worker.Post([this, transition] { WatchPause(transition); });
  }
  return hr;
}

// The position stays where the filters stopped.
HRESULT FilterGraph::Stop() {
  std::lock_guard lock(m_controlLock);
  ++m_transition;
  if (m_state == State_Stopped) return S_OK;
  const REFERENCE_TIME position = PositionNow();
  const HRESULT hr = StopFilters(DownstreamFirst(m_filters.Filters()));
  KeepPositionAcrossStop(position);
  return hr;
}

HRESULT FilterGraph::GetState(LONG msTimeout, OAFilterState *pfs) {
  if (!pfs) return E_POINTER;
  FILTER_STATE state = State_Stopped;
  const HRESULT hr = GetState(static_cast<DWORD>(msTimeout), &state);
  *pfs = state;
  return hr;
}

HRESULT FilterGraph::GetState(DWORD dwMilliSecsTimeout, FILTER_STATE *State) {
  if (!State) return E_POINTER;
  {
    std::lock_guard lock(m_controlLock);
    *State = m_state;
  }
  return *State == State_Stopped ? S_OK : WaitForFilters(dwMilliSecsTimeout);
}

HRESULT FilterGraph::RenderFile(BSTR strFilename) { return RenderFile(strFilename, nullptr); }

HRESULT FilterGraph::AddSourceFilter(BSTR, IDispatch **ppUnk) {
  if (!ppUnk) return E_POINTER;
  *ppUnk = nullptr;
  return E_NOTIMPL;
}

// The automation collections of filters are not offered.
HRESULT FilterGraph::get_FilterCollection(IDispatch **ppUnk) {
  if (!ppUnk) return E_POINTER;
  *ppUnk = nullptr;
  return E_NOTIMPL;
}

HRESULT FilterGraph::get_RegFilterCollection(IDispatch **ppUnk) {
  if (!ppUnk) return E_POINTER;
  *ppUnk = nullptr;
  return E_NOTIMPL;
}

// Pauses, waits until every filter has finished pausing, and stops.
HRESULT FilterGraph::StopWhenReady() {
  const HRESULT hr = Pause();
  if (FAILED(hr)) return hr;
  FILTER_STATE state = State_Paused;
  GetState(INFINITE, &state);
  return Stop();
}

HRESULT FilterGraph::SetSyncSource(IReferenceClock *pClock) {
  std::lock_guard lock(m_controlLock);
  if (m_state != State_Stopped) return VFW_E_NOT_STOPPED;
  UseClock(pClock);
  return S_OK;
}

// Renderers' clocks come first (an audio renderer paces the graph), then
// any other filter's, then the system clock.
HRESULT FilterGraph::SetDefaultSyncSource() {
  std::lock_guard lock(m_controlLock);
  if (m_state != State_Stopped) return VFW_E_NOT_STOPPED;
  auto filters = m_filters.Filters();
  std::stable_partition(filters.begin(), filters.end(), [](const auto &filter) { return IsRenderer(filter.Get()); });
  for (const auto &filter : filters) {
    IReferenceClock *clock = nullptr;
    if (SUCCEEDED(filter->QueryInterface(IID_IReferenceClock, reinterpret_cast<void **>(&clock))) && clock) {
      UseClock(clock);
      clock->Release();
      return S_OK;
    }
  }
  IReferenceClock *system = nullptr;
  const HRESULT hr = SystemClock::Create(nullptr, IID_IReferenceClock, reinterpret_cast<void **>(&system));
  if (FAILED(hr)) return hr;
  UseClock(system);
  system->Release();
  return S_OK;
}

HRESULT FilterGraph::GetSyncSource(IReferenceClock **pClock) {
  if (!pClock) return E_POINTER;
  std::lock_guard lock(m_controlLock);
  *pClock = com::ComPtr<IReferenceClock>(m_clock).Detach();
  return S_OK;
}

// From Stopped the filters pause first; a filter that fails stops them all.
HRESULT FilterGraph::RunFrom(REFERENCE_TIME start) {
  ++m_transition;
  const auto ordered = DownstreamFirst(m_filters.Filters());
  HRESULT hr = S_OK;
  if (m_state == State_Stopped) {
    StartStreams(ordered);
    if (FAILED(hr = PauseFilters(ordered))) return hr;
  }
  m_events.BeginPlayback();
  const HRESULT ran = RunFilters(ordered, start);
  if (FAILED(ran)) return ran;
  m_state = State_Running;
  return hr == S_FALSE ? hr : ran;
}

HRESULT FilterGraph::RunFilters(const std::vector<com::ComPtr<IBaseFilter>> &ordered, REFERENCE_TIME start) {
  m_runStart = start;
  HRESULT hr = S_OK;
  for (const auto &filter : ordered) {
    const HRESULT ran = filter->Run(start);
    if (FAILED(ran)) {
      StopFilters(ordered);
      return ran;
    }
    if (ran == S_FALSE) hr = S_FALSE;
  }
  return hr;
}

HRESULT FilterGraph::PauseFilters(const std::vector<com::ComPtr<IBaseFilter>> &ordered) {
  HRESULT hr = S_OK;
  for (const auto &filter : ordered) {
    const HRESULT paused = filter->Pause();
    if (FAILED(paused)) {
      StopFilters(ordered);
      return paused;
    }
    if (paused == S_FALSE) hr = S_FALSE;
  }
  return hr;
}

// Every filter is stopped, whatever one of them answers; the first failure
// is the result.
HRESULT FilterGraph::StopFilters(const std::vector<com::ComPtr<IBaseFilter>> &ordered) {
  m_completion.Stop();
  m_events.EndPlayback();
  HRESULT hr = S_OK;
  for (const auto &filter : ordered) {
    const HRESULT stopped = filter->Stop();
    if (FAILED(stopped) && SUCCEEDED(hr)) hr = stopped;
  }
  m_state = State_Stopped;
  return hr;
}

// Leaving Stopped: the ends of stream to wait for are counted from here.
void FilterGraph::StartStreams(const std::vector<com::ComPtr<IBaseFilter>> &filters) {
  m_completion.Start(ConnectedRenderers(filters).size());
}

// Asks every filter, within one time-out for all: VFW_S_STATE_INTERMEDIATE
// when one has not finished its transition, VFW_S_CANT_CUE when one cannot
// cue data while paused.
HRESULT FilterGraph::WaitForFilters(DWORD timeoutMs) {
  std::vector<com::ComPtr<IBaseFilter>> filters;
  {
    std::lock_guard lock(m_controlLock);
    filters = m_filters.Filters();
  }
  const auto start = std::chrono::steady_clock::now();
  HRESULT result = S_OK;
  for (const auto &filter : filters) {
    FILTER_STATE state;
    const HRESULT hr = filter->GetState(Remaining(timeoutMs, start), &state);
    if (FAILED(hr)) return hr;
    if (hr == VFW_S_STATE_INTERMEDIATE || (hr == VFW_S_CANT_CUE && result == S_OK)) result = hr;
  }
  return result;
}

// On the worker thread: EC_PAUSED once every filter has finished pausing,
// unless another state command came meanwhile.
void FilterGraph::WatchPause(ULONG transition) {
  HRESULT hr = VFW_S_STATE_INTERMEDIATE;
  while (m_transition == transition && (hr = WaitForFilters(kPauseWatchSliceMs)) == VFW_S_STATE_INTERMEDIATE) {
  }
  std::lock_guard lock(m_controlLock);
  if (m_transition == transition && m_state == State_Paused) m_events.Put({EC_PAUSED, SUCCEEDED(hr) ? S_OK : hr, 0});
}

// A graph never given a clock takes the default one as it leaves Stopped.
void FilterGraph::TakeDefaultClockIfNone() {
  if (m_state == State_Stopped && !m_clockChosen) SetDefaultSyncSource();
}

// The graph and its filters take the clock.
void FilterGraph::UseClock(IReferenceClock *clock) {
  for (const auto &filter : m_filters.Filters()) filter->SetSyncSource(clock);
  m_clock = com::ComPtr<IReferenceClock>(clock);
  m_clockChosen = true;
}

// A filter that leaves the graph gives its clock back; when it was the
// graph's, the graph has none chosen any more.
void FilterGraph::ForgetClockOf(IBaseFilter *filter) {
  filter->SetSyncSource(nullptr);
  IReferenceClock *own = nullptr;
  if (FAILED(filter->QueryInterface(IID_IReferenceClock, reinterpret_cast<void **>(&own))) || !own) return;
  const bool graphs = own == m_clock.Get();
  own->Release();
  if (!graphs) return;
  UseClock(nullptr);
  m_clockChosen = false;
}

// 0 when unclocked.
REFERENCE_TIME FilterGraph::ClockTime() {
  REFERENCE_TIME now = 0;
  if (m_clock) m_clock->GetTime(&now);
  return now;
}

// Stream time goes on from where it was held.
REFERENCE_TIME FilterGraph::RunStartTime() { return ClockTime() - m_streamTimeHeld; }

}  // namespace platform::media
