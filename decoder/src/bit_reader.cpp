// The bit reader of the parameter-set parser.
#include "bit_reader.h"

namespace h264decoder {

uint32_t BitReader::Bit() {
  if (m_position >= m_bytes.size() * 8) {
    m_overrun = true;
    return 0;
  }
  const uint8_t byte = m_bytes[m_position / 8];
  const uint32_t bit = (byte >> (7 - m_position % 8)) & 1u;
  ++m_position;
  return bit;
}

uint32_t BitReader::Bits(int count) {
  uint32_t value = 0;
  for (int i = 0; i < count; ++i) value = (value << 1) | Bit();
  return value;
}

void BitReader::Skip(int count) {
  for (int i = 0; i < count; ++i) Bit();
}

uint32_t BitReader::UnsignedGolomb() {
  int leadingZeros = 0;
  while (Bit() == 0) {
    if (m_overrun || ++leadingZeros > 31) {
      m_overrun = true;
      return 0;
    }
  }
  const uint64_t value = (uint64_t{1} << leadingZeros) - 1 + Bits(leadingZeros);
  return static_cast<uint32_t>(value);
}

// 1, -1, 2, -2, ... for the codes 1, 2, 3, 4, ...
int32_t BitReader::SignedGolomb() {
  const uint32_t code = UnsignedGolomb();
  const int64_t magnitude = (static_cast<int64_t>(code) + 1) / 2;
  return static_cast<int32_t>(code % 2 ? magnitude : -magnitude);
}

}  // namespace h264decoder
