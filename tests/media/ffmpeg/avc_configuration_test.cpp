// The H.264 configuration record and the AVC1 sequence header, both ways.
#include "media/ffmpeg/avc_configuration.h"

#include <gtest/gtest.h>

#include <vector>

namespace platform::media::ffmpeg {
namespace {

using Bytes = std::vector<BYTE>;

// High profile (100), level 3.0, 4-byte lengths, one SPS and one PPS.
const Bytes kSps = {0x67, 0x64, 0x00, 0x1E, 0xAC, 0xD9};
const Bytes kPps = {0x68, 0xEB, 0xE3, 0xCB};
const Bytes kRecord = {0x01, 0x64, 0x00, 0x1E, 0xFF, 0xE1, 0x00, 0x06, 0x67, 0x64, 0x00,
                       0x1E, 0xAC, 0xD9, 0x01, 0x00, 0x04, 0x68, 0xEB, 0xE3, 0xCB};
const Bytes kSequenceHeader = {0x00, 0x06, 0x67, 0x64, 0x00, 0x1E, 0xAC, 0xD9, 0x00, 0x04, 0x68, 0xEB, 0xE3, 0xCB};

TEST(AvcConfiguration, ParsesProfileLevelLengthSizeAndParameterSets) {
  const auto parsed = ParseAvcConfiguration(kRecord.data(), kRecord.size());
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->profile, 100);
  EXPECT_EQ(parsed->level, 30);
  EXPECT_EQ(parsed->nalLengthSize, 4);
  EXPECT_EQ(parsed->sequenceHeader, kSequenceHeader);
}

TEST(AvcConfiguration, LengthSizeComesFromTheLowBits) {
  Bytes record = kRecord;
  record[4] = 0xFD;  // lengthSizeMinusOne = 1
  const auto parsed = ParseAvcConfiguration(record.data(), record.size());
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->nalLengthSize, 2);
}

TEST(AvcConfiguration, RefusesWhatIsNoRecord) {
  struct Case {
    const char *name;
    Bytes bytes;
  };
  const Case cases[] = {
      {"empty", {}},
      {"Annex B start code", {0x00, 0x00, 0x00, 0x01, 0x67, 0x64}},
      {"version 2", {0x02, 0x64, 0x00, 0x1E, 0xFF, 0xE1, 0x00, 0x00, 0x00}},
      {"cut inside the SPS", Bytes(kRecord.begin(), kRecord.begin() + 10)},
      {"no PPS count", Bytes(kRecord.begin(), kRecord.begin() + 14)},
      {"cut inside the PPS", Bytes(kRecord.begin(), kRecord.end() - 1)},
      {"3-byte lengths", {0x01, 0x64, 0x00, 0x1E, 0xFE, 0xE0, 0x00}},
  };
  for (const Case &c : cases) {
    EXPECT_FALSE(ParseAvcConfiguration(c.bytes.data(), c.bytes.size())) << c.name;
  }
}

TEST(AvcConfiguration, BuildsTheRecordBack) {
  AvcConfiguration configuration;
  configuration.nalLengthSize = 4;
  configuration.sequenceHeader = kSequenceHeader;
  EXPECT_EQ(BuildAvcConfiguration(configuration), kRecord);
}

// The profile and level come from the SPS; other units are left out; a
// PPS that comes first still goes after the SPS.
TEST(AvcConfiguration, BuildSortsParameterSetsAndDropsOtherUnits) {
  AvcConfiguration configuration;
  configuration.profile = 66;  // not what the SPS says
  configuration.nalLengthSize = 4;
  const Bytes sei = {0x06, 0x05, 0x01};
  for (const Bytes *unit : {&kPps, &sei, &kSps}) {
    configuration.sequenceHeader.push_back(0);
    configuration.sequenceHeader.push_back(static_cast<BYTE>(unit->size()));
    configuration.sequenceHeader.insert(configuration.sequenceHeader.end(), unit->begin(), unit->end());
  }
  EXPECT_EQ(BuildAvcConfiguration(configuration), kRecord);
}

// Parameter sets that come in the stream itself: a record without any,
// which still tells the decoder the length size.
TEST(AvcConfiguration, BuildWithoutParameterSetsKeepsProfileLevelAndLengthSize) {
  AvcConfiguration configuration;
  configuration.profile = 77;
  configuration.level = 31;
  configuration.nalLengthSize = 2;
  EXPECT_EQ(BuildAvcConfiguration(configuration), (Bytes{0x01, 77, 0x00, 31, 0xFD, 0xE0, 0x00}));
}

TEST(AvcConfiguration, BuildRefusesABrokenSequenceHeaderOrLengthSize) {
  AvcConfiguration cut;
  cut.sequenceHeader = Bytes(kSequenceHeader.begin(), kSequenceHeader.end() - 1);
  EXPECT_FALSE(BuildAvcConfiguration(cut));
  AvcConfiguration threeBytes;
  threeBytes.nalLengthSize = 3;
  EXPECT_FALSE(BuildAvcConfiguration(threeBytes));
}

}  // namespace
}  // namespace platform::media::ffmpeg
