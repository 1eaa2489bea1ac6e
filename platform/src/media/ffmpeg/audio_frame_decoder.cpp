// A libavcodec audio decoder.
#include "media/ffmpeg/audio_frame_decoder.h"

namespace platform::media::ffmpeg {

int AudioFrameDecoder::Open(const AudioDecoderInput &input) {
  return OpenCodec(input.codec, input.configuration, [&input](AVCodecContext &context) {
    av_channel_layout_default(&context.ch_layout, input.channels);
    context.sample_rate = static_cast<int>(input.samplesPerSec);
    context.block_align = input.blockAlign;
    context.bit_rate = input.bitRate;
  });
}

}  // namespace platform::media::ffmpeg
