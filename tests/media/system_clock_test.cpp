// The system reference clock: a time that never goes backwards and is the
// same for every instance, one-shot and periodic advise requests signalling
// our kernel objects, cancelling them, and the arguments it refuses.
#include <gtest/gtest.h>

#include <limits>

#include "media_test_support.h"

namespace {

using media_testing::CComPtr;

constexpr REFERENCE_TIME kMillisecond = 10000;
constexpr DWORD kBoundMs = 10000;  // generous: a wait that fails means it never came

CComPtr<IReferenceClock> CreateSystemClock() {
  CComPtr<IReferenceClock> clock;
  const auto clockClass = platform::com::FindBuiltinClass(CLSID_SystemClock);
  if (clockClass) clockClass->create(nullptr, IID_IReferenceClock, reinterpret_cast<void **>(&clock));
  return clock;
}

REFERENCE_TIME Now(IReferenceClock *clock) {
  REFERENCE_TIME now = 0;
  clock->GetTime(&now);
  return now;
}

// A kernel object that closes itself.
class Handle {
 public:
  explicit Handle(HANDLE handle) : m_handle(handle) {}
  ~Handle() { CloseHandle(m_handle); }
  Handle(const Handle &) = delete;
  Handle &operator=(const Handle &) = delete;
  HANDLE get() const { return m_handle; }
  DWORD_PTR advised() const { return reinterpret_cast<DWORD_PTR>(m_handle); }

 private:
  HANDLE m_handle;
};

class SystemClockTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(clock_); }
  CComPtr<IReferenceClock> clock_ = CreateSystemClock();
  Handle event_{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
};

TEST_F(SystemClockTest, TimeNeverGoesBackwardsAndAnUnchangedTimeIsSFalse) {
  REFERENCE_TIME previous = 0;
  ASSERT_HR(S_OK, clock_->GetTime(&previous));
  for (int i = 0; i < 10000; ++i) {
    REFERENCE_TIME now = 0;
    const HRESULT hr = clock_->GetTime(&now);
    ASSERT_GE(now, previous) << "read " << i;
    EXPECT_HR(now == previous ? S_FALSE : S_OK, hr);
    previous = now;
  }
  EXPECT_HR(E_POINTER, clock_->GetTime(nullptr));
}

TEST_F(SystemClockTest, EveryInstanceReadsTheSameTime) {
  CComPtr<IReferenceClock> other = CreateSystemClock();
  const REFERENCE_TIME first = Now(clock_);
  const REFERENCE_TIME second = Now(other);
  const REFERENCE_TIME third = Now(clock_);
  EXPECT_LE(first, second);
  EXPECT_LE(second, third);
}

TEST_F(SystemClockTest, AnAdviseForATimePassedSignalsAtOnce) {
  DWORD_PTR cookie = 0;
  ASSERT_HR(S_OK, clock_->AdviseTime(Now(clock_), -kMillisecond, event_.advised(), &cookie));
  EXPECT_NE(cookie, 0u);
  EXPECT_EQ(WaitForSingleObject(event_.get(), kBoundMs), WAIT_OBJECT_0);
  EXPECT_HR(S_FALSE, clock_->Unadvise(cookie)) << "a request that signalled is gone";
}

TEST_F(SystemClockTest, AnAdviseSignalsNoEarlierThanItsTime) {
  const REFERENCE_TIME due = Now(clock_) + 20 * kMillisecond;
  DWORD_PTR cookie = 0;
  ASSERT_HR(S_OK, clock_->AdviseTime(due, 0, event_.advised(), &cookie));
  ASSERT_EQ(WaitForSingleObject(event_.get(), kBoundMs), WAIT_OBJECT_0);
  EXPECT_GE(Now(clock_), due);
}

TEST_F(SystemClockTest, AnUnadvisedRequestSignalsNothing) {
  const REFERENCE_TIME due = Now(clock_) + 500 * kMillisecond;
  DWORD_PTR cancelled = 0;
  ASSERT_HR(S_OK, clock_->AdviseTime(due, 0, event_.advised(), &cancelled));
  ASSERT_HR(S_OK, clock_->Unadvise(cancelled));
  EXPECT_HR(S_FALSE, clock_->Unadvise(cancelled));

  Handle later(CreateEventW(nullptr, FALSE, FALSE, nullptr));
  DWORD_PTR cookie = 0;
  ASSERT_HR(S_OK, clock_->AdviseTime(due, 10 * kMillisecond, later.advised(), &cookie));
  ASSERT_EQ(WaitForSingleObject(later.get(), kBoundMs), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(event_.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT))
      << "the cancelled request's time passed without a signal";
}

