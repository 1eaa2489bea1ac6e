// Time, system information and the ids of the current process and thread.
#include <windows.h>

#include <gtest/gtest.h>
#include <unistd.h>

#include <thread>

namespace {

TEST(KernelTime, TickCountAdvancesWithSleep) {
  ULONGLONG before = GetTickCount64();
  Sleep(50);
  ULONGLONG elapsed = GetTickCount64() - before;
  EXPECT_GE(elapsed, 50u) << "slept 50 ms, the tick count moved " << elapsed;
  EXPECT_LT(elapsed, 10000u);
}

TEST(KernelSystemInfo, DescribesThisMachineAsAmd64) {
  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  EXPECT_EQ(info.wProcessorArchitecture, PROCESSOR_ARCHITECTURE_AMD64);
  EXPECT_EQ(info.dwNumberOfProcessors, static_cast<DWORD>(sysconf(_SC_NPROCESSORS_ONLN)));
  EXPECT_EQ(info.dwPageSize, static_cast<DWORD>(sysconf(_SC_PAGESIZE)));
  EXPECT_EQ(info.dwAllocationGranularity, 0x10000u);
  EXPECT_EQ(info.dwProcessorType, static_cast<DWORD>(PROCESSOR_AMD_X8664));
  EXPECT_NE(info.dwActiveProcessorMask, 0u);
  EXPECT_LT(info.lpMinimumApplicationAddress, info.lpMaximumApplicationAddress);
  EXPECT_GE(info.wProcessorLevel, 6) << "an x86-64 processor is of family 6 or later";
}

TEST(KernelIds, ProcessIdIsThePid) { EXPECT_EQ(GetCurrentProcessId(), static_cast<DWORD>(getpid())); }

TEST(KernelIds, ThreadIdsDifferBetweenThreadsAndFromZero) {
  DWORD mine = GetCurrentThreadId();
  DWORD other = 0;
  std::thread([&] { other = GetCurrentThreadId(); }).join();
  EXPECT_NE(mine, 0u);
  EXPECT_NE(other, 0u);
  EXPECT_NE(mine, other);
  EXPECT_EQ(GetCurrentThreadId(), mine) << "a thread keeps its id";
}

}  // namespace
