// Compressed subtypes and their codecs.
#include "media/ffmpeg/compressed_subtypes.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <algorithm>
#include <iterator>

namespace platform::media::ffmpeg {
namespace {

// The tail of every FOURCC subtype: XXXXXXXX-0000-0010-8000-00AA00389B71.
constexpr GUID kTagSubtypeBase = {0x00000000, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

struct VideoCodecName {
  AVCodecID codec;
  DWORD fourcc;
};

// The first entry of a codec is the FOURCC it is offered under; the others
// are accepted too.
constexpr VideoCodecName kVideoNames[] = {
    {AV_CODEC_ID_H264, MakeFourcc('H', '2', '6', '4')},       {AV_CODEC_ID_H264, MakeFourcc('h', '2', '6', '4')},
    {AV_CODEC_ID_H264, MakeFourcc('A', 'V', 'C', '1')},       {AV_CODEC_ID_H264, MakeFourcc('a', 'v', 'c', '1')},
    {AV_CODEC_ID_MPEG4, MakeFourcc('M', 'P', '4', 'V')},      {AV_CODEC_ID_MPEG4, MakeFourcc('m', 'p', '4', 'v')},
    {AV_CODEC_ID_HEVC, MakeFourcc('H', 'E', 'V', 'C')},       {AV_CODEC_ID_HEVC, MakeFourcc('H', 'V', 'C', '1')},
    {AV_CODEC_ID_MPEG2VIDEO, MakeFourcc('M', 'P', 'G', '2')}, {AV_CODEC_ID_MPEG1VIDEO, MakeFourcc('M', 'P', 'G', '1')},
    {AV_CODEC_ID_VP8, MakeFourcc('V', 'P', '8', '0')},        {AV_CODEC_ID_VP9, MakeFourcc('V', 'P', '9', '0')},
    {AV_CODEC_ID_AV1, MakeFourcc('A', 'V', '0', '1')},        {AV_CODEC_ID_MJPEG, MakeFourcc('M', 'J', 'P', 'G')},
};

struct AudioCodecName {
  AVCodecID codec;
  WORD tag;
};

// AAC is not here: its tag depends on its framing.
constexpr AudioCodecName kAudioNames[] = {
    {AV_CODEC_ID_MP3, kWaveTagMp3},  {AV_CODEC_ID_MP2, 0x0050},       {AV_CODEC_ID_AC3, 0x2000},
    {AV_CODEC_ID_PCM_S16LE, 0x0001}, {AV_CODEC_ID_PCM_F32LE, 0x0003}, {AV_CODEC_ID_FLAC, 0xF1AC},
    {AV_CODEC_ID_OPUS, 0x704F},
};

// The AVI and WAV tables of libavformat, for codecs outside ours.
DWORD RiffTagOf(const AVCodecTag *table, AVCodecID codec) {
  const AVCodecTag *const tables[] = {table, nullptr};
  return av_codec_get_tag(tables, codec);
}

AVCodecID RiffCodecOf(const AVCodecTag *table, DWORD tag) {
  const AVCodecTag *const tables[] = {table, nullptr};
  return av_codec_get_id(tables, tag);
}

}  // namespace

GUID SubtypeOfTag(DWORD tag) {
  GUID subtype = kTagSubtypeBase;
  subtype.Data1 = tag;
  return subtype;
}

std::optional<DWORD> TagOfSubtype(const GUID &subtype) {
  if (!IsEqualGUID(SubtypeOfTag(subtype.Data1), subtype)) return std::nullopt;
  return subtype.Data1;
}

DWORD VideoFourccOf(AVCodecID codec) {
  const auto named = std::find_if(std::begin(kVideoNames), std::end(kVideoNames),
                                  [&](const VideoCodecName &name) { return name.codec == codec; });
  return named != std::end(kVideoNames) ? named->fourcc : RiffTagOf(avformat_get_riff_video_tags(), codec);
}

AVCodecID VideoCodecOf(DWORD fourcc) {
  const auto named = std::find_if(std::begin(kVideoNames), std::end(kVideoNames),
                                  [&](const VideoCodecName &name) { return name.fourcc == fourcc; });
  return named != std::end(kVideoNames) ? named->codec : RiffCodecOf(avformat_get_riff_video_tags(), fourcc);
}

WORD WaveTagOf(AVCodecID codec, bool hasConfiguration) {
  if (codec == AV_CODEC_ID_AAC) return hasConfiguration ? kWaveTagRawAac : kWaveTagAdtsAac;
  const auto named = std::find_if(std::begin(kAudioNames), std::end(kAudioNames),
                                  [&](const AudioCodecName &name) { return name.codec == codec; });
  const DWORD tag = named != std::end(kAudioNames) ? named->tag : RiffTagOf(avformat_get_riff_audio_tags(), codec);
  return tag <= 0xFFFF ? static_cast<WORD>(tag) : 0;
}

}  // namespace platform::media::ffmpeg
