// The libavcodec H.264 decoder.
#include "video_decoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/mem.h>
}

#include <cstring>

namespace h264decoder {
namespace {

constexpr AVRational kReferenceTimeBase = {1, 10000000};

int CopyExtradata(AVCodecContext *context, std::span<const uint8_t> parameterSets) {
  if (parameterSets.empty()) return 0;
  context->extradata = static_cast<uint8_t *>(av_mallocz(parameterSets.size() + AV_INPUT_BUFFER_PADDING_SIZE));
  if (!context->extradata) return AVERROR(ENOMEM);
  std::memcpy(context->extradata, parameterSets.data(), parameterSets.size());
  context->extradata_size = static_cast<int>(parameterSets.size());
  return 0;
}

}  // namespace

VideoDecoder::~VideoDecoder() { Close(); }

int VideoDecoder::Open(std::span<const uint8_t> parameterSets, int threads) {
  Close();
  const AVCodec *codec = avcodec_find_decoder(AV_CODEC_ID_H264);
  if (!codec) return AVERROR_DECODER_NOT_FOUND;
  m_context = avcodec_alloc_context3(codec);
  if (!m_context) return AVERROR(ENOMEM);
  m_context->pkt_timebase = kReferenceTimeBase;
  m_context->thread_count = threads;
  m_context->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
  int error = CopyExtradata(m_context, parameterSets);
  if (error >= 0) error = avcodec_open2(m_context, codec, nullptr);
  if (error < 0) {
    Close();
    return error;
  }
  m_threads = threads;
  return 0;
}

void VideoDecoder::Close() {
  avcodec_free_context(&m_context);
  m_threads = 0;
}

void VideoDecoder::SetDeblocking(bool enabled) {
  if (m_context) m_context->skip_loop_filter = enabled ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
}

int VideoDecoder::Send(const AVPacket *packet) { return avcodec_send_packet(m_context, packet); }

int VideoDecoder::Receive(AVFrame *picture) { return avcodec_receive_frame(m_context, picture); }

void VideoDecoder::Flush() {
  if (m_context) avcodec_flush_buffers(m_context);
}

REFERENCE_TIME VideoDecoder::FrameDuration() const {
  if (!m_context || m_context->framerate.num <= 0 || m_context->framerate.den <= 0) return 0;
  return av_rescale_q(1, av_inv_q(m_context->framerate), kReferenceTimeBase);
}

HRESULT HResultFromAverror(int error) {
  if (error >= 0) return S_OK;
  return error == AVERROR(ENOMEM) ? E_OUTOFMEMORY : E_FAIL;
}

}  // namespace h264decoder
