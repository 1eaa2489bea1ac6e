// Media types of compressed streams.
#include "media/ffmpeg/stream_media_type.h"

#include <dvdmedia.h>
#include <mmreg.h>
#include <uuids.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/mathematics.h>
#include <libavutil/rational.h>
}

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstring>
#include <vector>

#include "media/ffmpeg/avc_configuration.h"
#include "media/ffmpeg/compressed_subtypes.h"

namespace platform::media::ffmpeg {
namespace {

constexpr int64_t kUnitsPerSecond = 10000000;  // REFERENCE_TIME's 100 ns

REFERENCE_TIME FrameDuration(AVRational frameRate) {
  if (frameRate.num <= 0 || frameRate.den <= 0) return 0;
  return av_rescale(kUnitsPerSecond, frameRate.den, frameRate.num);
}

DWORD Clamped(int64_t value) { return static_cast<DWORD>(std::clamp<int64_t>(value, 0, UINT32_MAX)); }

// The whole picture's shape: its size stretched by the pixels' shape, in lowest terms.
void SetPictureAspect(const StreamDescription &stream, VIDEOINFOHEADER2 *header) {
  const AVRational pixel =
      stream.sampleAspect.num > 0 && stream.sampleAspect.den > 0 ? stream.sampleAspect : AVRational{1, 1};
  int x = 0, y = 0;
  av_reduce(&x, &y, int64_t{stream.codec->width} * pixel.num, int64_t{stream.codec->height} * pixel.den, INT_MAX);
  header->dwPictAspectRatioX = static_cast<DWORD>(x);
  header->dwPictAspectRatioY = static_cast<DWORD>(y);
}

VIDEOINFOHEADER2 VideoHeader(const StreamDescription &stream, DWORD fourcc) {
  const AVCodecParameters &codec = *stream.codec;
  VIDEOINFOHEADER2 header{};
  header.rcSource = {0, 0, codec.width, codec.height};
  header.rcTarget = header.rcSource;
  header.dwBitRate = Clamped(codec.bit_rate);
  header.AvgTimePerFrame = FrameDuration(stream.frameRate);
  SetPictureAspect(stream, &header);
  header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  header.bmiHeader.biWidth = codec.width;
  header.bmiHeader.biHeight = codec.height;
  header.bmiHeader.biPlanes = 1;
  header.bmiHeader.biBitCount = 24;
  header.bmiHeader.biCompression = fourcc;
  return header;
}

std::vector<BYTE> Extradata(const AVCodecParameters &codec) {
  return codec.extradata ? std::vector<BYTE>(codec.extradata, codec.extradata + codec.extradata_size)
                         : std::vector<BYTE>{};
}

// A format block of a structure followed by some bytes.
template <typename Header>
std::vector<BYTE> FormatBlock(const Header &header, size_t headerSize, const std::vector<BYTE> &tail) {
  std::vector<BYTE> block(std::max(sizeof(Header), headerSize + tail.size()));
  std::memcpy(block.data(), &header, sizeof(Header));
  if (!tail.empty()) std::memcpy(block.data() + headerSize, tail.data(), tail.size());
  return block;
}

MediaType CompressedType(const GUID &majorType, const GUID &subtype, const GUID &formatType,
                         const std::vector<BYTE> &format, ULONG sampleSize) {
  AM_MEDIA_TYPE type{};
  type.majortype = majorType;
  type.subtype = subtype;
  type.formattype = formatType;
  type.bFixedSizeSamples = sampleSize != 0;
  type.bTemporalCompression = IsEqualGUID(majorType, MEDIATYPE_Video);
  type.lSampleSize = sampleSize;
  type.cbFormat = static_cast<ULONG>(format.size());
  type.pbFormat = const_cast<BYTE *>(format.data());
  return MediaType(type);
}

MediaType VideoInfo2Type(const StreamDescription &stream, DWORD fourcc) {
  const std::vector<BYTE> format =
      FormatBlock(VideoHeader(stream, fourcc), sizeof(VIDEOINFOHEADER2), Extradata(*stream.codec));
  return CompressedType(MEDIATYPE_Video, SubtypeOfTag(fourcc), FORMAT_VideoInfo2, format, 0);
}

MediaType Avc1Type(const StreamDescription &stream, const AvcConfiguration &configuration) {
  MPEG2VIDEOINFO info{};
  info.hdr = VideoHeader(stream, MakeFourcc('A', 'V', 'C', '1'));
  info.dwProfile = configuration.profile;
  info.dwLevel = configuration.level;
  info.dwFlags = configuration.nalLengthSize;
  info.cbSequenceHeader = static_cast<DWORD>(configuration.sequenceHeader.size());
  const std::vector<BYTE> format =
      FormatBlock(info, offsetof(MPEG2VIDEOINFO, dwSequenceHeader), configuration.sequenceHeader);
  return CompressedType(MEDIATYPE_Video, MEDIASUBTYPE_AVC1, FORMAT_MPEG2Video, format, 0);
}

std::optional<MediaType> VideoType(const StreamDescription &stream) {
  const AVCodecParameters &codec = *stream.codec;
  if (codec.width <= 0 || codec.height <= 0) return std::nullopt;
  if (codec.codec_id == AV_CODEC_ID_H264) {
    const auto configuration = ParseAvcConfiguration(codec.extradata, codec.extradata ? codec.extradata_size : 0);
    if (configuration) return Avc1Type(stream, *configuration);
  }
  const DWORD fourcc = VideoFourccOf(codec.codec_id);
  if (fourcc == 0) return std::nullopt;
  return VideoInfo2Type(stream, fourcc);
}

std::optional<MediaType> AudioType(const StreamDescription &stream) {
  const AVCodecParameters &codec = *stream.codec;
  const std::vector<BYTE> configuration = Extradata(codec);
  const WORD tag = WaveTagOf(codec.codec_id, !configuration.empty());
  if (tag == 0 || configuration.size() > UINT16_MAX) return std::nullopt;
  const int pcmBits = av_get_bits_per_sample(codec.codec_id);  // 0 for compressed codecs
  WAVEFORMATEX wave{};
  wave.wFormatTag = tag;
  wave.nChannels = static_cast<WORD>(codec.ch_layout.nb_channels);
  wave.nSamplesPerSec = Clamped(codec.sample_rate);
  wave.wBitsPerSample = static_cast<WORD>(pcmBits ? pcmBits : codec.bits_per_coded_sample);
  wave.nBlockAlign = static_cast<WORD>(pcmBits ? wave.nChannels * pcmBits / 8 : std::max(codec.block_align, 1));
  wave.nAvgBytesPerSec = pcmBits ? wave.nSamplesPerSec * wave.nBlockAlign : Clamped(codec.bit_rate / 8);
  wave.cbSize = static_cast<WORD>(configuration.size());
  const std::vector<BYTE> format = FormatBlock(wave, sizeof(WAVEFORMATEX), configuration);
  return CompressedType(MEDIATYPE_Audio, SubtypeOfTag(tag), FORMAT_WaveFormatEx, format,
                        pcmBits ? wave.nBlockAlign : 0);
}

}  // namespace

std::optional<MediaType> StreamMediaType(const StreamDescription &stream) {
  switch (stream.codec->codec_type) {
    case AVMEDIA_TYPE_VIDEO:
      return VideoType(stream);
    case AVMEDIA_TYPE_AUDIO:
      return AudioType(stream);
    default:
      return std::nullopt;
  }
}

}  // namespace platform::media::ffmpeg
