// Decoded pictures into output buffers.
#include "media/ffmpeg/frame_converter.h"

#include <utility>

namespace platform::media::ffmpeg {
namespace {

struct Planes {
  uint8_t *data[4] = {};
  int strides[4] = {};
};

// Where libswscale writes each plane of the output buffer.
Planes OutputPlanes(const DecoderOutput &output, BYTE *buffer) {
  Planes planes;
  const int width = output.width;
  const int lumaSize = output.width * output.height;
  switch (output.pixelFormat) {
    case AV_PIX_FMT_YUV420P: {
      BYTE *first = buffer + lumaSize;
      BYTE *second = first + lumaSize / 4;
      planes.data[0] = buffer;
      planes.data[1] = output.swapChroma ? second : first;  // U
      planes.data[2] = output.swapChroma ? first : second;  // V
      planes.strides[0] = width;
      planes.strides[1] = planes.strides[2] = width / 2;
      break;
    }
    case AV_PIX_FMT_NV12:
      planes.data[0] = buffer;
      planes.data[1] = buffer + lumaSize;
      planes.strides[0] = planes.strides[1] = width;
      break;
    default: {  // packed 32-bit pixels; bottom-up lines are written last line first
      const int stride = width * 4;
      planes.data[0] = output.bottomUp ? buffer + (output.height - 1) * stride : buffer;
      planes.strides[0] = output.bottomUp ? -stride : stride;
      break;
    }
  }
  return planes;
}

}  // namespace

int FrameConverter::Convert(const AVFrame &frame, const DecoderOutput &output, BYTE *buffer) {
  SwsContext *scaler =
      sws_getCachedContext(m_scaler.release(), frame.width, frame.height, static_cast<AVPixelFormat>(frame.format),
                           output.width, output.height, output.pixelFormat, SWS_BILINEAR, nullptr, nullptr, nullptr);
  m_scaler.reset(scaler);
  if (!scaler) return AVERROR(EINVAL);
  const Planes planes = OutputPlanes(output, buffer);
  const int lines = sws_scale(scaler, frame.data, frame.linesize, 0, frame.height, planes.data, planes.strides);
  return lines > 0 ? 0 : AVERROR(EINVAL);
}

}  // namespace platform::media::ffmpeg
