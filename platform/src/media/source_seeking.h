// IMediaSeeking of a source filter's output pin (see source_filter.h): the
// filter's positions in media time, read and changed through the pin. The
// object lives inside its pin; its reference count and QueryInterface are
// the pin's. A source that is not seekable has no capabilities and answers
// E_NOTIMPL for positions.
#pragma once

#include <platform_filters/source_filter.h>

#include "media/media_time_seeking.h"

namespace platform::media {

class SourceSeeking final : public MediaTimeSeeking {
 public:
  SourceSeeking(SourceFilter &filter, SourcePin &pin);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE GetCapabilities(DWORD *pCapabilities) override;
  HRESULT STDMETHODCALLTYPE GetDuration(LONGLONG *pDuration) override;
  HRESULT STDMETHODCALLTYPE GetStopPosition(LONGLONG *pStop) override;
  // The start position: where the data streams from.
  HRESULT STDMETHODCALLTYPE GetCurrentPosition(LONGLONG *pCurrent) override;
  HRESULT STDMETHODCALLTYPE SetPositions(LONGLONG *pCurrent, DWORD dwCurrentFlags, LONGLONG *pStop,
                                         DWORD dwStopFlags) override;
  // From 0 to the duration.
  HRESULT STDMETHODCALLTYPE GetAvailable(LONGLONG *pEarliest, LONGLONG *pLatest) override;

 private:
  SourceFilter &m_filter;
  SourcePin &m_pin;
};

}  // namespace platform::media
