// What the compound file fuzzer does with one input, shared by the fuzzer
// and the replay of its kept corpus in the tests.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quorvel_fuzz {

// Reads the bytes as a compound file. When they read, the content is
// written out again and must read back. Returns false when that round trip
// fails; damaged input itself is no failure, as long as it is refused.
bool ReadCompoundFileInput(const uint8_t *data, size_t size);

}  // namespace quorvel_fuzz
