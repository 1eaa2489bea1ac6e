// A stand-in for the audio renderer in the clock's and the outputs' tests:
// the COM object the clock belongs to, with a clock, a queue and a feed.
#pragma once

#include <strmif.h>

#include <atomic>

#include "media/audio/audio_clock.h"
#include "media/audio/playback_feed.h"

namespace audio_testing {

class ClockOwner final : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (IsEqualIID(riid, IID_IUnknown)) {
      *ppv = static_cast<IUnknown *>(this);
    } else if (IsEqualIID(riid, IID_IReferenceClock)) {
      *ppv = static_cast<IReferenceClock *>(&clock);
    } else {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }

  std::atomic<ULONG> references{1};
  platform::media::audio::AudioClock clock{*this};
};

// 16-bit stereo at 48 kHz: 192,000 bytes a second.
inline constexpr platform::media::audio::PcmFormat kStereo48k{2, 48000, 16, false, 4};

struct Playback {
  ClockOwner owner;
  platform::media::audio::PcmQueue queue;
  platform::media::audio::PlaybackFeed feed{kStereo48k, queue, owner.clock};
};

}  // namespace audio_testing
