// Compressed subtypes and their codecs.
#include "media/ffmpeg/compressed_subtypes.h"

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

TEST(CompressedSubtypes, VideoFourccsAndCodecs) {
  struct Case {
    DWORD fourcc;
    AVCodecID codec;
  };
  const Case cases[] = {
      {MakeFourcc('H', '2', '6', '4'), AV_CODEC_ID_H264}, {MakeFourcc('h', '2', '6', '4'), AV_CODEC_ID_H264},
      {MakeFourcc('A', 'V', 'C', '1'), AV_CODEC_ID_H264}, {MakeFourcc('a', 'v', 'c', '1'), AV_CODEC_ID_H264},
      {MakeFourcc('M', 'P', '4', 'V'), AV_CODEC_ID_MPEG4}, {MakeFourcc('H', 'E', 'V', 'C'), AV_CODEC_ID_HEVC},
      {MakeFourcc('X', 'V', 'I', 'D'), AV_CODEC_ID_MPEG4},  // from the AVI table
      {MakeFourcc('Q', 'Q', 'Q', 'Q'), AV_CODEC_ID_NONE},
  };
  for (const Case &c : cases) EXPECT_EQ(VideoCodecOf(c.fourcc), c.codec) << std::hex << c.fourcc;
  EXPECT_EQ(VideoFourccOf(AV_CODEC_ID_H264), MakeFourcc('H', '2', '6', '4'));
  EXPECT_EQ(VideoFourccOf(AV_CODEC_ID_MPEG4), MakeFourcc('M', 'P', '4', 'V'));
  EXPECT_NE(VideoFourccOf(AV_CODEC_ID_MSMPEG4V3), 0u) << "from the AVI table";
}

TEST(CompressedSubtypes, AacTagDependsOnItsFraming) {
  EXPECT_EQ(WaveTagOf(AV_CODEC_ID_AAC, true), kWaveTagRawAac);
  EXPECT_EQ(WaveTagOf(AV_CODEC_ID_AAC, false), kWaveTagAdtsAac);
  EXPECT_EQ(WaveTagOf(AV_CODEC_ID_MP3, false), kWaveTagMp3);
  EXPECT_EQ(WaveTagOf(AV_CODEC_ID_PCM_S24LE, false), 1) << "from the WAV table";
}

}  // namespace
}  // namespace platform::media::ffmpeg
