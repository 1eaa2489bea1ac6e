// Turns the bytes of a sample into a frame the video surface shows
// (view/video_surface.h). RGB32, I420 and YV12 pictures go as they are; the
// other layouts are converted to RGB32 with libswscale, reading YUV as
// BT.601 studio range as the surface does.
#pragma once

#include <cstdint>
#include <vector>

#include "media/ffmpeg/av_objects.h"
#include "media/video_renderer_formats.h"
#include "view/video_surface.h"

namespace platform::media {

class PictureConverter {
 public:
  PictureConverter();
  ~PictureConverter();
  PictureConverter(const PictureConverter &) = delete;
  PictureConverter &operator=(const PictureConverter &) = delete;

  // False when the bytes are fewer than the picture takes, or libswscale
  // fails. The frame points into data or into the converter's own buffer:
  // it is valid until the next call.
  bool Convert(const RendererPicture &picture, const BYTE *data, size_t length, view::VideoFrame &frame);

 private:
  bool ToRgb32(const RendererPicture &picture, const BYTE *data, view::VideoFrame &frame);
  const uint8_t *UnpackAyuv(const RendererPicture &picture, const BYTE *data);

  ffmpeg::ScalerPtr m_scaler;
  std::vector<uint8_t> m_rgb;       // the converted picture
  std::vector<uint8_t> m_unpacked;  // an AYUV picture as three planes
};

}  // namespace platform::media
