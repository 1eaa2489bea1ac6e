// A libavcodec video decoder behind the send/receive calls, with FFmpeg's
// results: 0, AVERROR(EAGAIN), AVERROR_EOF or another negative AVERROR.
// Packet times are REFERENCE_TIMEs: the decoder's packet time base is
// 100 ns, and a picture's best_effort_timestamp comes back in it.
#pragma once

#include "media/ffmpeg/av_objects.h"
#include "media/ffmpeg/video_decoder_types.h"

namespace platform::media::ffmpeg {

class PictureDecoder {
 public:
  // threads: how many threads libavcodec decodes on; 0 lets it choose
  // (one per processor).
  explicit PictureDecoder(int threads) : m_threads(threads) {}

  // The decoder of the input's codec with its configuration.
  int Open(const DecoderInput &input);
  void Close();
  bool IsOpen() const { return m_context != nullptr; }

  // A packet, or null to drain. EAGAIN: pictures must be received first.
  int Send(const AVPacket *packet);
  // A picture into *frame. EAGAIN: more packets are needed; EOF: drained.
  int Receive(AVFrame *frame);
  // Forgets what is held back, and takes packets again after a drain.
  void Flush();

 private:
  const int m_threads;
  CodecContextPtr m_context;
};

}  // namespace platform::media::ffmpeg
