// The built-in generic video decoder: compressed video in the subtypes the
// source gives (H.264 as 'AVC1' and 'H264', MPEG-4 Visual, HEVC, ...),
// decoded with libavcodec into uncompressed frames (video_decoder_types.h
// says which types, YV12 first).
//
// Streaming (codec_decoder_filter.h). Pictures come out in presentation
// order, each a sync point with its packet's time (the previous one's stop
// when it has none) and a stop time AvgTimePerFrame later. The first picture
// after a start or a flush is a discontinuity; a picture whose packet was
// preroll is preroll. Invalid data is passed over (the codec finds its way
// again at the next key frame). A picture whose size differs from the
// output type's is scaled to it.
#pragma once

#include <set>

#include "media/ffmpeg/codec_decoder_filter.h"
#include "media/ffmpeg/frame_converter.h"
#include "media/ffmpeg/picture_decoder.h"

namespace platform::media::ffmpeg {

// {D2317AD7-2A3B-485A-BFB6-D06D7201F5FB}
inline constexpr CLSID kGenericVideoDecoderClass = {
    0xD2317AD7, 0x2A3B, 0x485A, {0xBF, 0xB6, 0xD0, 0x6D, 0x72, 0x01, 0xF5, 0xFB}};

class GenericVideoDecoder final : public CodecDecoderFilter {
 public:
  // The class's creation function: libavcodec chooses how many threads
  // decode (one per processor).
  static HRESULT Create(IUnknown *outer, REFIID riid, void **ppv);
  // A decoder on a given number of decoding threads (0: libavcodec's
  // choice), for measurements that compare like with like.
  static HRESULT CreateWithThreads(int threads, REFIID riid, void **ppv);

 private:
  explicit GenericVideoDecoder(int threads);

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
  void SetPictureProperties(const AVFrame &frame, IMediaSample *output);

  // The streaming state, guarded by the base's streaming lock.
  PictureDecoder m_decoder;
  FrameConverter m_converter;
  DecoderOutput m_output;
  REFERENCE_TIME m_frameDuration = 0;
  REFERENCE_TIME m_nextStart = 0;
  bool m_discontinuity = true;
  std::set<REFERENCE_TIME> m_prerollTimes;  // start times of preroll packets whose pictures are to come
};

}  // namespace platform::media::ffmpeg
