// GetSystemInfo: the machine as a 64-bit Windows program sees it.
#include <windows.h>

#include <cpuid.h>
#include <unistd.h>

namespace {

// The user-mode address range and allocation granularity of 64-bit Windows.
constexpr uintptr_t kMinimumApplicationAddress = 0x10000;
constexpr uintptr_t kMaximumApplicationAddress = 0x7FFFFFFEFFFF;
constexpr DWORD kAllocationGranularity = 0x10000;

DWORD OnlineProcessorCount() {
  long count = sysconf(_SC_NPROCESSORS_ONLN);
  return count > 0 ? static_cast<DWORD>(count) : 1;
}

DWORD_PTR ProcessorMask(DWORD count) {
  constexpr DWORD kMaskBits = sizeof(DWORD_PTR) * 8;
  return count >= kMaskBits ? ~DWORD_PTR{0} : (DWORD_PTR{1} << count) - 1;
}

// Windows reports an x86 processor's family as its level and its model and
// stepping as the revision (0xMMSS), from CPUID leaf 1.
void DescribeProcessor(SYSTEM_INFO &info) {
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return;
  unsigned family = (eax >> 8) & 0xF;
  unsigned model = (eax >> 4) & 0xF;
  if (family == 0xF) family += (eax >> 20) & 0xFF;
  if (family == 0x6 || family >= 0xF) model |= ((eax >> 16) & 0xF) << 4;
  info.wProcessorLevel = static_cast<WORD>(family);
  info.wProcessorRevision = static_cast<WORD>((model << 8) | (eax & 0xF));
}

}  // namespace

extern "C" void WINAPI GetSystemInfo(LPSYSTEM_INFO lpSystemInfo) {
  SYSTEM_INFO info{};
  info.wProcessorArchitecture = PROCESSOR_ARCHITECTURE_AMD64;
  info.dwPageSize = static_cast<DWORD>(sysconf(_SC_PAGESIZE));
  info.lpMinimumApplicationAddress = reinterpret_cast<LPVOID>(kMinimumApplicationAddress);
  info.lpMaximumApplicationAddress = reinterpret_cast<LPVOID>(kMaximumApplicationAddress);
  info.dwNumberOfProcessors = OnlineProcessorCount();
  info.dwActiveProcessorMask = ProcessorMask(info.dwNumberOfProcessors);
  info.dwProcessorType = PROCESSOR_AMD_X8664;
  info.dwAllocationGranularity = kAllocationGranularity;
  DescribeProcessor(info);
  *lpSystemInfo = info;
}
