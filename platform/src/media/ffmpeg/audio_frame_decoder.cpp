// A libavcodec audio decoder.
#include "media/ffmpeg/audio_frame_decoder.h"

#include <cstring>

namespace platform::media::ffmpeg {

int AudioFrameDecoder::Open(const AudioDecoderInput &input) {
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
  av_channel_layout_default(&context->ch_layout, input.channels);
  context->sample_rate = static_cast<int>(input.samplesPerSec);
  context->block_align = input.blockAlign;
  context->bit_rate = input.bitRate;
  context->pkt_timebase = AVRational{1, 10000000};
  const int opened = avcodec_open2(context.get(), codec, nullptr);
  if (opened < 0) return opened;
  m_context = std::move(context);
  return 0;
}

void AudioFrameDecoder::Close() { m_context.reset(); }

int AudioFrameDecoder::Send(const AVPacket *packet) { return avcodec_send_packet(m_context.get(), packet); }

int AudioFrameDecoder::Receive(AVFrame *frame) { return avcodec_receive_frame(m_context.get(), frame); }

void AudioFrameDecoder::Flush() { avcodec_flush_buffers(m_context.get()); }

}  // namespace platform::media::ffmpeg
