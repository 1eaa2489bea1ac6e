// Feeding the codec and taking its pictures.
#include "stream_decoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <cstring>
#include <vector>

#include "nal_units.h"

namespace h264decoder {

StreamDecoder::StreamDecoder(PictureSink &sink) : m_sink(sink) {}

StreamDecoder::~StreamDecoder() { Stop(); }

HRESULT StreamDecoder::Start(const InputFormat &format, const CodecSettings &settings) {
  Stop();
  m_lengthSize = format.lengthSize;
  m_parameterSets = format.parameterSets;
  m_packet = av_packet_alloc();
  m_picture = av_frame_alloc();
  if (!m_packet || !m_picture) {
    Stop();
    return E_OUTOFMEMORY;
  }
  const HRESULT hr = Open(settings);
  if (FAILED(hr)) Stop();
  return hr;
}

void StreamDecoder::Stop() {
  m_codec.Close();
  av_packet_free(&m_packet);
  av_frame_free(&m_picture);
}

HRESULT StreamDecoder::Open(const CodecSettings &settings) {
  const HRESULT hr = HResultFromAverror(m_codec.Open(m_parameterSets, settings.threads));
  m_codec.SetDeblocking(settings.deblocking);
  return hr;
}

HRESULT StreamDecoder::Restart(const InputFormat &format, const CodecSettings &settings) {
  if (HRESULT hr = Drain(); FAILED(hr)) return hr;
  return Start(format, settings);
}

HRESULT StreamDecoder::Decode(const InputSample &sample, const CodecSettings &settings) {
  if (!IsStarted()) return E_UNEXPECTED;
  bool idr = false;
  if (!MakePacket(sample, idr)) CountError();
  if (idr && settings.threads != m_codec.Threads()) {
    if (HRESULT hr = Drain(); FAILED(hr)) return hr;
    if (HRESULT hr = Open(settings); FAILED(hr)) return hr;
  }
  m_codec.SetDeblocking(settings.deblocking);
  const HRESULT hr = SendPacket(m_packet);
  av_packet_unref(m_packet);
  return hr;
}

HRESULT StreamDecoder::Drain() {
  if (!IsStarted()) return S_OK;
  const HRESULT hr = SendPacket(nullptr);
  m_codec.Flush();
  return hr;
}

HRESULT StreamDecoder::Flush(const CodecSettings &settings) {
  if (!IsStarted()) return S_OK;
  if (settings.threads != m_codec.Threads()) return Open(settings);
  m_codec.Flush();
  return S_OK;
}

// The sample's units as a byte stream in m_packet, with its times. idr says
// whether it holds an IDR picture; false when the units do not add up (the
// packet then has those that do).
bool StreamDecoder::MakePacket(const InputSample &sample, bool &idr) {
  std::vector<NalUnit> units;
  bool whole = true;
  if (m_lengthSize == 0) {
    units = SplitByteStream(sample.data);
  } else {
    whole = SplitLengthPrefixed(sample.data, m_lengthSize, units);
  }
  idr = ContainsIdrSlice(units);
  const size_t size = m_lengthSize == 0 ? sample.data.size() : ByteStreamSize(units);
  if (size == 0) return whole;
  if (av_new_packet(m_packet, static_cast<int>(size)) < 0) return false;
  if (m_lengthSize == 0) {
    std::memcpy(m_packet->data, sample.data.data(), size);
  } else {
    WriteByteStream(units, m_packet->data);
  }
  m_packet->pts = sample.hasStart ? sample.start : AV_NOPTS_VALUE;
  m_packet->duration = sample.hasStart && sample.hasStop && sample.stop > sample.start ? sample.stop - sample.start : 0;
  return whole;
}

// An empty packet (nothing usable in the sample) is not sent: to the codec
// it would mean the end of the stream.
HRESULT StreamDecoder::SendPacket(const AVPacket *packet) {
  if (packet && packet->size == 0) return S_OK;
  int error = m_codec.Send(packet);
  while (error == AVERROR(EAGAIN)) {
    if (HRESULT hr = DeliverPictures(); FAILED(hr)) return hr;
    error = m_codec.Send(packet);
  }
  if (error < 0 && error != AVERROR_EOF) CountError();
  return DeliverPictures();
}

HRESULT StreamDecoder::DeliverPictures() {
  for (;;) {
    const int error = m_codec.Receive(m_picture);
    if (error == AVERROR(EAGAIN) || error == AVERROR_EOF) return S_OK;
    if (error < 0) {
      CountError();
      return S_OK;
    }
    if (m_picture->decode_error_flags || (m_picture->flags & AV_FRAME_FLAG_CORRUPT)) CountError();
    const HRESULT hr = m_sink.OnPicture(*m_picture);
    av_frame_unref(m_picture);
    if (FAILED(hr)) return hr;
  }
}

void StreamDecoder::CountError() { ++m_errors; }

}  // namespace h264decoder
