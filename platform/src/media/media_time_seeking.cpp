// Seeking in media time: the shared methods and the reading of
// SetPositions's flags.
#include "media/media_time_seeking.h"

#include <uuids.h>

namespace platform::media {
namespace {

bool IsMediaTime(const GUID &format) { return IsEqualGUID(format, TIME_FORMAT_MEDIA_TIME); }

DWORD Positioning(DWORD flags) { return flags & AM_SEEKING_PositioningBitsMask; }

}  // namespace

bool Moves(DWORD flags) { return Positioning(flags) != AM_SEEKING_NoPositioning; }

HRESULT ResolvePositions(const SeekPositions &present, const LONGLONG *pCurrent, DWORD currentFlags,
                         const LONGLONG *pStop, DWORD stopFlags, SeekPositions *wanted) {
  if ((Moves(currentFlags) && !pCurrent) || (Moves(stopFlags) && !pStop)) return E_POINTER;
  *wanted = present;
  switch (Positioning(currentFlags)) {
    case AM_SEEKING_AbsolutePositioning:
      wanted->current = *pCurrent;
      break;
    case AM_SEEKING_RelativePositioning:
      wanted->current = present.current + *pCurrent;
      break;
    case AM_SEEKING_IncrementalPositioning:
      return E_INVALIDARG;
  }
  switch (Positioning(stopFlags)) {
    case AM_SEEKING_AbsolutePositioning:
      wanted->stop = *pStop;
      break;
    case AM_SEEKING_RelativePositioning:
      wanted->stop = present.stop + *pStop;
      break;
    case AM_SEEKING_IncrementalPositioning:
      wanted->stop = wanted->current + *pStop;
      break;
  }
  return S_OK;
}

void ReturnPositions(const SeekPositions &reached, LONGLONG *pCurrent, DWORD currentFlags, LONGLONG *pStop,
                     DWORD stopFlags) {
  if (pCurrent && (currentFlags & AM_SEEKING_ReturnTime)) *pCurrent = reached.current;
  if (pStop && (stopFlags & AM_SEEKING_ReturnTime)) *pStop = reached.stop;
}

HRESULT PositionsOf(IMediaSeeking &seeking, LONGLONG *pCurrent, LONGLONG *pStop) {
  HRESULT hr = S_OK;
  if (pCurrent) hr = seeking.GetCurrentPosition(pCurrent);
  if (SUCCEEDED(hr) && pStop) hr = seeking.GetStopPosition(pStop);
  return hr;
}

HRESULT MediaTimeSeeking::CheckCapabilities(DWORD *pCapabilities) {
  if (!pCapabilities) return E_POINTER;
  DWORD own = 0;
  const HRESULT hr = GetCapabilities(&own);
  if (FAILED(hr)) return hr;
  const DWORD asked = *pCapabilities;
  *pCapabilities &= own;
  if (*pCapabilities == asked) return S_OK;
  return *pCapabilities ? S_FALSE : E_FAIL;
}

HRESULT MediaTimeSeeking::IsFormatSupported(const GUID *pFormat) {
  if (!pFormat) return E_POINTER;
  return IsMediaTime(*pFormat) ? S_OK : S_FALSE;
}

HRESULT MediaTimeSeeking::QueryPreferredFormat(GUID *pFormat) { return GetTimeFormat(pFormat); }

HRESULT MediaTimeSeeking::GetTimeFormat(GUID *pFormat) {
  if (!pFormat) return E_POINTER;
  *pFormat = TIME_FORMAT_MEDIA_TIME;
  return S_OK;
}

HRESULT MediaTimeSeeking::IsUsingTimeFormat(const GUID *pFormat) { return IsFormatSupported(pFormat); }

HRESULT MediaTimeSeeking::SetTimeFormat(const GUID *pFormat) {
  if (!pFormat) return E_POINTER;
  return IsMediaTime(*pFormat) ? S_OK : E_INVALIDARG;
}

HRESULT MediaTimeSeeking::ConvertTimeFormat(LONGLONG *pTarget, const GUID *pTargetFormat, LONGLONG Source,
                                            const GUID *pSourceFormat) {
  if (!pTarget) return E_POINTER;
  if ((pTargetFormat && !IsMediaTime(*pTargetFormat)) || (pSourceFormat && !IsMediaTime(*pSourceFormat))) {
    return E_INVALIDARG;
  }
  *pTarget = Source;
  return S_OK;
}

HRESULT MediaTimeSeeking::GetPositions(LONGLONG *pCurrent, LONGLONG *pStop) {
  return PositionsOf(*this, pCurrent, pStop);
}

HRESULT MediaTimeSeeking::SetRate(double dRate) { return dRate == 1.0 ? S_OK : E_INVALIDARG; }

HRESULT MediaTimeSeeking::GetRate(double *pdRate) {
  if (!pdRate) return E_POINTER;
  *pdRate = 1.0;
  return S_OK;
}

HRESULT MediaTimeSeeking::GetPreroll(LONGLONG *pllPreroll) {
  if (!pllPreroll) return E_POINTER;
  *pllPreroll = 0;
  return S_OK;
}

}  // namespace platform::media
