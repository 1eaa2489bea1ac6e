// The input types the decoder takes and refuses, and what it reads from
// their format blocks.
#include "input_format.h"

#include <dvdmedia.h>
#include <uuids.h>
#include <vfwmsgs.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "clip_reader.h"

namespace h264decoder {
namespace {

using decoder_testing::Bytes;
using platform::media::MediaType;

std::string Hex(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08x", static_cast<unsigned>(hr));
  return text;
}

BITMAPINFOHEADER Bitmap(LONG width, LONG height) {
  BITMAPINFOHEADER bitmap{};
  bitmap.biSize = sizeof bitmap;
  bitmap.biWidth = width;
  bitmap.biHeight = height;
  return bitmap;
}

MediaType VideoInfoType(const GUID &subtype, LONG width = 320, LONG height = 240) {
  VIDEOINFOHEADER info{};
  info.AvgTimePerFrame = 400000;
  info.bmiHeader = Bitmap(width, height);
  return MediaType(MEDIATYPE_Video, subtype, FORMAT_VideoInfo, &info, sizeof info);
}

MediaType Mpeg2Type(const GUID &subtype, DWORD lengthSize, const Bytes &sequenceHeader, DWORD claimedSize) {
  Bytes block(offsetof(MPEG2VIDEOINFO, dwSequenceHeader) + std::max<size_t>(sequenceHeader.size(), 4));
  auto *info = reinterpret_cast<MPEG2VIDEOINFO *>(block.data());
  info->hdr.AvgTimePerFrame = 333667;
  info->hdr.bmiHeader = Bitmap(720, 576);
  info->hdr.dwPictAspectRatioX = 16;
  info->hdr.dwPictAspectRatioY = 9;
  info->dwFlags = lengthSize;
  info->cbSequenceHeader = claimedSize;
  std::copy(sequenceHeader.begin(), sequenceHeader.end(), block.begin() + offsetof(MPEG2VIDEOINFO, dwSequenceHeader));
  return MediaType(MEDIATYPE_Video, subtype, FORMAT_MPEG2Video, block.data(), block.size());
}

MediaType Mpeg2Type(const GUID &subtype, DWORD lengthSize, const Bytes &sequenceHeader = {}) {
  return Mpeg2Type(subtype, lengthSize, sequenceHeader, static_cast<DWORD>(sequenceHeader.size()));
}

// MPEG-4 Visual, FOURCC MP4V.
const GUID kSubtypeMp4v = {0x5634504D, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

struct TypeCase {
  const char *name;
  MediaType type;
  HRESULT expected;
};

TEST(InputFormatTest, TakesH264AndAvc1Only) {
  const TypeCase cases[] = {
      {"H264, VIDEOINFOHEADER", VideoInfoType(MEDIASUBTYPE_H264), S_OK},
      {"H264, MPEG2VIDEOINFO without parameter sets", Mpeg2Type(MEDIASUBTYPE_H264, 0), S_OK},
      {"AVC1, MPEG2VIDEOINFO, 4-byte sizes", Mpeg2Type(MEDIASUBTYPE_AVC1, 4), S_OK},
      {"AVC1, MPEG2VIDEOINFO, 2-byte sizes", Mpeg2Type(MEDIASUBTYPE_AVC1, 2), S_OK},
      {"AVC1, MPEG2VIDEOINFO, 3-byte sizes", Mpeg2Type(MEDIASUBTYPE_AVC1, 3), VFW_E_TYPE_NOT_ACCEPTED},
      {"AVC1, VIDEOINFOHEADER (no size of the length prefix)", VideoInfoType(MEDIASUBTYPE_AVC1),
       VFW_E_TYPE_NOT_ACCEPTED},
      {"AVC1, sequence header longer than the block", Mpeg2Type(MEDIASUBTYPE_AVC1, 4, {0, 1, 0x68}, 400),
       VFW_E_TYPE_NOT_ACCEPTED},
      {"AVC1, damaged sequence header", Mpeg2Type(MEDIASUBTYPE_AVC1, 4, {0, 9, 0x67}), VFW_E_TYPE_NOT_ACCEPTED},
      {"MPEG-4 Visual", VideoInfoType(kSubtypeMp4v), VFW_E_TYPE_NOT_ACCEPTED},
      {"NV12 pictures", VideoInfoType(MEDIASUBTYPE_NV12), VFW_E_TYPE_NOT_ACCEPTED},
      {"H264 without a size", VideoInfoType(MEDIASUBTYPE_H264, 0, 0), VFW_E_TYPE_NOT_ACCEPTED},
      {"H264 without a format block", MediaType(MEDIATYPE_Video, MEDIASUBTYPE_H264, FORMAT_None, nullptr, 0),
       VFW_E_TYPE_NOT_ACCEPTED},
      {"H264 as audio", MediaType(MEDIATYPE_Audio, MEDIASUBTYPE_H264, FORMAT_VideoInfo,
                                  VideoInfoType(MEDIASUBTYPE_H264)->pbFormat, sizeof(VIDEOINFOHEADER)),
       VFW_E_TYPE_NOT_ACCEPTED},
  };
  for (const TypeCase &known : cases) {
    EXPECT_EQ(Hex(ReadInputFormat(known.type.Get(), nullptr)), Hex(known.expected)) << known.name;
  }
}

TEST(InputFormatTest, ReadsTheHeaderOfAByteStream) {
  InputFormat format;
  ASSERT_EQ(ReadInputFormat(VideoInfoType(MEDIASUBTYPE_H264, 640, -360).Get(), &format), S_OK);
  EXPECT_EQ(format.lengthSize, 0);
  EXPECT_TRUE(format.parameterSets.empty());
  EXPECT_EQ(format.picture.width, 640);
  EXPECT_EQ(format.picture.height, 360);
  EXPECT_EQ(format.picture.frameDuration, 400000);
  EXPECT_EQ(format.picture.sarWidth, 1);
  EXPECT_EQ(format.picture.sarHeight, 1);
}

TEST(InputFormatTest, PictureAspectRatioGivesTheSampleAspectRatio) {
  InputFormat format;
  ASSERT_EQ(ReadInputFormat(Mpeg2Type(MEDIASUBTYPE_H264, 0).Get(), &format), S_OK);
  // 16:9 on 720 x 576 pixels: each pixel is 64:45.
  EXPECT_EQ(format.picture.sarWidth, 64);
  EXPECT_EQ(format.picture.sarHeight, 45);
}

TEST(InputFormatTest, ParameterSetsOfAvc1BecomeAByteStreamAndDescribeThePicture) {
  const decoder_testing::Clip clip = decoder_testing::ReadClip(decoder_testing::SamplePath("clip-h264-anamorphic.mp4"));
  InputFormat format;
  ASSERT_EQ(ReadInputFormat(clip.type.Get(), &format), S_OK);
  EXPECT_EQ(format.lengthSize, 4);
  Bytes expected;
  for (const Bytes &unit : clip.parameterSets) {
    expected.insert(expected.end(), {0, 0, 0, 1});
    expected.insert(expected.end(), unit.begin(), unit.end());
  }
  EXPECT_EQ(format.parameterSets, expected);
  EXPECT_EQ(format.picture.width, 720);
  EXPECT_EQ(format.picture.height, 576);
  EXPECT_EQ(format.picture.sarWidth, 64);
  EXPECT_EQ(format.picture.sarHeight, 45);
  EXPECT_EQ(format.picture.frameDuration, 400000);
}

TEST(InputFormatTest, ChromaFormatComesFromTheSequenceParameterSet) {
  const decoder_testing::Clip clip = decoder_testing::ReadClip(decoder_testing::TestClipPath("clip-h264-444.mp4"));
  InputFormat format;
  ASSERT_EQ(ReadInputFormat(clip.type.Get(), &format), S_OK);
  EXPECT_EQ(static_cast<int>(format.picture.chroma), static_cast<int>(ChromaFormat::k444));
}

}  // namespace
}  // namespace h264decoder
