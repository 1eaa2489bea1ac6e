// A libavcodec audio decoder behind the send/receive calls, with FFmpeg's
// results: 0, AVERROR(EAGAIN), AVERROR_EOF or another negative AVERROR.
// Packet times are REFERENCE_TIMEs: the decoder's packet time base is
// 100 ns, and a frame's best_effort_timestamp comes back in it.
#pragma once

#include "media/ffmpeg/audio_decoder_types.h"
#include "media/ffmpeg/av_objects.h"

namespace platform::media::ffmpeg {

class AudioFrameDecoder {
 public:
  // The decoder of the input's codec with its configuration.
  int Open(const AudioDecoderInput &input);
  void Close();
  bool IsOpen() const { return m_context != nullptr; }

  // A packet, or null to drain. EAGAIN: frames must be received first.
  int Send(const AVPacket *packet);
  // A frame into *frame. EAGAIN: more packets are needed; EOF: drained.
  int Receive(AVFrame *frame);
  // Forgets what is held back, and takes packets again after a drain.
  void Flush();

 private:
  CodecContextPtr m_context;
};

}  // namespace platform::media::ffmpeg
