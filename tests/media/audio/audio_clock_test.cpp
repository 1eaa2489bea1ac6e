// The audio renderer's reference clock: part of the renderer, driven by the
// sound played, never backwards, and serving advise requests.
#include "media/audio/audio_clock.h"

#include <winbase.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "audio_test_owner.h"
#include "media/system_clock.h"

namespace {

using audio_testing::ClockOwner;
using namespace std::chrono_literals;

constexpr REFERENCE_TIME kMs = 10000;

REFERENCE_TIME TimeOf(IReferenceClock &clock) {
  REFERENCE_TIME time = 0;
  EXPECT_TRUE(SUCCEEDED(clock.GetTime(&time)));
  return time;
}

TEST(AudioClockTest, IsPartOfItsOwner) {
  ClockOwner owner;
  IUnknown *identity = nullptr;
  ASSERT_EQ(owner.clock.QueryInterface(IID_IUnknown, reinterpret_cast<void **>(&identity)), S_OK);
  EXPECT_EQ(identity, static_cast<IUnknown *>(&owner));
  identity->Release();
  owner.clock.AddRef();
  EXPECT_EQ(owner.references, 2u) << "the clock's references are its owner's";
  owner.clock.Release();
  EXPECT_EQ(owner.references, 1u);
}

TEST(AudioClockTest, RunsWithTheSystemClockUntilSoundPlays) {
  ClockOwner owner;
  IReferenceClock *system = nullptr;
  ASSERT_EQ(platform::media::SystemClock::Create(nullptr, IID_IReferenceClock, reinterpret_cast<void **>(&system)),
            S_OK);
  const REFERENCE_TIME before = TimeOf(*system);
  const REFERENCE_TIME audio = TimeOf(owner.clock);
  const REFERENCE_TIME after = TimeOf(*system);
  EXPECT_GE(audio, before);
  EXPECT_LE(audio, after);
  system->Release();
}

// Half a second of sound reported as played within a few milliseconds: the
// clock is the sound's time, far ahead of the system's.
TEST(AudioClockTest, AdvancesWithTheSoundPlayed) {
  ClockOwner owner;
  const REFERENCE_TIME start = TimeOf(owner.clock);
  owner.clock.Played(0);
  owner.clock.Played(500 * kMs);
  const REFERENCE_TIME later = TimeOf(owner.clock);
  EXPECT_GE(later - start, 500 * kMs) << "got " << (later - start) / kMs << " ms";
  EXPECT_LT(later - start, 600 * kMs) << "got " << (later - start) / kMs << " ms";
}

TEST(AudioClockTest, NeverGoesBackwards) {
  ClockOwner owner;
  owner.clock.Played(0);
  std::this_thread::sleep_for(30ms);
  REFERENCE_TIME last = TimeOf(owner.clock);
  owner.clock.Played(1 * kMs);  // the sound lags the time already given
  for (int i = 0; i < 100; ++i) {
    const REFERENCE_TIME now = TimeOf(owner.clock);
    ASSERT_GE(now, last) << "read " << i;
    last = now;
  }
}

// Sound that lags the time already given holds the clock where it is.
TEST(AudioClockTest, HeldTimeReadsAgainAsSFalse) {
  ClockOwner owner;
  owner.clock.Played(0);
  std::this_thread::sleep_for(50ms);
  REFERENCE_TIME first = 0, second = 0;
  EXPECT_EQ(owner.clock.GetTime(&first), S_OK);
  owner.clock.Played(1 * kMs);
  EXPECT_EQ(owner.clock.GetTime(&second), S_FALSE);
  EXPECT_EQ(second, first);
  EXPECT_EQ(owner.clock.GetTime(nullptr), E_POINTER);
}

TEST(AudioClockTest, AdviseTimeSignalsAtTheClocksTime) {
  ClockOwner owner;
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(event, nullptr);
  DWORD_PTR cookie = 0;
  const auto asked = std::chrono::steady_clock::now();
  ASSERT_EQ(owner.clock.AdviseTime(TimeOf(owner.clock), 50 * kMs, reinterpret_cast<HEVENT>(event), &cookie), S_OK);
  EXPECT_EQ(WaitForSingleObject(event, 5000), WAIT_OBJECT_0);
  EXPECT_GE(std::chrono::steady_clock::now() - asked, 45ms);
  EXPECT_EQ(owner.clock.Unadvise(cookie), S_FALSE) << "a one-shot request is gone once signalled";
  EXPECT_EQ(owner.clock.AdviseTime(0, -1, reinterpret_cast<HEVENT>(event), &cookie), E_INVALIDARG);
  EXPECT_EQ(owner.clock.AdviseTime(INT64_MAX, 1, reinterpret_cast<HEVENT>(event), &cookie), E_INVALIDARG);
  CloseHandle(event);
}

TEST(AudioClockTest, AdvisePeriodicReleasesEachPeriodUntilUnadvised) {
  ClockOwner owner;
  HANDLE semaphore = CreateSemaphoreW(nullptr, 0, 100, nullptr);
  ASSERT_NE(semaphore, nullptr);
  DWORD_PTR cookie = 0;
  ASSERT_EQ(owner.clock.AdvisePeriodic(TimeOf(owner.clock), 10 * kMs, reinterpret_cast<HSEMAPHORE>(semaphore),
                                       &cookie),
            S_OK);
  for (int period = 0; period < 3; ++period) EXPECT_EQ(WaitForSingleObject(semaphore, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(owner.clock.Unadvise(cookie), S_OK);
  EXPECT_EQ(owner.clock.AdvisePeriodic(0, 0, reinterpret_cast<HSEMAPHORE>(semaphore), &cookie), E_INVALIDARG);
  CloseHandle(semaphore);
}

}  // namespace
