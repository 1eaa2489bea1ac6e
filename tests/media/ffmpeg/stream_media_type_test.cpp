// Media types of compressed streams, from codec parameters made here.
#include "media/ffmpeg/stream_media_type.h"

#include <dvdmedia.h>
#include <mmreg.h>
#include <uuids.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "media/ffmpeg/av_objects.h"
#include "media/ffmpeg/compressed_subtypes.h"

extern "C" {
#include <libavutil/channel_layout.h>
}

namespace platform::media::ffmpeg {
namespace {

using Bytes = std::vector<BYTE>;

const Bytes kAvcRecord = {0x01, 0x64, 0x00, 0x0D, 0xFF, 0xE1, 0x00, 0x04, 0x67,
                          0x64, 0x00, 0x0D, 0x01, 0x00, 0x03, 0x68, 0xEB, 0xE3};
const Bytes kAnnexBParameterSets = {0x00, 0x00, 0x00, 0x01, 0x67, 0x64, 0x00, 0x0D, 0x00, 0x00, 0x00, 0x01, 0x68};
const Bytes kAacConfiguration = {0x11, 0x90};

class Parameters {
 public:
  Parameters(AVMediaType type, AVCodecID codec, const Bytes &extradata = {})
      : m_parameters(avcodec_parameters_alloc()) {
    m_parameters->codec_type = type;
    m_parameters->codec_id = codec;
    if (extradata.empty()) return;
    m_parameters->extradata = static_cast<uint8_t *>(av_mallocz(extradata.size() + AV_INPUT_BUFFER_PADDING_SIZE));
    std::memcpy(m_parameters->extradata, extradata.data(), extradata.size());
    m_parameters->extradata_size = static_cast<int>(extradata.size());
  }
  AVCodecParameters *operator->() const { return m_parameters.get(); }
  const AVCodecParameters *Get() const { return m_parameters.get(); }

