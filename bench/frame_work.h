// The work each frame costs wherever it is done: the source makes it, the
// transform copies it, the renderer checks it. The benchmark does it once
// through a graph and once in a plain loop; the difference is the graph's.
#pragma once

#include <windows.h>

#include <cstddef>

namespace bench {

// Small RGB32 frames, so that the copy does not hide the graph's own cost.
constexpr LONG kFrameWidth = 16;
constexpr LONG kFrameHeight = 16;
constexpr size_t kFrameBytes = kFrameWidth * kFrameHeight * 4;

// Fills the frame with its number.
void MakeFrame(BYTE *frame, DWORD number);
void CopyFrame(const BYTE *input, BYTE *output);
// Adds the frame's number to the checksum, which the benchmark compares
// between the two runs.
void ConsumeFrame(const BYTE *frame, unsigned long long &checksum);

}  // namespace bench
