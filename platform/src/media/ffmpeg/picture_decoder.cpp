// A libavcodec video decoder.
#include "media/ffmpeg/picture_decoder.h"

namespace platform::media::ffmpeg {

int PictureDecoder::Open(const DecoderInput &input) {
  return OpenCodec(input.codec, input.configuration, [&input, threads = m_threads](AVCodecContext &context) {
    context.width = input.width;
    context.height = input.height;
    context.thread_count = threads;
    context.thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
  });
}

}  // namespace platform::media::ffmpeg
