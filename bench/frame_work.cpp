#include "frame_work.h"

#include <cstring>

namespace bench {

void MakeFrame(BYTE *frame, DWORD number) {
  std::memset(frame, static_cast<int>(number & 0xFF), kFrameBytes);
  std::memcpy(frame, &number, sizeof number);
}

void CopyFrame(const BYTE *input, BYTE *output) { std::memcpy(output, input, kFrameBytes); }

void ConsumeFrame(const BYTE *frame, unsigned long long &checksum) {
  DWORD number = 0;
  std::memcpy(&number, frame, sizeof number);
  checksum += number + frame[kFrameBytes - 1];
}

}  // namespace bench
