// A libavcodec audio decoder, opened for an audio input's codec, channels
// and rates.
#pragma once

#include "media/ffmpeg/audio_decoder_types.h"
#include "media/ffmpeg/codec_session.h"

namespace platform::media::ffmpeg {

class AudioFrameDecoder : public CodecSession {
 public:
  // The decoder of the input's codec with its configuration.
  int Open(const AudioDecoderInput &input);
};

}  // namespace platform::media::ffmpeg
