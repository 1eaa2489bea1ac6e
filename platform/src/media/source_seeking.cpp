// Seeking a source filter through its output pins.
#include "media/source_seeking.h"

namespace platform::media {
namespace {

constexpr DWORD kSeekableCapabilities = AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanSeekForwards |
                                        AM_SEEKING_CanSeekBackwards | AM_SEEKING_CanGetCurrentPos |
                                        AM_SEEKING_CanGetStopPos | AM_SEEKING_CanGetDuration;

}  // namespace

SourceSeeking::SourceSeeking(SourceFilter &filter, SourcePin &pin) : m_filter(filter), m_pin(pin) {}

HRESULT SourceSeeking::QueryInterface(REFIID riid, void **ppv) { return m_pin.QueryInterface(riid, ppv); }
ULONG SourceSeeking::AddRef() { return m_pin.AddRef(); }
ULONG SourceSeeking::Release() { return m_pin.Release(); }

HRESULT SourceSeeking::GetCapabilities(DWORD *pCapabilities) {
  if (!pCapabilities) return E_POINTER;
  Segment positions;
  *pCapabilities = SUCCEEDED(m_filter.Positions(&positions)) ? kSeekableCapabilities : 0;
  return S_OK;
}

HRESULT SourceSeeking::GetDuration(LONGLONG *pDuration) {
  if (!pDuration) return E_POINTER;
  return m_filter.QueryDuration(pDuration);
}

HRESULT SourceSeeking::GetStopPosition(LONGLONG *pStop) {
  if (!pStop) return E_POINTER;
  Segment positions;
  const HRESULT hr = m_filter.Positions(&positions);
  if (SUCCEEDED(hr)) *pStop = positions.stop;
  return hr;
}

HRESULT SourceSeeking::GetCurrentPosition(LONGLONG *pCurrent) {
  if (!pCurrent) return E_POINTER;
  Segment positions;
  const HRESULT hr = m_filter.Positions(&positions);
  if (SUCCEEDED(hr)) *pCurrent = positions.start;
  return hr;
}

HRESULT SourceSeeking::SetPositions(LONGLONG *pCurrent, DWORD dwCurrentFlags, LONGLONG *pStop, DWORD dwStopFlags) {
  Segment present;
  HRESULT hr = m_filter.Positions(&present);
  if (FAILED(hr)) return hr;
  SeekPositions wanted;
  hr = ResolvePositions({present.start, present.stop}, pCurrent, dwCurrentFlags, pStop, dwStopFlags, &wanted);
  if (FAILED(hr)) return hr;
  hr = m_filter.Reposition(m_pin, wanted.current, wanted.stop, Moves(dwCurrentFlags));
  Segment reached;
  if (SUCCEEDED(m_filter.Positions(&reached))) {
    ReturnPositions({reached.start, reached.stop}, pCurrent, dwCurrentFlags, pStop, dwStopFlags);
  }
  return hr;
}

HRESULT SourceSeeking::GetAvailable(LONGLONG *pEarliest, LONGLONG *pLatest) {
  LONGLONG duration = 0;
  const HRESULT hr = m_filter.QueryDuration(&duration);
  if (FAILED(hr)) return hr;
  if (pEarliest) *pEarliest = 0;
  if (pLatest) *pLatest = duration;
  return S_OK;
}

}  // namespace platform::media
