// Writes decoded pictures into the decoder's output buffers with
// libswscale: the output's pixel layout and size (a picture of another
// size is scaled to it).
#pragma once

#include <windows.h>

#include "media/ffmpeg/av_objects.h"
#include "media/ffmpeg/video_decoder_types.h"

namespace platform::media::ffmpeg {

class FrameConverter {
 public:
  // The buffer holds output.imageSize bytes. 0 or a negative AVERROR.
  int Convert(const AVFrame &frame, const DecoderOutput &output, BYTE *buffer);

 private:
  ScalerPtr m_scaler;
};

}  // namespace platform::media::ffmpeg
