// Finding NAL units in byte streams and length-prefixed data, and writing
// them as a byte stream.
#include "nal_units.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace h264decoder {
namespace {

using Bytes = std::vector<uint8_t>;

std::vector<Bytes> Copies(const std::vector<NalUnit> &units) {
  std::vector<Bytes> copies;
  for (NalUnit unit : units) copies.emplace_back(unit.begin(), unit.end());
  return copies;
}

TEST(NalUnitsTest, SplitsByteStreamAtThreeAndFourByteStartCodes) {
  const Bytes stream = {0x00, 0x00, 0x00, 0x01, 0x67, 0x64, 0x00,  // SPS, with a zero that belongs to the next start code
                        0x00, 0x00, 0x01, 0x68, 0xEB,              // PPS
                        0x00, 0x00, 0x01, 0x65, 0x88, 0x00, 0x00};  // IDR slice, trailing zeros
  EXPECT_EQ(Copies(SplitByteStream(stream)), (std::vector<Bytes>{{0x67, 0x64}, {0x68, 0xEB}, {0x65, 0x88}}));
}

TEST(NalUnitsTest, BytesBeforeTheFirstStartCodeBelongToNoUnit) {
  const Bytes stream = {0x12, 0x34, 0x00, 0x00, 0x01, 0x09, 0xF0};
  EXPECT_EQ(Copies(SplitByteStream(stream)), (std::vector<Bytes>{{0x09, 0xF0}}));
  EXPECT_TRUE(SplitByteStream(Bytes{0x01, 0x02, 0x03}).empty());
}

struct PrefixedCase {
  const char *name;
  Bytes data;
  int lengthSize;
  bool whole;
  std::vector<Bytes> units;
};

const PrefixedCase kPrefixedCases[] = {
    {"1-byte sizes", {2, 0x65, 0x88, 1, 0x41}, 1, true, {{0x65, 0x88}, {0x41}}},
    {"2-byte sizes", {0, 2, 0x67, 0x64, 0, 1, 0x68}, 2, true, {{0x67, 0x64}, {0x68}}},
    {"4-byte sizes", {0, 0, 0, 3, 0x65, 0x88, 0x84}, 4, true, {{0x65, 0x88, 0x84}}},
    {"size past the end", {0, 0, 0, 1, 0x65, 0, 0, 0, 9, 0x41}, 4, false, {{0x65}}},
    {"cut size", {0, 0, 0, 1, 0x65, 0, 0}, 4, false, {{0x65}}},
    {"size 3 is no prefix size", {0, 0, 1, 0x65}, 3, false, {}},
};

TEST(NalUnitsTest, SplitsLengthPrefixedUnits) {
  for (const PrefixedCase &known : kPrefixedCases) {
    std::vector<NalUnit> units;
    EXPECT_EQ(SplitLengthPrefixed(known.data, known.lengthSize, units), known.whole) << known.name;
    EXPECT_EQ(Copies(units), known.units) << known.name;
  }
}

TEST(NalUnitsTest, SequenceHeaderMayBeEitherForm) {
  const Bytes prefixedHeader = {0, 2, 0x67, 0x64, 0, 1, 0x68};
  const Bytes byteStreamHeader = {0, 0, 0, 1, 0x67, 0x64, 0, 0, 1, 0x68};
  std::vector<NalUnit> prefixed, byteStream;
  ASSERT_TRUE(SplitSequenceHeader(prefixedHeader, prefixed));
  ASSERT_TRUE(SplitSequenceHeader(byteStreamHeader, byteStream));
  EXPECT_EQ(Copies(prefixed), Copies(byteStream));
}

TEST(NalUnitsTest, WritesUnitsAfterFourByteStartCodes) {
  const Bytes first = {0x67, 0x64}, second = {0x68};
  Bytes out = {0xAA};
  AppendByteStream({first, second}, out);
  EXPECT_EQ(out, (Bytes{0xAA, 0, 0, 0, 1, 0x67, 0x64, 0, 0, 0, 1, 0x68}));
  EXPECT_EQ(ByteStreamSize({first, second}), 11u);
}

TEST(NalUnitsTest, FindsIdrSlices) {
  const Bytes idr = {0x65, 0x88}, slice = {0x41, 0x9A}, sps = {0x67};
  EXPECT_TRUE(ContainsIdrSlice({sps, idr}));
  EXPECT_FALSE(ContainsIdrSlice({sps, slice}));
  EXPECT_EQ(UnitType(idr), kNalIdrSlice);
}

TEST(NalUnitsTest, RawPayloadDropsEmulationPreventionBytes) {
  const Bytes unit = {0x67, 0x00, 0x00, 0x03, 0x01, 0x00, 0x00, 0x03, 0x00, 0x03};
  EXPECT_EQ(RawPayload(unit), (Bytes{0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x03}));
}

}  // namespace
}  // namespace h264decoder
