// Compressed subtypes and their codecs.
#include "media/ffmpeg/compressed_subtypes.h"

#include <mmreg.h>
#include <uuids.h>

#include <gtest/gtest.h>

namespace platform::media::ffmpeg {
namespace {

TEST(CompressedSubtypes, TagsMakeTheSubtypesOfTheMediaHeaders) {
  EXPECT_TRUE(IsEqualGUID(SubtypeOfTag(MakeFourcc('H', '2', '6', '4')), MEDIASUBTYPE_H264));
  EXPECT_TRUE(IsEqualGUID(SubtypeOfTag(MakeFourcc('A', 'V', 'C', '1')), MEDIASUBTYPE_AVC1));
  EXPECT_TRUE(IsEqualGUID(SubtypeOfTag(MakeFourcc('Y', 'V', '1', '2')), MEDIASUBTYPE_YV12));
  EXPECT_TRUE(IsEqualGUID(SubtypeOfTag(1), MEDIASUBTYPE_PCM));
}

TEST(CompressedSubtypes, OnlyFourccSubtypesHaveATag) {
  EXPECT_EQ(TagOfSubtype(MEDIASUBTYPE_avc1), MakeFourcc('a', 'v', 'c', '1'));
  EXPECT_EQ(TagOfSubtype(MEDIASUBTYPE_RGB32), std::nullopt);
  EXPECT_EQ(TagOfSubtype(GUID{}), std::nullopt);
}

// Codecs outside the filters' own table come from libavformat's AVI and WAV tables.
TEST(CompressedSubtypes, OtherCodecsHaveTheirAviAndWavTags) {
  EXPECT_EQ(VideoCodecOf(MakeFourcc('X', 'V', 'I', 'D')), AV_CODEC_ID_MPEG4);
  EXPECT_EQ(VideoCodecOf(MakeFourcc('Q', 'Q', 'Q', 'Q')), AV_CODEC_ID_NONE);
  EXPECT_EQ(WaveTagOf(AV_CODEC_ID_PCM_S24LE, false), WAVE_FORMAT_PCM);
}

}  // namespace
}  // namespace platform::media::ffmpeg
