// The media types of the generic video decoder (pure functions).
//
// Input: compressed video of a FOURCC subtype whose codec libavcodec knows
// (compressed_subtypes.h), with a VIDEOINFOHEADER, VIDEOINFOHEADER2 or
// MPEG2VIDEOINFO format block. The codec's configuration is the bytes after
// the VIDEOINFOHEADER(2), or the MPEG2VIDEOINFO's sequence header; for
// H.264 with length-prefixed units ('AVC1') the sequence header's parameter
// sets become a decoder configuration record.
//
// Output: uncompressed frames of the input's size, in this order of
// preference: YV12, NV12, RGB32, each first with a VIDEOINFOHEADER2 (the
// input's picture aspect ratio, square pixels when it has none) and then
// with a VIDEOINFOHEADER. YV12 comes first because it is what the H.264
// decoder gives for 4:2:0 pictures, copied plane by plane. YUV frames are
// top-down; RGB32 frames are bottom-up, as a positive biHeight says.
// Lines are biWidth pixels apart; YV12's chroma lines half that.
#pragma once

#include <platform_filters/media_type.h>

extern "C" {
#include <libavcodec/codec_id.h>
#include <libavutil/pixfmt.h>
}

#include <optional>
#include <vector>

namespace platform::media::ffmpeg {

struct DecoderInput {
  AVCodecID codec = AV_CODEC_ID_NONE;
  std::vector<BYTE> configuration;  // libavcodec's extradata
  LONG width = 0;
  LONG height = 0;
  REFERENCE_TIME avgTimePerFrame = 0;
  DWORD aspectX = 0;  // the picture aspect ratio
  DWORD aspectY = 0;
};

// Empty for a type the decoder does not take: not video, another format
// block, a subtype whose codec is unknown or uncompressed, no frame size.
std::optional<DecoderInput> DescribeDecoderInput(const AM_MEDIA_TYPE &type);

// The output type at a position of the preference order, empty past the last.
std::optional<MediaType> DecoderOutputType(const DecoderInput &input, ULONG position);

struct DecoderOutput {
  AVPixelFormat pixelFormat = AV_PIX_FMT_NONE;  // the layout libswscale writes
  bool swapChroma = false;                      // YV12: V before U
  bool bottomUp = false;
  LONG width = 0;
  LONG height = 0;
  DWORD imageSize = 0;
};

// Empty for an output type the decoder does not give.
std::optional<DecoderOutput> DescribeDecoderOutput(const AM_MEDIA_TYPE &type);

}  // namespace platform::media::ffmpeg
