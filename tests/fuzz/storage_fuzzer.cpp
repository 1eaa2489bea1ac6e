// libFuzzer entry point for the compound file reader (make fuzz-storage).
#include <cstdlib>

#include "storage_fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (!quorvel_fuzz::ReadCompoundFileInput(data, size)) std::abort();
  return 0;
}
