// A libavcodec video decoder.
#include "media/ffmpeg/picture_decoder.h"

#include <cstring>

namespace platform::media::ffmpeg {

int PictureDecoder::Open(const DecoderInput &input) {
  Close();
  const AVCodec *codec = avcodec_find_decoder(input.codec);
  if (!codec) return AVERROR_DECODER_NOT_FOUND;
  CodecContextPtr context(avcodec_alloc_context3(codec));
  if (!context) return AVERROR(ENOMEM);
  if (!input.configuration.empty()) {
    const size_t size = input.configuration.size();
    context->extradata = static_cast<uint8_t *>(av_mallocz(size + AV_INPUT_BUFFER_PADDING_SIZE));
    if (!context->extradata) return AVERROR(ENOMEM);
    std::memcpy(context->extradata, input.configuration.data(), size);
    context->extradata_size = static_cast<int>(size);
  }
  context->width = input.width;
  context->height = input.height;
  context->pkt_timebase = AVRational{1, 10000000};
  context->thread_count = m_threads;
  context->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
  const int opened = avcodec_open2(context.get(), codec, nullptr);
  if (opened < 0) return opened;
  m_context = std::move(context);
  return 0;
}

void PictureDecoder::Close() { m_context.reset(); }

int PictureDecoder::Send(const AVPacket *packet) { return avcodec_send_packet(m_context.get(), packet); }

int PictureDecoder::Receive(AVFrame *frame) { return avcodec_receive_frame(m_context.get(), frame); }

void PictureDecoder::Flush() { avcodec_flush_buffers(m_context.get()); }

}  // namespace platform::media::ffmpeg
