// Seeking passed upstream.
#include "media/seeking_pass_through.h"

#include <vfwmsgs.h>

#include "media/media_time_seeking.h"

namespace platform::media {

SeekingPassThrough::SeekingPassThrough(IUnknown &owner, BasePin &input, PositionReached reached)
    : m_owner(owner), m_input(input), m_reached(std::move(reached)) {}

HRESULT SeekingPassThrough::QueryInterface(REFIID riid, void **ppv) { return m_owner.QueryInterface(riid, ppv); }
ULONG SeekingPassThrough::AddRef() { return m_owner.AddRef(); }
ULONG SeekingPassThrough::Release() { return m_owner.Release(); }

template <typename Call>
HRESULT SeekingPassThrough::Upstream(Call call) {
  IPin *peer = nullptr;
  if (m_input.ConnectedTo(&peer) != S_OK) return VFW_E_NOT_CONNECTED;
  IMediaSeeking *seeking = nullptr;
  const HRESULT found = peer->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void **>(&seeking));
  peer->Release();
  if (FAILED(found) || !seeking) return E_NOTIMPL;
  const HRESULT hr = call(seeking);
  seeking->Release();
  return hr;
}

HRESULT SeekingPassThrough::GetCapabilities(DWORD *pCapabilities) {
  return Upstream([&](IMediaSeeking *s) { return s->GetCapabilities(pCapabilities); });
}

HRESULT SeekingPassThrough::CheckCapabilities(DWORD *pCapabilities) {
  return Upstream([&](IMediaSeeking *s) { return s->CheckCapabilities(pCapabilities); });
}

HRESULT SeekingPassThrough::IsFormatSupported(const GUID *pFormat) {
  return Upstream([&](IMediaSeeking *s) { return s->IsFormatSupported(pFormat); });
}

HRESULT SeekingPassThrough::QueryPreferredFormat(GUID *pFormat) {
  return Upstream([&](IMediaSeeking *s) { return s->QueryPreferredFormat(pFormat); });
}

HRESULT SeekingPassThrough::GetTimeFormat(GUID *pFormat) {
  return Upstream([&](IMediaSeeking *s) { return s->GetTimeFormat(pFormat); });
}

HRESULT SeekingPassThrough::IsUsingTimeFormat(const GUID *pFormat) {
  return Upstream([&](IMediaSeeking *s) { return s->IsUsingTimeFormat(pFormat); });
}

HRESULT SeekingPassThrough::SetTimeFormat(const GUID *pFormat) {
  return Upstream([&](IMediaSeeking *s) { return s->SetTimeFormat(pFormat); });
}

HRESULT SeekingPassThrough::GetDuration(LONGLONG *pDuration) {
  return Upstream([&](IMediaSeeking *s) { return s->GetDuration(pDuration); });
}

HRESULT SeekingPassThrough::GetStopPosition(LONGLONG *pStop) {
  return Upstream([&](IMediaSeeking *s) { return s->GetStopPosition(pStop); });
}

HRESULT SeekingPassThrough::GetCurrentPosition(LONGLONG *pCurrent) {
  if (!pCurrent) return E_POINTER;
  if (m_reached) {
    if (const std::optional<REFERENCE_TIME> reached = m_reached()) {
      *pCurrent = *reached;
      return S_OK;
    }
  }
  return Upstream([&](IMediaSeeking *s) { return s->GetCurrentPosition(pCurrent); });
}

HRESULT SeekingPassThrough::ConvertTimeFormat(LONGLONG *pTarget, const GUID *pTargetFormat, LONGLONG Source,
                                              const GUID *pSourceFormat) {
  return Upstream([&](IMediaSeeking *s) { return s->ConvertTimeFormat(pTarget, pTargetFormat, Source, pSourceFormat); });
}

HRESULT SeekingPassThrough::SetPositions(LONGLONG *pCurrent, DWORD dwCurrentFlags, LONGLONG *pStop,
                                         DWORD dwStopFlags) {
  return Upstream([&](IMediaSeeking *s) { return s->SetPositions(pCurrent, dwCurrentFlags, pStop, dwStopFlags); });
}

HRESULT SeekingPassThrough::GetPositions(LONGLONG *pCurrent, LONGLONG *pStop) {
  return PositionsOf(*this, pCurrent, pStop);
}

HRESULT SeekingPassThrough::GetAvailable(LONGLONG *pEarliest, LONGLONG *pLatest) {
  return Upstream([&](IMediaSeeking *s) { return s->GetAvailable(pEarliest, pLatest); });
}

HRESULT SeekingPassThrough::SetRate(double dRate) {
  return Upstream([&](IMediaSeeking *s) { return s->SetRate(dRate); });
}

HRESULT SeekingPassThrough::GetRate(double *pdRate) {
  return Upstream([&](IMediaSeeking *s) { return s->GetRate(pdRate); });
}

HRESULT SeekingPassThrough::GetPreroll(LONGLONG *pllPreroll) {
  return Upstream([&](IMediaSeeking *s) { return s->GetPreroll(pllPreroll); });
}

}  // namespace platform::media
