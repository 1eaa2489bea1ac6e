// What the built-in decoders share while they stream: each input sample
// becomes a packet for their libavcodec decoder, and every frame it gives
// back goes to the filter to deliver. A start, or a new input type carried
// on a sample, opens the codec; end of stream delivers the frames held back
// first; a flush forgets them. Data the codec finds damaged is passed over;
// other codec failures stop streaming with EC_ERRORABORT.
#pragma once

#include <platform_filters/transform_filter.h>

#include <atomic>
#include <optional>

#include "media/ffmpeg/av_objects.h"
#include "media/ffmpeg/codec_session.h"

namespace platform::media::ffmpeg {

class CodecDecoderFilter : public TransformFilter {
 protected:
  explicit CodecDecoderFilter(const CLSID &clsid);

  // The filter's codec, and opening it for the connected types.
  virtual CodecSession &Codec() = 0;
  virtual HRESULT OpenCodec() = 0;
  // A sample became a packet starting then (empty: the sample has no time).
  virtual void OnPacket(IMediaSample *input, std::optional<REFERENCE_TIME> start) = 0;
  virtual HRESULT DeliverDecoded(const AVFrame &frame) = 0;
  // True for a codec error that only loses the data it was given.
  virtual bool IsDamage(int error) const = 0;
  // Forgets the stream's timing, for a start or a flush.
  virtual void ForgetStream() = 0;

  HRESULT SetMediaType(PIN_DIRECTION direction, const AM_MEDIA_TYPE &type) override;
  HRESULT StartStreaming() override;
  void StopStreaming() override;
  HRESULT Receive(IMediaSample *input) override;
  HRESULT OnEndOfStream() override;
  void OnFlush() override;

 private:
  HRESULT Open();
  HRESULT SendPacket(const AVPacket *packet);
  HRESULT DeliverFrames();

  std::atomic<bool> m_inputChanged{false};  // a new input type waits for the codec

  // The streaming state, guarded by the base's streaming lock.
  PacketPtr m_packet;
  FramePtr m_frame;
};

}  // namespace platform::media::ffmpeg
