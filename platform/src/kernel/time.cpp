// System time in milliseconds: GetTickCount, GetTickCount64, Sleep.
#include <windows.h>

#include <sched.h>
#include <time.h>

#include <chrono>
#include <thread>

// Milliseconds since the system started, counting time spent suspended, as
// the Windows tick count does.
extern "C" ULONGLONG WINAPI GetTickCount64(void) {
  timespec now{};
  clock_gettime(CLOCK_BOOTTIME, &now);
  return static_cast<ULONGLONG>(now.tv_sec) * 1000 + static_cast<ULONGLONG>(now.tv_nsec) / 1000000;
}

// The low 32 bits: wraps to zero every 49.7 days.
extern "C" DWORD WINAPI GetTickCount(void) { return static_cast<DWORD>(GetTickCount64()); }

// Sleep(0) gives up the rest of the time slice; Sleep(INFINITE) never returns.
extern "C" void WINAPI Sleep(DWORD dwMilliseconds) {
  if (dwMilliseconds == 0) {
    sched_yield();
    return;
  }
  if (dwMilliseconds == INFINITE) {
    for (;;) std::this_thread::sleep_for(std::chrono::hours(24));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(dwMilliseconds));
}
