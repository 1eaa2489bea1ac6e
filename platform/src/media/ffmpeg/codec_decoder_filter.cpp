// The streaming shared by the built-in decoders.
#include "media/ffmpeg/codec_decoder_filter.h"

#include "media/ffmpeg/av_errors.h"
#include "media/ffmpeg/sample_packet.h"

namespace platform::media::ffmpeg {

CodecDecoderFilter::CodecDecoderFilter(const CLSID &clsid)
    : TransformFilter(clsid), m_packet(av_packet_alloc()), m_frame(av_frame_alloc()) {}

HRESULT CodecDecoderFilter::SetMediaType(PIN_DIRECTION direction, const AM_MEDIA_TYPE &) {
  if (direction == PINDIR_INPUT) m_inputChanged = true;
  return S_OK;
}

// A decoder without both connections has nothing to do.
HRESULT CodecDecoderFilter::StartStreaming() {
  ForgetStream();
  if (InputType().IsEmpty() || OutputType().IsEmpty()) return S_OK;
  return Open();
}

void CodecDecoderFilter::StopStreaming() { Codec().Close(); }

HRESULT CodecDecoderFilter::Open() {
  m_inputChanged = false;
  return OpenCodec();
}

HRESULT CodecDecoderFilter::Receive(IMediaSample *input) {
  if (m_inputChanged || !Codec().IsOpen()) {
    const HRESULT opened = Open();
    if (FAILED(opened)) return StreamingError(opened);
  }
  if (input->GetActualDataLength() <= 0) return S_OK;
  std::optional<REFERENCE_TIME> start;
  const HRESULT hr = PacketFromSample(input, m_packet.get(), start);
  if (FAILED(hr)) return StreamingError(hr);
  OnPacket(input, start);
  return SendPacket(m_packet.get());
}

HRESULT CodecDecoderFilter::SendPacket(const AVPacket *packet) {
  int sent = Codec().Send(packet);
  if (sent == AVERROR(EAGAIN)) {
    const HRESULT hr = DeliverFrames();
    if (hr != S_OK) return hr;
    sent = Codec().Send(packet);
  }
  if (sent < 0 && !IsDamage(sent)) return StreamingError(StreamFailureResult(sent));
  return DeliverFrames();
}

HRESULT CodecDecoderFilter::DeliverFrames() {
  for (;;) {
    const int received = Codec().Receive(m_frame.get());
    if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) return S_OK;
    if (received < 0 && IsDamage(received)) continue;
    if (received < 0) return StreamingError(StreamFailureResult(received));
    const HRESULT hr = DeliverDecoded(*m_frame);
    av_frame_unref(m_frame.get());
    if (hr != S_OK) return hr;
  }
}

HRESULT CodecDecoderFilter::OnEndOfStream() {
  if (!Codec().IsOpen()) return S_OK;
  const HRESULT hr = SendPacket(nullptr);
  Codec().Flush();
  return hr;
}

void CodecDecoderFilter::OnFlush() {
  if (Codec().IsOpen()) Codec().Flush();
  ForgetStream();
}

}  // namespace platform::media::ffmpeg
