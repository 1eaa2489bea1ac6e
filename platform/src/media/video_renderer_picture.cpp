// Samples into frames of the video surface.
#include "media/video_renderer_picture.h"

namespace platform::media {
namespace {

// libswscale writes whole blocks of pixels, so it may write past the end of
// a line: lines get that much room, and so does the end of the picture.
constexpr int kScalerSlack = 64;

int PaddedStride(int width) { return (width * 4 + kScalerSlack + kScalerSlack - 1) / kScalerSlack * kScalerSlack; }

// What libswscale reads: a pixel format and its planes, U before V.
struct ScalerSource {
  AVPixelFormat format = AV_PIX_FMT_NONE;
  const uint8_t *data[4] = {};
  int strides[4] = {};
};

// Y, U, V from planes stored Y, V, U.
ScalerSource SwappedPlanar(AVPixelFormat format, const BYTE *data, const PicturePlanes &planes) {
  ScalerSource source;
  source.format = format;
  source.data[0] = data;
  source.data[1] = data + planes.offsets[2];
  source.data[2] = data + planes.offsets[1];
  source.strides[0] = planes.strides[0];
  source.strides[1] = planes.strides[2];
  source.strides[2] = planes.strides[1];
  return source;
}

// One or two planes as stored.
ScalerSource Stored(AVPixelFormat format, const BYTE *data, const PicturePlanes &planes) {
  ScalerSource source;
  source.format = format;
  for (int plane = 0; plane < 2 && planes.strides[plane] != 0; ++plane) {
    source.data[plane] = data + planes.offsets[plane];
    source.strides[plane] = planes.strides[plane];
  }
  return source;
}

ScalerSource SourceOf(const RendererPicture &picture, const BYTE *data) {
  const PicturePlanes planes = PlanesOf(picture);
  switch (picture.layout) {
    case PictureLayout::NV12: return Stored(AV_PIX_FMT_NV12, data, planes);
    case PictureLayout::YUY2: return Stored(AV_PIX_FMT_YUYV422, data, planes);
    case PictureLayout::UYVY: return Stored(AV_PIX_FMT_UYVY422, data, planes);
    case PictureLayout::YV16: return SwappedPlanar(AV_PIX_FMT_YUV422P, data, planes);
    case PictureLayout::YV24: return SwappedPlanar(AV_PIX_FMT_YUV444P, data, planes);
    default: return ScalerSource{};
  }
}

// The three planes of a YUV 4:4:4 picture stored one after the other.
ScalerSource Planar444(const uint8_t *data, int width, int height) {
  ScalerSource source;
  source.format = AV_PIX_FMT_YUV444P;
  const size_t plane = static_cast<size_t>(width) * static_cast<size_t>(height);
  for (int index = 0; index < 3; ++index) {
    source.data[index] = data + plane * static_cast<size_t>(index);
    source.strides[index] = width;
  }
  return source;
}

view::VideoFrame PlanarI420(const RendererPicture &picture, const BYTE *data, bool vFirst) {
  const PicturePlanes planes = PlanesOf(picture);
  const int u = vFirst ? 2 : 1, v = vFirst ? 1 : 2;
  view::VideoFrame frame;
  frame.format = view::VideoFormat::I420;
  frame.width = picture.width;
  frame.height = picture.height;
  frame.planes[0] = {data, planes.strides[0]};
  frame.planes[1] = {data + planes.offsets[u], planes.strides[u]};
  frame.planes[2] = {data + planes.offsets[v], planes.strides[v]};
  return frame;
}

view::VideoFrame Rgb32(const RendererPicture &picture, const uint8_t *data, bool bottomUp) {
  view::VideoFrame frame;
  frame.format = view::VideoFormat::Rgb32;
  frame.width = picture.width;
  frame.height = picture.height;
  frame.planes[0] = {data, picture.width * 4};
  frame.bottomUp = bottomUp;
  return frame;
}

}  // namespace

PictureConverter::PictureConverter() = default;
PictureConverter::~PictureConverter() = default;

bool PictureConverter::Convert(const RendererPicture &picture, const BYTE *data, size_t length,
                               view::VideoFrame &frame) {
  if (!data || length < picture.imageSize) return false;
  switch (picture.layout) {
    case PictureLayout::Rgb32: frame = Rgb32(picture, data, picture.bottomUp); return true;
    case PictureLayout::I420: frame = PlanarI420(picture, data, false); return true;
    case PictureLayout::YV12: frame = PlanarI420(picture, data, true); return true;
    default: return ToRgb32(picture, data, frame);
  }
}

bool PictureConverter::ToRgb32(const RendererPicture &picture, const BYTE *data, view::VideoFrame &frame) {
  const ScalerSource source = picture.layout == PictureLayout::AYUV
                                  ? Planar444(UnpackAyuv(picture, data), picture.width, picture.height)
                                  : SourceOf(picture, data);
  SwsContext *scaler = sws_getCachedContext(m_scaler.release(), picture.width, picture.height, source.format,
                                            picture.width, picture.height, AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr,
                                            nullptr, nullptr);
  m_scaler.reset(scaler);
  if (!scaler) return false;
  const int stride = PaddedStride(picture.width);
  m_rgb.resize(static_cast<size_t>(stride) * static_cast<size_t>(picture.height) + kScalerSlack);
  uint8_t *target[4] = {m_rgb.data()};
  const int targetStrides[4] = {stride};
  if (sws_scale(scaler, source.data, source.strides, 0, picture.height, target, targetStrides) <= 0) return false;
  frame = Rgb32(picture, m_rgb.data(), false);
  frame.planes[0].stride = stride;
  return true;
}

// AYUV stores V U Y A for each pixel.
const uint8_t *PictureConverter::UnpackAyuv(const RendererPicture &picture, const BYTE *data) {
  const size_t pixels = static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height);
  m_unpacked.resize(3 * pixels);
  uint8_t *y = m_unpacked.data(), *u = y + pixels, *v = u + pixels;
  for (size_t pixel = 0; pixel < pixels; ++pixel, data += 4) {
    v[pixel] = data[0];
    u[pixel] = data[1];
    y[pixel] = data[2];
  }
  return m_unpacked.data();
}

}  // namespace platform::media
