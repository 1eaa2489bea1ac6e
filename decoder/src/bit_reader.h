// Reads the fields of an H.264 parameter set, most significant bit first:
// fixed-width fields and exp-Golomb codes. The bytes given are the payload
// with its emulation-prevention bytes already removed. Reading past the end
// gives zero bits and marks the reader as overrun, so that a damaged unit
// is never read beyond its bytes; the caller checks Overrun() at the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace h264decoder {

class BitReader {
 public:
  explicit BitReader(std::span<const uint8_t> bytes) : m_bytes(bytes) {}

  // count is 0 to 32.
  uint32_t Bits(int count);
  bool Flag() { return Bits(1) != 0; }
  void Skip(int count);
  // ue(v) and se(v); a code longer than 32 bits overruns.
  uint32_t UnsignedGolomb();
  int32_t SignedGolomb();

  bool Overrun() const { return m_overrun; }

 private:
  uint32_t Bit();

  std::span<const uint8_t> m_bytes;
  size_t m_position = 0;  // in bits
  bool m_overrun = false;
};

}  // namespace h264decoder
