// What the saved-graph fuzzer does with one input, shared by the fuzzer and
// the replay of its kept corpus in the tests.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quorvel_fuzz {

// Reads the bytes as a graph's persistent form. When they read, the graph
// is written out again; that must read back and write out the same bytes.
// Returns false when that round trip fails; damaged input itself is no
// failure, as long as it is refused.
bool ReadSavedGraphInput(const uint8_t *data, size_t size);

}  // namespace quorvel_fuzz
