// IMediaSeeking of a filter that does not seek by itself (a transform, a
// renderer): each call goes upstream, to the IMediaSeeking of the output
// pin connected to the filter's input pin, where the source answers in the
// end. VFW_E_NOT_CONNECTED while the input is not connected, E_NOTIMPL when
// the pin upstream cannot seek.
//
// The object lives inside its owner (the renderer filter, the transform's
// output pin) and is one of the owner's interfaces: its reference count and
// QueryInterface are the owner's.
//
// A renderer also knows how far playback got: GetCurrentPosition asks the
// position callback first, and goes upstream only when it has none.
#pragma once

#include <platform_filters/base_pin.h>

#include <functional>
#include <optional>

namespace platform::media {

class SeekingPassThrough final : public IMediaSeeking {
 public:
  using PositionReached = std::function<std::optional<REFERENCE_TIME>()>;

  SeekingPassThrough(IUnknown &owner, BasePin &input, PositionReached reached = nullptr);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE GetCapabilities(DWORD *pCapabilities) override;
  HRESULT STDMETHODCALLTYPE CheckCapabilities(DWORD *pCapabilities) override;
  HRESULT STDMETHODCALLTYPE IsFormatSupported(const GUID *pFormat) override;
  HRESULT STDMETHODCALLTYPE QueryPreferredFormat(GUID *pFormat) override;
  HRESULT STDMETHODCALLTYPE GetTimeFormat(GUID *pFormat) override;
  HRESULT STDMETHODCALLTYPE IsUsingTimeFormat(const GUID *pFormat) override;
  HRESULT STDMETHODCALLTYPE SetTimeFormat(const GUID *pFormat) override;
  HRESULT STDMETHODCALLTYPE GetDuration(LONGLONG *pDuration) override;
  HRESULT STDMETHODCALLTYPE GetStopPosition(LONGLONG *pStop) override;
  HRESULT STDMETHODCALLTYPE GetCurrentPosition(LONGLONG *pCurrent) override;
  HRESULT STDMETHODCALLTYPE ConvertTimeFormat(LONGLONG *pTarget, const GUID *pTargetFormat, LONGLONG Source,
                                              const GUID *pSourceFormat) override;
  HRESULT STDMETHODCALLTYPE SetPositions(LONGLONG *pCurrent, DWORD dwCurrentFlags, LONGLONG *pStop,
                                         DWORD dwStopFlags) override;
  HRESULT STDMETHODCALLTYPE GetPositions(LONGLONG *pCurrent, LONGLONG *pStop) override;
  HRESULT STDMETHODCALLTYPE GetAvailable(LONGLONG *pEarliest, LONGLONG *pLatest) override;
  HRESULT STDMETHODCALLTYPE SetRate(double dRate) override;
  HRESULT STDMETHODCALLTYPE GetRate(double *pdRate) override;
  HRESULT STDMETHODCALLTYPE GetPreroll(LONGLONG *pllPreroll) override;

 private:
  template <typename Call>
  HRESULT Upstream(Call call);

  IUnknown &m_owner;
  BasePin &m_input;
  const PositionReached m_reached;
};

}  // namespace platform::media
