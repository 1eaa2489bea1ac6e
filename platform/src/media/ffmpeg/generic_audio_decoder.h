// The built-in generic audio decoder: compressed audio in the subtypes of
// audio_decoder_types.h's list (AAC, MP3, MPEG Layer II, AC-3, FLAC),
// decoded with libavcodec into PCM (16-bit, or 32-bit float).
//
// Streaming (codec_decoder_filter.h). Each decoded frame is converted
// (sample_converter.h) and delivered in output samples of at most a buffer
// each, a sync point, timed from its packet's time (the previous one's stop
// when it has none) for as long as its samples play. The first sample after
// a start or a flush is a discontinuity; frames that start no later than the
// last preroll packet are preroll. Only running out of memory stops the
// stream: audio codecs fail damaged packets with many different codes.
#pragma once

#include <optional>
#include <vector>

#include "media/ffmpeg/audio_frame_decoder.h"
#include "media/ffmpeg/codec_decoder_filter.h"
#include "media/ffmpeg/sample_converter.h"

namespace platform::media::ffmpeg {

// {BF0E8089-7CB4-4D59-AA44-7E8EFF1DDC0A}
inline constexpr CLSID kGenericAudioDecoderClass = {
    0xBF0E8089, 0x7CB4, 0x4D59, {0xAA, 0x44, 0x7E, 0x8E, 0xFF, 0x1D, 0xDC, 0x0A}};

class GenericAudioDecoder final : public CodecDecoderFilter {
 public:
  static HRESULT Create(IUnknown *outer, REFIID riid, void **ppv);

 private:
  GenericAudioDecoder();

  HRESULT CheckInputType(const AM_MEDIA_TYPE &input) override;
  HRESULT CheckTransform(const AM_MEDIA_TYPE &input, const AM_MEDIA_TYPE &output) override;
  HRESULT GetOutputType(ULONG position, MediaType *output) override;
  HRESULT DecideBufferSize(ALLOCATOR_PROPERTIES &request) override;
  CodecSession &Codec() override { return m_decoder; }
  HRESULT OpenCodec() override;
  void OnPacket(IMediaSample *input, std::optional<REFERENCE_TIME> start) override;
  HRESULT DeliverDecoded(const AVFrame &frame) override;
  bool IsDamage(int error) const override;
  void ForgetStream() override;
  HRESULT DeliverPart(const BYTE *data, size_t size, bool preroll, size_t *taken);

  // The streaming state, guarded by the base's streaming lock.
  AudioFrameDecoder m_decoder;
  SampleConverter m_converter;
  AudioDecoderOutput m_output;
  std::vector<BYTE> m_converted;
  REFERENCE_TIME m_nextStart = 0;
  bool m_discontinuity = true;
  std::optional<REFERENCE_TIME> m_lastPreroll;  // start of the last preroll packet
};

}  // namespace platform::media::ffmpeg