TEST_F(SystemClockTest, APeriodicAdviseReleasesTheSemaphoreEveryPeriod) {
  Handle semaphore(CreateSemaphoreW(nullptr, 0, 100, nullptr));
  const REFERENCE_TIME start = Now(clock_);
  const REFERENCE_TIME period = 10 * kMillisecond;
  DWORD_PTR cookie = 0;
  ASSERT_HR(S_OK, clock_->AdvisePeriodic(start, period, semaphore.advised(), &cookie));
  for (int release = 0; release < 3; ++release) {
    ASSERT_EQ(WaitForSingleObject(semaphore.get(), kBoundMs), WAIT_OBJECT_0) << "release " << release;
  }
  EXPECT_GE(Now(clock_), start + 2 * period) << "three releases take two periods";
  EXPECT_HR(S_OK, clock_->Unadvise(cookie));
}

TEST_F(SystemClockTest, AdviseArgumentsAreChecked) {
  constexpr REFERENCE_TIME kMax = std::numeric_limits<REFERENCE_TIME>::max();
  struct Case {
    const char *name;
    REFERENCE_TIME base;
    REFERENCE_TIME stream;
    bool withEvent;
    bool withCookie;
    HRESULT expected;
  };
  const Case cases[] = {
      {"time 0", 0, 0, true, true, E_INVALIDARG},
      {"negative time", -5, 2, true, true, E_INVALIDARG},
      {"time past the largest", kMax, 1, true, true, E_INVALIDARG},
      {"the largest time", kMax, 0, true, true, E_INVALIDARG},
      {"no event", 1, 0, false, true, E_INVALIDARG},
      {"no cookie", 1, 0, true, false, E_POINTER},
  };
  for (const Case &c : cases) {
    DWORD_PTR cookie = 0;
    EXPECT_HR(c.expected, clock_->AdviseTime(c.base, c.stream, c.withEvent ? event_.advised() : 0,
                                             c.withCookie ? &cookie : nullptr))
        << c.name;
  }
}

TEST_F(SystemClockTest, PeriodicAdviseArgumentsAreChecked) {
  Handle semaphore(CreateSemaphoreW(nullptr, 0, 1, nullptr));
  struct Case {
    const char *name;
    REFERENCE_TIME start;
    REFERENCE_TIME period;
    bool withCookie;
    HRESULT expected;
  };
  const Case cases[] = {
      {"negative start", -1, kMillisecond, true, E_INVALIDARG},
      {"no period", 1, 0, true, E_INVALIDARG},
      {"negative period", 1, -kMillisecond, true, E_INVALIDARG},
      {"no cookie", 1, kMillisecond, false, E_POINTER},
  };
  for (const Case &c : cases) {
    DWORD_PTR cookie = 0;
    EXPECT_HR(c.expected,
              clock_->AdvisePeriodic(c.start, c.period, semaphore.advised(), c.withCookie ? &cookie : nullptr))
        << c.name;
  }
}

TEST_F(SystemClockTest, ReleasingAClockWithRequestsPendingEndsItsThread) {
  CComPtr<IReferenceClock> clock = CreateSystemClock();
  DWORD_PTR cookie = 0;
  ASSERT_HR(S_OK, clock->AdviseTime(Now(clock) + 3600 * 1000 * kMillisecond, 0, event_.advised(), &cookie));
  clock.Release();  // the sanitizer build checks nothing is left behind
  EXPECT_EQ(WaitForSingleObject(event_.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST(SystemClockClass, IsBuiltInAndRefusesAggregation) {
  const auto clockClass = platform::com::FindBuiltinClass(CLSID_SystemClock);
  ASSERT_TRUE(clockClass);
  IUnknown *outer = reinterpret_cast<IUnknown *>(static_cast<uintptr_t>(0x1000));
  void *object = nullptr;
  EXPECT_HR(CLASS_E_NOAGGREGATION, clockClass->create(outer, IID_IUnknown, &object));
  EXPECT_EQ(object, nullptr);
  CComPtr<IUnknown> unknown;
  ASSERT_HR(S_OK, clockClass->create(nullptr, IID_IUnknown, reinterpret_cast<void **>(&unknown)));
  CComPtr<IReferenceClock> clock;
  EXPECT_HR(S_OK, unknown.QueryInterface(&clock));
}

}  // namespace
