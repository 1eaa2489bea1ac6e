// Owning holders for the FFmpeg objects the built-in filters use, each freed
// with its library's own function.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}

#include <memory>

namespace platform::media::ffmpeg {

struct FormatContextCloser {
  void operator()(AVFormatContext *context) const { avformat_close_input(&context); }
};
struct CodecContextFreer {
  void operator()(AVCodecContext *context) const { avcodec_free_context(&context); }
};
struct CodecParametersFreer {
  void operator()(AVCodecParameters *parameters) const { avcodec_parameters_free(&parameters); }
};
struct PacketFreer {
  void operator()(AVPacket *packet) const { av_packet_free(&packet); }
};
struct FrameFreer {
  void operator()(AVFrame *frame) const { av_frame_free(&frame); }
};
struct ScalerFreer {
  void operator()(SwsContext *scaler) const { sws_freeContext(scaler); }
};

using FormatContextPtr = std::unique_ptr<AVFormatContext, FormatContextCloser>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextFreer>;
using CodecParametersPtr = std::unique_ptr<AVCodecParameters, CodecParametersFreer>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFreer>;
using FramePtr = std::unique_ptr<AVFrame, FrameFreer>;
using ScalerPtr = std::unique_ptr<SwsContext, ScalerFreer>;

}  // namespace platform::media::ffmpeg
