// A libavcodec decoder behind the send/receive calls, with FFmpeg's results:
// 0, AVERROR(EAGAIN), AVERROR_EOF or another negative AVERROR. Packet times
// are REFERENCE_TIMEs: the decoder's packet time base is 100 ns, and a
// frame's best_effort_timestamp comes back in it. The audio and video
// decoders open it with what their streams need.
#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "media/ffmpeg/av_objects.h"

namespace platform::media::ffmpeg {

class CodecSession {
 public:
  void Close();
  bool IsOpen() const { return m_context != nullptr; }

  // A packet, or null to drain. EAGAIN: frames must be received first.
  int Send(const AVPacket *packet);
  // A frame into *frame. EAGAIN: more packets are needed; EOF: drained.
  int Receive(AVFrame *frame);
  // Forgets what is held back, and takes packets again after a drain.
  void Flush();

 protected:
  // The decoder of the codec with its configuration (libavcodec's
  // extradata); configure sets the rest of the context before it opens.
  int OpenCodec(AVCodecID codec, std::span<const uint8_t> configuration,
                const std::function<void(AVCodecContext &)> &configure);

 private:
  CodecContextPtr m_context;
};

}  // namespace platform::media::ffmpeg