 private:
  CodecParametersPtr m_parameters;
};

Parameters Video(AVCodecID codec, int width, int height, const Bytes &extradata = {}) {
  Parameters parameters(AVMEDIA_TYPE_VIDEO, codec, extradata);
  parameters->width = width;
  parameters->height = height;
  return parameters;
}

Parameters Audio(AVCodecID codec, int channels, int rate, const Bytes &extradata = {}) {
  Parameters parameters(AVMEDIA_TYPE_AUDIO, codec, extradata);
  av_channel_layout_default(&parameters->ch_layout, channels);
  parameters->sample_rate = rate;
  return parameters;
}

std::optional<MediaType> TypeOf(const Parameters &parameters, AVRational frameRate = {25, 1},
                                AVRational sampleAspect = {0, 1}) {
  return StreamMediaType({parameters.Get(), frameRate, sampleAspect});
}

Bytes FormatTail(const MediaType &type, size_t offset) {
  const AM_MEDIA_TYPE &raw = type.Get();
  return offset <= raw.cbFormat ? Bytes(raw.pbFormat + offset, raw.pbFormat + raw.cbFormat) : Bytes{};
}

TEST(StreamMediaType, H264WithAConfigurationRecordIsAvc1WithItsParameterSets) {
  const auto type = TypeOf(Video(AV_CODEC_ID_H264, 320, 240, kAvcRecord));
  ASSERT_TRUE(type);
  EXPECT_TRUE(IsEqualGUID((*type)->majortype, MEDIATYPE_Video));
  EXPECT_TRUE(IsEqualGUID((*type)->subtype, MEDIASUBTYPE_AVC1));
  EXPECT_TRUE((*type)->bTemporalCompression);
  const auto *info = type->FormatAs<MPEG2VIDEOINFO>(FORMAT_MPEG2Video);
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->dwFlags, 4u);
  EXPECT_EQ(info->dwProfile, 100u);
  EXPECT_EQ(info->dwLevel, 13u);
  const Bytes sequenceHeader = {0x00, 0x04, 0x67, 0x64, 0x00, 0x0D, 0x00, 0x03, 0x68, 0xEB, 0xE3};
  EXPECT_EQ(info->cbSequenceHeader, sequenceHeader.size());
  EXPECT_EQ((*type)->cbFormat, offsetof(MPEG2VIDEOINFO, dwSequenceHeader) + sequenceHeader.size());
  EXPECT_EQ(Bytes(MPEG2_SEQUENCE_INFO(info), MPEG2_SEQUENCE_INFO(info) + info->cbSequenceHeader), sequenceHeader);
  EXPECT_EQ(info->hdr.bmiHeader.biSize, sizeof(BITMAPINFOHEADER));
  EXPECT_EQ(info->hdr.bmiHeader.biWidth, 320);
  EXPECT_EQ(info->hdr.bmiHeader.biHeight, 240);
  EXPECT_EQ(info->hdr.bmiHeader.biCompression, MakeFourcc('A', 'V', 'C', '1'));
  EXPECT_EQ(info->hdr.AvgTimePerFrame, 400000);
  EXPECT_EQ(info->hdr.dwPictAspectRatioX, 4u);
  EXPECT_EQ(info->hdr.dwPictAspectRatioY, 3u);
}

TEST(StreamMediaType, H264AsAnnexBIsH264WithVideoInfo2AndTheBytesAfterIt) {
  const auto type = TypeOf(Video(AV_CODEC_ID_H264, 320, 240, kAnnexBParameterSets));
  ASSERT_TRUE(type);
  EXPECT_TRUE(IsEqualGUID((*type)->subtype, MEDIASUBTYPE_H264));
  const auto *header = type->FormatAs<VIDEOINFOHEADER2>(FORMAT_VideoInfo2);
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(header->bmiHeader.biCompression, MakeFourcc('H', '2', '6', '4'));
  EXPECT_EQ(FormatTail(*type, sizeof(VIDEOINFOHEADER2)), kAnnexBParameterSets);
}

TEST(StreamMediaType, H264WithoutConfigurationIsH264WithABareHeader) {
  const auto type = TypeOf(Video(AV_CODEC_ID_H264, 320, 240));
  ASSERT_TRUE(type);
  EXPECT_TRUE(IsEqualGUID((*type)->subtype, MEDIASUBTYPE_H264));
  EXPECT_EQ((*type)->cbFormat, sizeof(VIDEOINFOHEADER2));
}

TEST(StreamMediaType, OtherVideoCarriesItsFourccAndConfiguration) {
  const Bytes configuration = {0x00, 0x00, 0x01, 0xB0, 0x01};
  const auto type = TypeOf(Video(AV_CODEC_ID_MPEG4, 176, 144, configuration));
  ASSERT_TRUE(type);
  EXPECT_TRUE(IsEqualGUID((*type)->subtype, SubtypeOfTag(MakeFourcc('M', 'P', '4', 'V'))));
  const auto *header = type->FormatAs<VIDEOINFOHEADER2>(FORMAT_VideoInfo2);
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(header->bmiHeader.biCompression, MakeFourcc('M', 'P', '4', 'V'));
  EXPECT_EQ(FormatTail(*type, sizeof(VIDEOINFOHEADER2)), configuration);
}

TEST(StreamMediaType, AvgTimePerFrameComesFromTheFrameRate) {
  struct Case {
    AVRational rate;
    REFERENCE_TIME expected;
  };
  const Case cases[] = {{{25, 1}, 400000}, {{30000, 1001}, 333667}, {{50, 1}, 200000}, {{0, 1}, 0}, {{24, 0}, 0}};
  for (const Case &c : cases) {
    const auto type = TypeOf(Video(AV_CODEC_ID_H264, 64, 64), c.rate);
    ASSERT_TRUE(type);
    EXPECT_EQ(type->FormatAs<VIDEOINFOHEADER2>(FORMAT_VideoInfo2)->AvgTimePerFrame, c.expected)
        << c.rate.num << "/" << c.rate.den;
  }
}

TEST(StreamMediaType, PictureAspectComesFromTheSampleAspect) {
  struct Case {
    int width, height;
    AVRational sampleAspect;
    DWORD x, y;
  };
  const Case cases[] = {
      {720, 576, {64, 45}, 16, 9},                            // anamorphic PAL, 16:9
      {720, 576, {16, 15}, 4, 3},                             // PAL 4:3
      {320, 240, {1, 1}, 4, 3},    {320, 240, {0, 1}, 4, 3},  // unknown: square
      {1920, 1080, {1, 1}, 16, 9},
  };
  for (const Case &c : cases) {
    const auto type = TypeOf(Video(AV_CODEC_ID_H264, c.width, c.height, kAvcRecord), {25, 1}, c.sampleAspect);
    ASSERT_TRUE(type);
    const auto *info = type->FormatAs<MPEG2VIDEOINFO>(FORMAT_MPEG2Video);
    EXPECT_EQ(info->hdr.dwPictAspectRatioX, c.x) << c.width << "x" << c.height;
    EXPECT_EQ(info->hdr.dwPictAspectRatioY, c.y) << c.width << "x" << c.height;
  }
}

TEST(StreamMediaType, AudioIsItsWaveTagWithTheConfigurationAfterTheWaveFormat) {
  struct Case {
    const char *name;
    AVCodecID codec;
    Bytes configuration;
    WORD tag;
    WORD blockAlign;
    WORD bits;
  };
  const Case cases[] = {
      {"AAC in MP4", AV_CODEC_ID_AAC, kAacConfiguration, kWaveTagRawAac, 1, 0},
      {"AAC with ADTS headers", AV_CODEC_ID_AAC, {}, kWaveTagAdtsAac, 1, 0},
      {"MP3", AV_CODEC_ID_MP3, {}, kWaveTagMp3, 1, 0},
      {"16-bit PCM", AV_CODEC_ID_PCM_S16LE, {}, WAVE_FORMAT_PCM, 4, 16},
      {"float PCM", AV_CODEC_ID_PCM_F32LE, {}, WAVE_FORMAT_IEEE_FLOAT, 8, 32},
  };
  for (const Case &c : cases) {
    const auto type = TypeOf(Audio(c.codec, 2, 48000, c.configuration));
    ASSERT_TRUE(type) << c.name;
    EXPECT_TRUE(IsEqualGUID((*type)->majortype, MEDIATYPE_Audio)) << c.name;
    EXPECT_TRUE(IsEqualGUID((*type)->subtype, SubtypeOfTag(c.tag))) << c.name;
    const auto *wave = type->FormatAs<WAVEFORMATEX>(FORMAT_WaveFormatEx);
    ASSERT_NE(wave, nullptr) << c.name;
    EXPECT_EQ(wave->wFormatTag, c.tag) << c.name;
    EXPECT_EQ(wave->nChannels, 2) << c.name;
    EXPECT_EQ(wave->nSamplesPerSec, 48000u) << c.name;
    EXPECT_EQ(wave->nBlockAlign, c.blockAlign) << c.name;
    EXPECT_EQ(wave->wBitsPerSample, c.bits) << c.name;
    EXPECT_EQ(wave->cbSize, c.configuration.size()) << c.name;
    EXPECT_EQ(FormatTail(*type, sizeof(WAVEFORMATEX)), c.configuration) << c.name;
  }
}

TEST(StreamMediaType, PcmHasFixedSizeSamplesAndItsByteRate) {
  const auto type = TypeOf(Audio(AV_CODEC_ID_PCM_S16LE, 2, 44100));
  ASSERT_TRUE(type);
  EXPECT_TRUE((*type)->bFixedSizeSamples);
  EXPECT_EQ((*type)->lSampleSize, 4u);
  EXPECT_EQ(type->FormatAs<WAVEFORMATEX>(FORMAT_WaveFormatEx)->nAvgBytesPerSec, 176400u);
}

TEST(StreamMediaType, StreamsWithoutANameHaveNoType) {
  EXPECT_FALSE(TypeOf(Parameters(AVMEDIA_TYPE_SUBTITLE, AV_CODEC_ID_SUBRIP)));
  EXPECT_FALSE(TypeOf(Parameters(AVMEDIA_TYPE_DATA, AV_CODEC_ID_NONE)));
  EXPECT_FALSE(TypeOf(Video(AV_CODEC_ID_H264, 0, 0, kAvcRecord))) << "a video without a size";
  EXPECT_FALSE(TypeOf(Video(AV_CODEC_ID_NONE, 320, 240))) << "a video codec without a FOURCC";
  EXPECT_FALSE(TypeOf(Audio(AV_CODEC_ID_PCM_S16BE, 2, 48000))) << "an audio codec without a wave tag";
}

}  // namespace
}  // namespace platform::media::ffmpeg
