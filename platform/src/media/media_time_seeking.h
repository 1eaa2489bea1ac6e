// What every IMediaSeeking of the platform shares: positions are in media
// time (TIME_FORMAT_MEDIA_TIME, 100-nanosecond units), the only format, and
// playback goes at the normal rate only.
//
// MediaTimeSeeking implements the methods that follow from that, for the
// graph manager and the source filters:
//   CheckCapabilities  from GetCapabilities: S_OK when all the asked ones
//                      are there, S_FALSE with those that are, E_FAIL when
//                      none is
//   the time formats   media time is supported, used and preferred; any
//                      other format is E_INVALIDARG
//   ConvertTimeFormat  media time to media time (a null format is the one
//                      in use), E_INVALIDARG otherwise
//   SetRate            1.0 only; any other rate is E_INVALIDARG
//   GetRate            1.0
//   GetPreroll         0: nothing is sent ahead of the start position
//   GetPositions       GetCurrentPosition and GetStopPosition
// The rest is the implementer's.
//
// ResolvePositions reads the arguments of SetPositions: the positions the
// call asks for, from the present ones and the flags (absolute, relative to
// the present one, or, for the stop, incremental: relative to the new
// current position); NoPositioning keeps a position. The modifier flags
// (key frames, segments, no flush) are accepted and have no effect.
// ReturnPositions writes the positions reached back where the caller asked
// for them (AM_SEEKING_ReturnTime).
#pragma once

#include <strmif.h>

namespace platform::media {

struct SeekPositions {
  REFERENCE_TIME current = 0;
  REFERENCE_TIME stop = 0;
};

// E_POINTER when a flag needs a position that is not given, E_INVALIDARG
// for an incremental current position.
HRESULT ResolvePositions(const SeekPositions &present, const LONGLONG *pCurrent, DWORD currentFlags,
                         const LONGLONG *pStop, DWORD stopFlags, SeekPositions *wanted);
void ReturnPositions(const SeekPositions &reached, LONGLONG *pCurrent, DWORD currentFlags, LONGLONG *pStop,
                     DWORD stopFlags);
// True when the flags move that position.
bool Moves(DWORD flags);
// GetPositions from the object's GetCurrentPosition and GetStopPosition.
HRESULT PositionsOf(IMediaSeeking &seeking, LONGLONG *pCurrent, LONGLONG *pStop);

class MediaTimeSeeking : public IMediaSeeking {
 public:
  HRESULT STDMETHODCALLTYPE CheckCapabilities(DWORD *pCapabilities) override;
  HRESULT STDMETHODCALLTYPE IsFormatSupported(const GUID *pFormat) override;
  HRESULT STDMETHODCALLTYPE QueryPreferredFormat(GUID *pFormat) override;
  HRESULT STDMETHODCALLTYPE GetTimeFormat(GUID *pFormat) override;
  HRESULT STDMETHODCALLTYPE IsUsingTimeFormat(const GUID *pFormat) override;
  HRESULT STDMETHODCALLTYPE SetTimeFormat(const GUID *pFormat) override;
  HRESULT STDMETHODCALLTYPE ConvertTimeFormat(LONGLONG *pTarget, const GUID *pTargetFormat, LONGLONG Source,
                                              const GUID *pSourceFormat) override;
  HRESULT STDMETHODCALLTYPE GetPositions(LONGLONG *pCurrent, LONGLONG *pStop) override;
  HRESULT STDMETHODCALLTYPE SetRate(double dRate) override;
  HRESULT STDMETHODCALLTYPE GetRate(double *pdRate) override;
  HRESULT STDMETHODCALLTYPE GetPreroll(LONGLONG *pllPreroll) override;

 protected:
  ~MediaTimeSeeking() = default;
};

}  // namespace platform::media
