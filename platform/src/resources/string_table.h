// String tables: strings are stored in blocks of 16. String id n lives in the
// RT_STRING resource named n / 16 + 1, as entry n % 16; each entry is a WORD
// count of UTF-16 units followed by the units, with no terminator.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace platform::resources {

constexpr UINT kStringsPerBlock = 16;

using StringBlock = std::array<std::wstring, kStringsPerBlock>;

inline WORD StringBlockName(UINT id) { return static_cast<WORD>(id / kStringsPerBlock + 1); }
inline UINT StringBlockIndex(UINT id) { return id % kStringsPerBlock; }

// Reads the 16 strings of a block; false when the block is truncated.
bool ParseStringBlock(std::span<const uint8_t> bytes, StringBlock &block);

}  // namespace platform::resources
