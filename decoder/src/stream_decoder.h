// The decoding half of the filter, on its streaming thread: it turns input
// samples into codec packets, feeds the codec and hands every picture that
// comes out to a sink (the filter, which delivers it downstream).
//
// The codec's settings come with each call. The deblocking switch is taken
// from the next packet on. A new thread count is taken where no picture can
// be lost: at once when the decoder starts or after a flush, and during a
// stream at the next IDR picture, after the pictures before it have been
// drained out of the codec.
//
// Damaged input never stops the stream: a sample the codec rejects, or
// whose units do not add up, is counted as an error and the codec conceals
// what it can. Only the sink's failures (delivery) are passed up.
#pragma once

#include <strmif.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <span>

#include "input_format.h"
#include "video_decoder.h"

struct AVFrame;
struct AVPacket;

namespace h264decoder {

class PictureSink {
 public:
  // S_OK to go on; a failure stops the sample's decoding and is passed up.
  virtual HRESULT OnPicture(const AVFrame &picture) = 0;

 protected:
  ~PictureSink() = default;
};

struct CodecSettings {
  int threads = 1;
  bool deblocking = true;
};

struct InputSample {
  std::span<const uint8_t> data;
  bool hasStart = false;
  bool hasStop = false;
  REFERENCE_TIME start = 0;
  REFERENCE_TIME stop = 0;
};

class StreamDecoder {
 public:
  explicit StreamDecoder(PictureSink &sink);
  ~StreamDecoder();
  StreamDecoder(const StreamDecoder &) = delete;
  StreamDecoder &operator=(const StreamDecoder &) = delete;

  // Opens the codec for a stream in that format.
  HRESULT Start(const InputFormat &format, const CodecSettings &settings);
  void Stop();
  bool IsStarted() const { return m_codec.IsOpen(); }
  // A new input format during the stream: what the codec holds is drained,
  // then it starts again with the format's parameter sets.
  HRESULT Restart(const InputFormat &format, const CodecSettings &settings);

  HRESULT Decode(const InputSample &sample, const CodecSettings &settings);
  // End of stream: every picture still inside comes out.
  HRESULT Drain();
  // Drops what is inside; a new thread count is taken here.
  HRESULT Flush(const CodecSettings &settings);

  int Threads() const { return m_codec.Threads(); }
  REFERENCE_TIME FrameDuration() const { return m_codec.FrameDuration(); }
  // Damaged samples and pictures since the filter was made.
  uint32_t Errors() const { return m_errors; }

 private:
  HRESULT Open(const CodecSettings &settings);
  bool MakePacket(const InputSample &sample, bool &idr);
  HRESULT SendPacket(const AVPacket *packet);
  HRESULT DeliverPictures();
  void CountError();

  PictureSink &m_sink;
  VideoDecoder m_codec;
  int m_lengthSize = 0;
  std::vector<uint8_t> m_parameterSets;
  AVPacket *m_packet = nullptr;
  AVFrame *m_picture = nullptr;
  std::atomic<uint32_t> m_errors{0};
};

}  // namespace h264decoder
