// A libavcodec decoder.
#include "media/ffmpeg/codec_session.h"

#include <cstring>

namespace platform::media::ffmpeg {

int CodecSession::OpenCodec(AVCodecID codecId, std::span<const uint8_t> configuration,
                            const std::function<void(AVCodecContext &)> &configure) {
  Close();
  const AVCodec *codec = avcodec_find_decoder(codecId);
  if (!codec) return AVERROR_DECODER_NOT_FOUND;
  CodecContextPtr context(avcodec_alloc_context3(codec));
  if (!context) return AVERROR(ENOMEM);
  if (!configuration.empty()) {
    context->extradata = static_cast<uint8_t *>(av_mallocz(configuration.size() + AV_INPUT_BUFFER_PADDING_SIZE));
    if (!context->extradata) return AVERROR(ENOMEM);
    std::memcpy(context->extradata, configuration.data(), configuration.size());
    context->extradata_size = static_cast<int>(configuration.size());
  }
  context->pkt_timebase = AVRational{1, 10000000};
  configure(*context);
  const int opened = avcodec_open2(context.get(), codec, nullptr);
  if (opened < 0) return opened;
  m_context = std::move(context);
  return 0;
}

void CodecSession::Close() { m_context.reset(); }

int CodecSession::Send(const AVPacket *packet) { return avcodec_send_packet(m_context.get(), packet); }

int CodecSession::Receive(AVFrame *frame) { return avcodec_receive_frame(m_context.get(), frame); }

void CodecSession::Flush() { avcodec_flush_buffers(m_context.get()); }

}  // namespace platform::media::ffmpeg
