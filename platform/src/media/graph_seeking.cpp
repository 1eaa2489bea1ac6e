// The filter graph manager's positions (IMediaSeeking): asked of the
// renderers, which pass them upstream to the source, and kept across the
// graph's states.
#include <vfwmsgs.h>

#include <algorithm>
#include <optional>

#include "media/filter_graph.h"
#include "media/graph_topology.h"

namespace platform::media {
namespace {

// Asks each renderer: the values of those that answer S_OK, combined, or
// E_NOTIMPL when none does.
template <typename Ask, typename Combine>
HRESULT AskRenderers(const std::vector<com::ComPtr<IMediaSeeking>> &renderers, LONGLONG *result, Ask ask,
                     Combine combine) {
  std::optional<LONGLONG> combined;
  for (const auto &renderer : renderers) {
    LONGLONG value = 0;
    if (ask(renderer.Get(), &value) != S_OK) continue;
    combined = combined ? combine(*combined, value) : value;
  }
  if (!combined) return E_NOTIMPL;
  *result = *combined;
  return S_OK;
}

LONGLONG Longest(LONGLONG a, LONGLONG b) { return std::max(a, b); }
LONGLONG Earliest(LONGLONG a, LONGLONG b) { return std::min(a, b); }

HRESULT AskDuration(IMediaSeeking *seeking, LONGLONG *value) { return seeking->GetDuration(value); }
HRESULT AskStop(IMediaSeeking *seeking, LONGLONG *value) { return seeking->GetStopPosition(value); }
HRESULT AskCurrent(IMediaSeeking *seeking, LONGLONG *value) { return seeking->GetCurrentPosition(value); }
HRESULT AskEarliest(IMediaSeeking *seeking, LONGLONG *value) { return seeking->GetAvailable(value, nullptr); }
HRESULT AskLatest(IMediaSeeking *seeking, LONGLONG *value) { return seeking->GetAvailable(nullptr, value); }

// The renderers are given absolute positions, or none.
DWORD AbsoluteOrNone(DWORD flags) { return Moves(flags) ? AM_SEEKING_AbsolutePositioning : AM_SEEKING_NoPositioning; }

}  // namespace

// What every renderer can do.
HRESULT FilterGraph::GetCapabilities(DWORD *pCapabilities) {
  if (!pCapabilities) return E_POINTER;
  std::lock_guard lock(m_controlLock);
  const auto renderers = SeekingRenderers();
  DWORD common = renderers.empty() ? 0 : ~DWORD{0};
  for (const auto &renderer : renderers) {
    DWORD capabilities = 0;
    if (renderer->GetCapabilities(&capabilities) != S_OK) capabilities = 0;
    common &= capabilities;
  }
  *pCapabilities = common;
  return S_OK;
}

HRESULT FilterGraph::SetTimeFormat(const GUID *pFormat) {
  if (!pFormat) return E_POINTER;
  std::lock_guard lock(m_controlLock);
  if (m_state != State_Stopped) return VFW_E_WRONG_STATE;
  return MediaTimeSeeking::SetTimeFormat(pFormat);
}

HRESULT FilterGraph::GetDuration(LONGLONG *pDuration) {
  if (!pDuration) return E_POINTER;
  std::lock_guard lock(m_controlLock);
  return AskRenderers(SeekingRenderers(), pDuration, AskDuration, Longest);
}

HRESULT FilterGraph::GetStopPosition(LONGLONG *pStop) {
  if (!pStop) return E_POINTER;
  std::lock_guard lock(m_controlLock);
  return AskRenderers(SeekingRenderers(), pStop, AskStop, Longest);
}

HRESULT FilterGraph::GetCurrentPosition(LONGLONG *pCurrent) {
  if (!pCurrent) return E_POINTER;
  std::lock_guard lock(m_controlLock);
  *pCurrent = PositionNow();
  return S_OK;
}

// The positions asked for are worked out against the graph's own, then
// given to every renderer as absolute ones.
HRESULT FilterGraph::SetPositions(LONGLONG *pCurrent, DWORD dwCurrentFlags, LONGLONG *pStop, DWORD dwStopFlags) {
  std::lock_guard lock(m_controlLock);
  SeekPositions present{PositionNow(), 0};
  if (GetStopPosition(&present.stop) != S_OK) return E_NOTIMPL;
  SeekPositions wanted;
  HRESULT hr = ResolvePositions(present, pCurrent, dwCurrentFlags, pStop, dwStopFlags, &wanted);
  if (FAILED(hr)) return hr;
  const bool moves = Moves(dwCurrentFlags);
  const bool running = m_state == State_Running && moves;
  const auto ordered = DownstreamFirst(m_filters.Filters());
  if (running) {
    HoldStreamTime();
    if (FAILED(hr = PauseFilters(ordered))) return hr;
  }
  hr = MoveRenderers(wanted.current, AbsoluteOrNone(dwCurrentFlags), wanted.stop, AbsoluteOrNone(dwStopFlags));
  if (SUCCEEDED(hr) && moves) RestartSegment(wanted.current);
  if (running) {
    m_events.BeginPlayback();
    const HRESULT ran = RunFilters(ordered, RunStartTime());
    if (FAILED(ran)) return ran;
  }
  if (SUCCEEDED(hr)) ReturnPositions({PositionNow(), wanted.stop}, pCurrent, dwCurrentFlags, pStop, dwStopFlags);
  return hr;
}

HRESULT FilterGraph::GetAvailable(LONGLONG *pEarliest, LONGLONG *pLatest) {
  std::lock_guard lock(m_controlLock);
  const auto renderers = SeekingRenderers();
  LONGLONG earliest = 0, latest = 0;
  HRESULT hr = AskRenderers(renderers, &earliest, AskEarliest, Earliest);
  if (SUCCEEDED(hr)) hr = AskRenderers(renderers, &latest, AskLatest, Longest);
  if (FAILED(hr)) return hr;
  if (pEarliest) *pEarliest = earliest;
  if (pLatest) *pLatest = latest;
  return S_OK;
}

// The connected renderers that give IMediaSeeking.
std::vector<com::ComPtr<IMediaSeeking>> FilterGraph::SeekingRenderers() {
  const auto filters = m_filters.Filters();
  std::vector<com::ComPtr<IMediaSeeking>> renderers;
  for (IBaseFilter *filter : ConnectedRenderers(filters)) {
    IMediaSeeking *seeking = nullptr;
    if (FAILED(filter->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void **>(&seeking))) || !seeking) continue;
    renderers.emplace_back(seeking);
    seeking->Release();
  }
  return renderers;
}

