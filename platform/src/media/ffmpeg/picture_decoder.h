// A libavcodec video decoder, opened for a video input's codec and frame
// size, decoding on as many threads as it was made with.
#pragma once

#include "media/ffmpeg/codec_session.h"
#include "media/ffmpeg/video_decoder_types.h"

namespace platform::media::ffmpeg {

class PictureDecoder : public CodecSession {
 public:
  // threads: how many threads libavcodec decodes on; 0 lets it choose
  // (one per processor).
  explicit PictureDecoder(int threads) : m_threads(threads) {}

  // The decoder of the input's codec with its configuration.
  int Open(const DecoderInput &input);

 private:
  const int m_threads;
};

}  // namespace platform::media::ffmpeg
