// libavcodec's H.264 decoder behind a few calls. They pass libavcodec's
// negative AVERROR codes up as they are; AVERROR(EAGAIN) (send more, or take
// pictures first) and AVERROR_EOF (drained) are answers, not failures.
// Packets are Annex B byte streams; times are in 100 ns units.
#pragma once

#include <strmif.h>

#include <cstdint>
#include <span>

struct AVCodecContext;
struct AVFrame;
struct AVPacket;

namespace h264decoder {

class VideoDecoder {
 public:
  VideoDecoder() = default;
  ~VideoDecoder();
  VideoDecoder(const VideoDecoder &) = delete;
  VideoDecoder &operator=(const VideoDecoder &) = delete;

  // Opens the codec with the stream's parameter sets and that many threads.
  int Open(std::span<const uint8_t> parameterSets, int threads);
  void Close();
  bool IsOpen() const { return m_context != nullptr; }
  int Threads() const { return m_threads; }
  // The in-loop deblocking filter, on by default; taken from the next packet.
  void SetDeblocking(bool enabled);

  // A null packet starts draining: the pictures held back come out, then
  // AVERROR_EOF, and the decoder takes packets again after Flush.
  int Send(const AVPacket *packet);
  int Receive(AVFrame *picture);
  // Forgets every packet and picture inside.
  void Flush();
  // How long a picture lasts by the stream's own timing information; 0 when
  // the stream does not say.
  REFERENCE_TIME FrameDuration() const;

 private:
  AVCodecContext *m_context = nullptr;
  int m_threads = 0;
};

// E_OUTOFMEMORY for AVERROR(ENOMEM), E_FAIL for other failures, S_OK else.
HRESULT HResultFromAverror(int error);

}  // namespace h264decoder