// Running, the clock's time since the run started; unclocked, how far the
// renderers got. Otherwise the stream time held.
REFERENCE_TIME FilterGraph::StreamTimeNow() {
  if (m_state != State_Running) return m_streamTimeHeld;
  if (m_clock) return ClockTime() - m_runStart;
  LONGLONG reached = 0;
  if (AskRenderers(SeekingRenderers(), &reached, AskCurrent, Longest) != S_OK) return m_streamTimeHeld;
  return reached - m_segmentStart;
}

// Never past the stop position.
REFERENCE_TIME FilterGraph::PositionNow() {
  const REFERENCE_TIME position = m_segmentStart + StreamTimeNow();
  LONGLONG stop = 0;
  if (AskRenderers(SeekingRenderers(), &stop, AskStop, Longest) != S_OK) return position;
  return std::min(position, stop);
}

void FilterGraph::HoldStreamTime() { m_streamTimeHeld = StreamTimeNow(); }

// With the filters stopped: the source is told to start from the position
// the graph stopped at. A graph that cannot seek starts its data over.
void FilterGraph::KeepPositionAcrossStop(REFERENCE_TIME position) {
  const HRESULT hr = MoveRenderers(position, AM_SEEKING_AbsolutePositioning, 0, AM_SEEKING_NoPositioning);
  RestartSegment(SUCCEEDED(hr) ? position : 0);
}

// S_OK when a renderer took the positions; otherwise the first failure,
// or E_NOTIMPL when no renderer seeks.
HRESULT FilterGraph::MoveRenderers(REFERENCE_TIME current, DWORD currentFlags, REFERENCE_TIME stop,
                                   DWORD stopFlags) {
  HRESULT failure = E_NOTIMPL;
  bool taken = false;
  for (const auto &renderer : SeekingRenderers()) {
    REFERENCE_TIME rendererCurrent = current, rendererStop = stop;
    const HRESULT hr = renderer->SetPositions(&rendererCurrent, currentFlags, &rendererStop, stopFlags);
    taken = taken || SUCCEEDED(hr);
    if (FAILED(hr) && failure == E_NOTIMPL) failure = hr;
  }
  return taken ? S_OK : failure;
}

// Stream time 0 is at the new position from now; the graph waits for the
// new segment's ends of stream, unless stopped (leaving Stopped counts
// them afresh).
void FilterGraph::RestartSegment(REFERENCE_TIME position) {
  m_segmentStart = position;
  m_streamTimeHeld = 0;
  if (m_state != State_Stopped) m_completion.Start(ConnectedRenderers(m_filters.Filters()).size());
}

}  // namespace platform::media
