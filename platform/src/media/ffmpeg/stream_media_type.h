// The media type of a compressed stream as the source's output pin offers
// it, built from the stream's codec parameters alone (pure functions).
//
//   H.264 with a decoder configuration record (MP4, MOV, Matroska: samples
//     hold units after a length prefix): MEDIASUBTYPE_AVC1, FORMAT_MPEG2Video.
//     The MPEG2VIDEOINFO has the prefix size in dwFlags, dwProfile and
//     dwLevel, and the parameter sets in dwSequenceHeader, each after a
//     2-byte big-endian length.
//   H.264 as an Annex B byte stream (MPEG-TS, raw .h264 files):
//     MEDIASUBTYPE_H264, FORMAT_VideoInfo2; the parameter sets travel in the
//     stream itself, and whatever configuration the file gives (Annex B
//     units with start codes) follows the VIDEOINFOHEADER2.
//   Other video: the codec's FOURCC subtype ('MP4V', 'HEVC', ...; see
//     compressed_subtypes.h), FORMAT_VideoInfo2, the codec's configuration
//     bytes following the VIDEOINFOHEADER2.
//   Audio: the subtype of the codec's wave format tag, FORMAT_WaveFormatEx,
//     the codec's configuration (AAC's AudioSpecificConfig, ...) following
//     the WAVEFORMATEX, counted by cbSize.
// Every video header has the frame size, AvgTimePerFrame from the frame
// rate, and the picture aspect ratio from the sample aspect ratio (square
// pixels when it is not known).
#pragma once

#include <platform_filters/media_type.h>

extern "C" {
#include <libavcodec/codec_par.h>
}

#include <optional>

namespace platform::media::ffmpeg {

struct StreamDescription {
  const AVCodecParameters *codec;
  AVRational frameRate;     // frames per second; {0, 1} when not known
  AVRational sampleAspect;  // a pixel's width over its height; {0, 1} when not known
};

// Empty for a stream the built-in filters cannot name: neither audio nor
// video, a codec without a subtype, a video without a frame size.
std::optional<MediaType> StreamMediaType(const StreamDescription &stream);

}  // namespace platform::media::ffmpeg
