// libFuzzer entry point for the saved-graph reader (make fuzz-graph).
#include <cstdlib>

#include "graph_fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (!quorvel_fuzz::ReadSavedGraphInput(data, size)) std::abort();
  return 0;
}
