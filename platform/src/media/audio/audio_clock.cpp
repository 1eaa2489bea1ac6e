// The audio renderer's reference clock.
#include "media/audio/audio_clock.h"

#include <algorithm>

#include "media/system_clock.h"

namespace platform::media::audio {
namespace {

com::ComPtr<IReferenceClock> NewSystemClock() {
  IReferenceClock *created = nullptr;
  SystemClock::Create(nullptr, IID_IReferenceClock, reinterpret_cast<void **>(&created));
  com::ComPtr<IReferenceClock> clock(created);
  if (created) created->Release();
  return clock;
}

}  // namespace

AudioClock::AudioClock(IUnknown &owner) : m_owner(owner), m_system(NewSystemClock()) {}

HRESULT AudioClock::QueryInterface(REFIID riid, void **ppv) { return m_owner.QueryInterface(riid, ppv); }
ULONG AudioClock::AddRef() { return m_owner.AddRef(); }
ULONG AudioClock::Release() { return m_owner.Release(); }

HRESULT AudioClock::GetTime(REFERENCE_TIME *pTime) {
  if (!pTime) return E_POINTER;
  const REFERENCE_TIME now = SystemNow();
  std::lock_guard lock(m_lock);
  *pTime = m_timeline.Read(now);
  const bool advanced = *pTime > m_lastGiven;
  m_lastGiven = std::max(m_lastGiven, *pTime);
  return advanced ? S_OK : S_FALSE;
}

// The request goes to the system clock at the system time the due time
// stands for now; the system clock checks the arguments.
HRESULT AudioClock::AdviseTime(REFERENCE_TIME baseTime, REFERENCE_TIME streamTime, HEVENT hEvent,
                               DWORD_PTR *pdwAdviseCookie) {
  REFERENCE_TIME due = 0;
  if (__builtin_add_overflow(baseTime, streamTime, &due)) due = -1;
  return m_system->AdviseTime(due <= 0 ? due : SystemTimeOf(due), 0, hEvent, pdwAdviseCookie);
}

HRESULT AudioClock::AdvisePeriodic(REFERENCE_TIME startTime, REFERENCE_TIME periodTime, HSEMAPHORE hSemaphore,
                                   DWORD_PTR *pdwAdviseCookie) {
  const REFERENCE_TIME start = startTime < 0 ? startTime : std::max<REFERENCE_TIME>(SystemTimeOf(startTime), 0);
  return m_system->AdvisePeriodic(start, periodTime, hSemaphore, pdwAdviseCookie);
}

HRESULT AudioClock::Unadvise(DWORD_PTR dwAdviseCookie) { return m_system->Unadvise(dwAdviseCookie); }

void AudioClock::Played(REFERENCE_TIME played) {
  const REFERENCE_TIME now = SystemNow();
  std::lock_guard lock(m_lock);
  m_timeline.Played(played, now);
}

void AudioClock::Idle() {
  std::lock_guard lock(m_lock);
  m_timeline.Idle();
}

REFERENCE_TIME AudioClock::SystemNow() {
  REFERENCE_TIME now = 0;
  m_system->GetTime(&now);
  return now;
}

// The system time at which the clock reads `time` at the present offset;
// times so near the end of the range that the offset would wrap them stay as
// they are.
REFERENCE_TIME AudioClock::SystemTimeOf(REFERENCE_TIME time) {
  std::lock_guard lock(m_lock);
  REFERENCE_TIME system = 0;
  return __builtin_sub_overflow(time, m_timeline.Offset(), &system) ? time : system;
}

}  // namespace platform::media::audio
