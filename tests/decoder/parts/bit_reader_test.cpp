// The bit reader of the parameter-set parser: fixed fields, exp-Golomb codes
// and reads past the end.
#include "bit_reader.h"

#include <gtest/gtest.h>

#include <vector>

namespace h264decoder {
namespace {

struct GolombCase {
  std::vector<uint8_t> bytes;
  uint32_t unsignedValue;
  int32_t signedValue;
};

// ITU-T H.264 Table 9-2 and 9-3: code bits, ue(v) and se(v).
const GolombCase kGolombCases[] = {
    {{0x80}, 0, 0},                   // 1
    {{0x40}, 1, 1},                   // 010
    {{0x60}, 2, -1},                  // 011
    {{0x20}, 3, 2},                   // 00100
    {{0x38}, 6, -3},                  // 00111
    {{0x08, 0x80}, 16, -8},           // 000010001
    {{0x00, 0x01, 0x00, 0x00}, 32767, 16384},  // 15 zeros, 1, 15 zeros
};

TEST(BitReaderTest, ReadsExpGolombCodes) {
  for (const GolombCase &known : kGolombCases) {
    BitReader unsignedReader(known.bytes);
    EXPECT_EQ(unsignedReader.UnsignedGolomb(), known.unsignedValue) << "first byte " << int(known.bytes[0]);
    BitReader signedReader(known.bytes);
    EXPECT_EQ(signedReader.SignedGolomb(), known.signedValue) << "first byte " << int(known.bytes[0]);
    EXPECT_FALSE(signedReader.Overrun());
  }
}

TEST(BitReaderTest, ReadsFieldsMostSignificantBitFirst) {
  const std::vector<uint8_t> bytes = {0xA5, 0x0F, 0xF0};
  BitReader bits(bytes);
  EXPECT_TRUE(bits.Flag());
  EXPECT_EQ(bits.Bits(3), 0x2u);
  bits.Skip(4);
  EXPECT_EQ(bits.Bits(16), 0x0FF0u);
  EXPECT_FALSE(bits.Overrun());
}

TEST(BitReaderTest, ReadingPastTheEndGivesZerosAndMarksOverrun) {
  const std::vector<uint8_t> bytes = {0xFF};
  BitReader bits(bytes);
  EXPECT_EQ(bits.Bits(12), 0xFF0u);
  EXPECT_TRUE(bits.Overrun());
}

TEST(BitReaderTest, CodeWithoutEndOverruns) {
  const std::vector<uint8_t> zeros(8, 0);
  BitReader bits(zeros);
  EXPECT_EQ(bits.UnsignedGolomb(), 0u);
  EXPECT_TRUE(bits.Overrun());
}

}  // namespace
}  // namespace h264decoder
