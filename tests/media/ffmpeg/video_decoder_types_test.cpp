// The generic video decoder's media types.
#include "media/ffmpeg/video_decoder_types.h"

#include <dvdmedia.h>
#include <uuids.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "media/ffmpeg/compressed_subtypes.h"

namespace platform::media::ffmpeg {
namespace {

using Bytes = std::vector<BYTE>;

const Bytes kSequenceHeader = {0x00, 0x04, 0x67, 0x4D, 0x40, 0x1F, 0x00, 0x02, 0x68, 0xEE};

MediaType Avc1Type(LONG width, LONG height, DWORD aspectX, DWORD aspectY, DWORD lengthSize) {
  Bytes block(offsetof(MPEG2VIDEOINFO, dwSequenceHeader) + kSequenceHeader.size());
  MPEG2VIDEOINFO info{};
  info.hdr.AvgTimePerFrame = 400000;
  info.hdr.dwPictAspectRatioX = aspectX;
  info.hdr.dwPictAspectRatioY = aspectY;
  info.hdr.bmiHeader.biWidth = width;
  info.hdr.bmiHeader.biHeight = height;
  info.dwFlags = lengthSize;
  info.cbSequenceHeader = static_cast<DWORD>(kSequenceHeader.size());
  std::memcpy(block.data(), &info, offsetof(MPEG2VIDEOINFO, dwSequenceHeader));
  std::memcpy(block.data() + offsetof(MPEG2VIDEOINFO, dwSequenceHeader), kSequenceHeader.data(),
              kSequenceHeader.size());
  return MediaType(MEDIATYPE_Video, MEDIASUBTYPE_AVC1, FORMAT_MPEG2Video, block.data(), block.size());
}

MediaType VideoInfoType(const GUID &subtype, LONG width, LONG height, const Bytes &tail = {}) {
  Bytes block(sizeof(VIDEOINFOHEADER) + tail.size());
  VIDEOINFOHEADER header{};
  header.AvgTimePerFrame = 333667;
  header.bmiHeader.biWidth = width;
  header.bmiHeader.biHeight = height;
  std::memcpy(block.data(), &header, sizeof header);
  if (!tail.empty()) std::memcpy(block.data() + sizeof header, tail.data(), tail.size());
  return MediaType(MEDIATYPE_Video, subtype, FORMAT_VideoInfo, block.data(), block.size());
}

TEST(VideoDecoderTypes, Avc1SequenceHeaderBecomesAConfigurationRecord) {
  const auto input = DescribeDecoderInput(Avc1Type(1280, 720, 16, 9, 4).Get());
  ASSERT_TRUE(input);
  EXPECT_EQ(input->codec, AV_CODEC_ID_H264);
  EXPECT_EQ(input->width, 1280);
  EXPECT_EQ(input->height, 720);
  EXPECT_EQ(input->avgTimePerFrame, 400000);
  EXPECT_EQ(input->aspectX, 16u);
  EXPECT_EQ(input->aspectY, 9u);
  EXPECT_EQ(input->configuration, (Bytes{0x01, 0x4D, 0x40, 0x1F, 0xFF, 0xE1, 0x00, 0x04, 0x67, 0x4D, 0x40, 0x1F, 0x01,
                                         0x00, 0x02, 0x68, 0xEE}));
}

TEST(VideoDecoderTypes, AvcLengthSizeZeroMeansFourBytes) {
  const auto input = DescribeDecoderInput(Avc1Type(64, 64, 0, 0, 0).Get());
  ASSERT_TRUE(input);
  EXPECT_EQ(input->configuration[4], 0xFF);
}

TEST(VideoDecoderTypes, VideoInfoTailIsTheConfiguration) {
  const Bytes tail = {0x00, 0x00, 0x01, 0xB0};
  const auto input =
      DescribeDecoderInput(VideoInfoType(SubtypeOfTag(MakeFourcc('M', 'P', '4', 'V')), 176, -144, tail).Get());
  ASSERT_TRUE(input);
  EXPECT_EQ(input->codec, AV_CODEC_ID_MPEG4);
  EXPECT_EQ(input->height, 144) << "a negative height is the same size";
  EXPECT_EQ(input->configuration, tail);
  EXPECT_EQ(input->aspectX, 0u);
}

TEST(VideoDecoderTypes, RefusesWhatIsNotCompressedVideoItKnows) {
  struct Case {
    const char *name;
    MediaType type;
  };
  MediaType audio = VideoInfoType(MEDIASUBTYPE_H264, 64, 64);
  audio = MediaType(MEDIATYPE_Audio, MEDIASUBTYPE_H264, FORMAT_VideoInfo, audio->pbFormat, audio->cbFormat);
  const Case cases[] = {
      {"uncompressed YV12", VideoInfoType(MEDIASUBTYPE_YV12, 64, 64)},
      {"uncompressed RGB32", VideoInfoType(MEDIASUBTYPE_RGB32, 64, 64)},
      {"an unknown FOURCC", VideoInfoType(SubtypeOfTag(MakeFourcc('Q', 'Q', 'Q', 'Q')), 64, 64)},
      {"no frame size", VideoInfoType(MEDIASUBTYPE_H264, 0, 64)},
      {"too large a frame", VideoInfoType(MEDIASUBTYPE_H264, 32768, 64)},
      {"audio", audio},
      {"a format block cut short",
       MediaType(MEDIATYPE_Video, MEDIASUBTYPE_H264, FORMAT_VideoInfo2, audio->pbFormat, 40)},
      {"no format block", MediaType(MEDIATYPE_Video, MEDIASUBTYPE_H264, FORMAT_VideoInfo, nullptr, 0)},
  };
  for (const Case &c : cases) EXPECT_FALSE(DescribeDecoderInput(c.type.Get())) << c.name;
}

TEST(VideoDecoderTypes, SequenceHeaderLongerThanItsBlockIsRefused) {
  MediaType type = Avc1Type(64, 64, 0, 0, 4);
  type.SetFormat(type->pbFormat, type->cbFormat - 1);
  EXPECT_FALSE(DescribeDecoderInput(type.Get()));
}

struct ExpectedOutput {
  const GUID *subtype;
  const GUID *formatType;
};

// The subtype and format type of each output offered, as pointers to the
// identifiers of the media headers (null for others).
std::vector<ExpectedOutput> OutputsOf(const DecoderInput &input) {
  const GUID *subtypes[] = {&MEDIASUBTYPE_YV12, &MEDIASUBTYPE_NV12, &MEDIASUBTYPE_RGB32};
  const GUID *formats[] = {&FORMAT_VideoInfo2, &FORMAT_VideoInfo};
  auto named = [](const auto &known, const GUID &guid) -> const GUID * {
    for (const GUID *candidate : known) {
      if (IsEqualGUID(*candidate, guid)) return candidate;
    }
    return nullptr;
  };
  std::vector<ExpectedOutput> outputs;
  for (ULONG position = 0;; ++position) {
    const auto type = DecoderOutputType(input, position);
    if (!type) return outputs;
    outputs.push_back({named(subtypes, (*type)->subtype), named(formats, (*type)->formattype)});
  }
}

TEST(VideoDecoderTypes, OutputsInOrderOfPreference) {
  DecoderInput input;
  input.width = 320;
  input.height = 240;
  const auto outputs = OutputsOf(input);
  const ExpectedOutput expected[] = {
      {&MEDIASUBTYPE_YV12, &FORMAT_VideoInfo2},  {&MEDIASUBTYPE_NV12, &FORMAT_VideoInfo2},
      {&MEDIASUBTYPE_RGB32, &FORMAT_VideoInfo2}, {&MEDIASUBTYPE_YV12, &FORMAT_VideoInfo},
      {&MEDIASUBTYPE_NV12, &FORMAT_VideoInfo},   {&MEDIASUBTYPE_RGB32, &FORMAT_VideoInfo},
  };
  ASSERT_EQ(outputs.size(), std::size(expected));
  for (size_t i = 0; i < outputs.size(); ++i) {
    EXPECT_EQ(outputs[i].subtype, expected[i].subtype) << "position " << i;
    EXPECT_EQ(outputs[i].formatType, expected[i].formatType) << "position " << i;
  }
}

TEST(VideoDecoderTypes, AnOddSizeIsOfferedOnlyAsRgb32) {
  DecoderInput input;
  input.width = 321;
  input.height = 240;
  const auto outputs = OutputsOf(input);
  ASSERT_EQ(outputs.size(), 2u);
  EXPECT_EQ(outputs[0].subtype, &MEDIASUBTYPE_RGB32);
  EXPECT_EQ(outputs[1].subtype, &MEDIASUBTYPE_RGB32);
}

TEST(VideoDecoderTypes, OutputCarriesSizeFrameTimeAndAspect) {
  const auto input = DescribeDecoderInput(Avc1Type(720, 576, 16, 9, 4).Get());
  ASSERT_TRUE(input);
  const auto type = DecoderOutputType(*input, 0);
  ASSERT_TRUE(type);
  const auto *header = type->FormatAs<VIDEOINFOHEADER2>(FORMAT_VideoInfo2);
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(header->bmiHeader.biWidth, 720);
  EXPECT_EQ(header->bmiHeader.biHeight, 576);
  EXPECT_EQ(header->bmiHeader.biBitCount, 12);
  EXPECT_EQ(header->bmiHeader.biCompression, MakeFourcc('Y', 'V', '1', '2'));
  EXPECT_EQ(header->bmiHeader.biSizeImage, 720u * 576u * 3u / 2u);
  EXPECT_EQ((*type)->lSampleSize, header->bmiHeader.biSizeImage);
  EXPECT_EQ(header->AvgTimePerFrame, 400000);
  EXPECT_EQ(header->dwPictAspectRatioX, 16u);
  EXPECT_EQ(header->dwPictAspectRatioY, 9u);
}

TEST(VideoDecoderTypes, OutputOfSquarePixelsWhenTheInputHasNoAspect) {
  DecoderInput input;
  input.width = 320;
  input.height = 240;
  const auto type = DecoderOutputType(input, 0);
  const auto *header = type->FormatAs<VIDEOINFOHEADER2>(FORMAT_VideoInfo2);
  EXPECT_EQ(header->dwPictAspectRatioX, 4u);
  EXPECT_EQ(header->dwPictAspectRatioY, 3u);
}

TEST(VideoDecoderTypes, DescribesTheOutputsItOffers) {
  DecoderInput input;
  input.width = 320;
  input.height = 240;
  struct Case {
    ULONG position;
    AVPixelFormat pixelFormat;
    bool swapChroma;
    bool bottomUp;
    DWORD imageSize;
  };
  const Case cases[] = {
      {0, AV_PIX_FMT_YUV420P, true, false, 115200},
      {1, AV_PIX_FMT_NV12, false, false, 115200},
      {2, AV_PIX_FMT_BGRA, false, true, 307200},
  };
  for (const Case &c : cases) {
    const auto output = DescribeDecoderOutput(DecoderOutputType(input, c.position)->Get());
    ASSERT_TRUE(output) << c.position;
    EXPECT_EQ(output->pixelFormat, c.pixelFormat) << c.position;
    EXPECT_EQ(output->swapChroma, c.swapChroma) << c.position;
    EXPECT_EQ(output->bottomUp, c.bottomUp) << c.position;
    EXPECT_EQ(output->width, 320) << c.position;
    EXPECT_EQ(output->height, 240) << c.position;
    EXPECT_EQ(output->imageSize, c.imageSize) << c.position;
  }
}

TEST(VideoDecoderTypes, TopDownRgb32HasANegativeHeight) {
  MediaType type = VideoInfoType(MEDIASUBTYPE_RGB32, 64, -48);
  const auto output = DescribeDecoderOutput(type.Get());
  ASSERT_TRUE(output);
  EXPECT_FALSE(output->bottomUp);
  EXPECT_EQ(output->height, 48);
}

TEST(VideoDecoderTypes, TheLargestPictureSizeStillFitsALong) {
  const auto output = DescribeDecoderOutput(VideoInfoType(MEDIASUBTYPE_RGB32, 16384, 16384).Get());
  ASSERT_TRUE(output);
  EXPECT_EQ(output->imageSize, 1u << 30);
  EXPECT_FALSE(DescribeDecoderOutput(VideoInfoType(MEDIASUBTYPE_RGB32, 16385, 16).Get()));
}

TEST(VideoDecoderTypes, RefusesOutputsItDoesNotGive) {
  EXPECT_FALSE(DescribeDecoderOutput(VideoInfoType(MEDIASUBTYPE_YUY2, 64, 64).Get()));
  EXPECT_FALSE(DescribeDecoderOutput(VideoInfoType(MEDIASUBTYPE_YV12, 63, 64).Get())) << "odd 4:2:0";
  EXPECT_FALSE(DescribeDecoderOutput(VideoInfoType(MEDIASUBTYPE_NV12, 0, 64).Get()));
}

}  // namespace
}  // namespace platform::media::ffmpeg
