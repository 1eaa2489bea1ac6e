// AudioClock: the reference clock the audio renderer gives (IReferenceClock
// on the renderer), driven by the sound its output has played
// (playback_timeline.h says how). It is part of the renderer: AddRef,
// Release and QueryInterface go to the renderer, so a graph that holds the
// clock holds the renderer.
//
// Until sound plays, and whenever none plays, it runs with the system clock.
// Advise requests are served by a system clock of its own, at the system
// time its own time stands for when the request is made (the offset between
// the two moves only by the small corrections of played sound).
//
// Threads. Every method may be called from any thread; the output's thread
// reports what it played. Locks: one lock of its own, a leaf.
#pragma once

#include <strmif.h>

#include <mutex>

#include "com/com_object.h"
#include "media/audio/playback_timeline.h"

namespace platform::media::audio {

class AudioClock final : public IReferenceClock {
 public:
  explicit AudioClock(IUnknown &owner);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // S_FALSE when the time is the same as the one given last.
  HRESULT STDMETHODCALLTYPE GetTime(REFERENCE_TIME *pTime) override;
  HRESULT STDMETHODCALLTYPE AdviseTime(REFERENCE_TIME baseTime, REFERENCE_TIME streamTime, HEVENT hEvent,
                                       DWORD_PTR *pdwAdviseCookie) override;
  HRESULT STDMETHODCALLTYPE AdvisePeriodic(REFERENCE_TIME startTime, REFERENCE_TIME periodTime,
                                           HSEMAPHORE hSemaphore, DWORD_PTR *pdwAdviseCookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD_PTR dwAdviseCookie) override;

  // From the output: the running total of sound played, and that none plays.
  void Played(REFERENCE_TIME played);
  void Idle();

 private:
  REFERENCE_TIME SystemNow();
  REFERENCE_TIME SystemTimeOf(REFERENCE_TIME time);

  IUnknown &m_owner;
  com::ComPtr<IReferenceClock> m_system;
  std::mutex m_lock;
  PlaybackTimeline m_timeline;  // guarded by m_lock
  REFERENCE_TIME m_lastGiven = 0;  // guarded by m_lock
};

}  // namespace platform::media::audio
