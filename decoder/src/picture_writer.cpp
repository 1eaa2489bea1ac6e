// Packing decoded planes into the output layouts.
#include "picture_writer.h"

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace h264decoder {
namespace {

// The three 8-bit planes of a picture, Y first.
struct Planes {
  const uint8_t *y, *u, *v;
  int yStride, uStride, vStride;
};

struct Size {
  int width, height;        // luma
  int chromaWidth, chromaHeight;
};

Size SizeOf(const OutputPicture &output) {
  const ChromaFormat chroma = ChromaOf(output.layout);
  const int halfWidth = (output.width + 1) / 2, halfHeight = (output.height + 1) / 2;
  return {output.width, output.height, chroma == ChromaFormat::k444 ? output.width : halfWidth,
          chroma == ChromaFormat::k420 ? halfHeight : output.height};
}

uint8_t *CopyPlane(uint8_t *out, const uint8_t *source, int stride, int width, int height) {
  for (int row = 0; row < height; ++row, out += width) std::memcpy(out, source + ptrdiff_t{row} * stride, width);
  return out;
}

// U V U V ...; sixteen pairs at a time where the processor has SSE2, since
// NV12 is the default output and this interleave is the costliest part of
// writing it.
void InterleaveRow(const uint8_t *u, const uint8_t *v, int width, uint8_t *out) {
  int x = 0;
#ifdef __SSE2__
  for (; x + 16 <= width; x += 16, out += 32) {
    const __m128i sixteenU = _mm_loadu_si128(reinterpret_cast<const __m128i *>(u + x));
    const __m128i sixteenV = _mm_loadu_si128(reinterpret_cast<const __m128i *>(v + x));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(out), _mm_unpacklo_epi8(sixteenU, sixteenV));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(out + 16), _mm_unpackhi_epi8(sixteenU, sixteenV));
  }
#endif
  for (; x < width; ++x) {
    *out++ = u[x];
    *out++ = v[x];
  }
}

void WriteNV12(const Planes &in, const Size &size, uint8_t *out) {
  out = CopyPlane(out, in.y, in.yStride, size.width, size.height);
  for (int row = 0; row < size.chromaHeight; ++row, out += 2 * size.chromaWidth) {
    InterleaveRow(in.u + ptrdiff_t{row} * in.uStride, in.v + ptrdiff_t{row} * in.vStride, size.chromaWidth, out);
  }
}

// Y, then the chroma planes in the order given.
void WritePlanar(const Planes &in, const Size &size, bool vFirst, uint8_t *out) {
  out = CopyPlane(out, in.y, in.yStride, size.width, size.height);
  const uint8_t *first = vFirst ? in.v : in.u, *second = vFirst ? in.u : in.v;
  out = CopyPlane(out, first, vFirst ? in.vStride : in.uStride, size.chromaWidth, size.chromaHeight);
  CopyPlane(out, second, vFirst ? in.uStride : in.vStride, size.chromaWidth, size.chromaHeight);
}

// Y0 U Y1 V for each pair of pixels; an odd last pixel is repeated.
void WriteYUY2(const Planes &in, const Size &size, uint8_t *out) {
  for (int row = 0; row < size.height; ++row) {
    const uint8_t *y = in.y + ptrdiff_t{row} * in.yStride;
    const uint8_t *u = in.u + ptrdiff_t{row} * in.uStride;
    const uint8_t *v = in.v + ptrdiff_t{row} * in.vStride;
    for (int pair = 0; pair < size.chromaWidth; ++pair) {
      const int x = 2 * pair;
      *out++ = y[x];
      *out++ = u[pair];
      *out++ = y[x + 1 < size.width ? x + 1 : x];
      *out++ = v[pair];
    }
  }
}

// V U Y A for each pixel, opaque.
void WriteAYUV(const Planes &in, const Size &size, uint8_t *out) {
  for (int row = 0; row < size.height; ++row) {
    const uint8_t *y = in.y + ptrdiff_t{row} * in.yStride;
    const uint8_t *u = in.u + ptrdiff_t{row} * in.uStride;
    const uint8_t *v = in.v + ptrdiff_t{row} * in.vStride;
    for (int x = 0; x < size.width; ++x) {
      *out++ = v[x];
      *out++ = u[x];
      *out++ = y[x];
      *out++ = 0xFF;
    }
  }
}

void WriteLayout(Layout layout, const Planes &in, const Size &size, uint8_t *out) {
  switch (layout) {
    case Layout::kNV12: WriteNV12(in, size, out); break;
    case Layout::kYV12: case Layout::kYV16: case Layout::kYV24: WritePlanar(in, size, true, out); break;
    case Layout::kI420: WritePlanar(in, size, false, out); break;
    case Layout::kYUY2: WriteYUY2(in, size, out); break;
    case Layout::kAYUV: WriteAYUV(in, size, out); break;
  }
}

AVPixelFormat PlanarFormatOf(ChromaFormat chroma) {
  switch (chroma) {
    case ChromaFormat::k422: return AV_PIX_FMT_YUV422P;
    case ChromaFormat::k444: return AV_PIX_FMT_YUV444P;
    case ChromaFormat::k420: break;
  }
  return AV_PIX_FMT_YUV420P;
}

// True when the picture's planes can be packed as they are: three 8-bit
// planes subsampled as the chroma format says (full-range variants too).
bool IsPlanar8(const AVFrame &picture, ChromaFormat chroma) {
  const AVPixFmtDescriptor *descriptor = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(picture.format));
  if (!descriptor || descriptor->nb_components != 3 || !(descriptor->flags & AV_PIX_FMT_FLAG_PLANAR) ||
      (descriptor->flags & AV_PIX_FMT_FLAG_RGB) || descriptor->comp[0].depth != 8) {
    return false;
  }
  const int wantedW = chroma == ChromaFormat::k444 ? 0 : 1, wantedH = chroma == ChromaFormat::k420 ? 1 : 0;
  return descriptor->log2_chroma_w == wantedW && descriptor->log2_chroma_h == wantedH;
}

}  // namespace

PictureWriter::PictureWriter() = default;

PictureWriter::~PictureWriter() {
  sws_freeContext(m_converter);
  av_frame_free(&m_converted);
}

bool PictureWriter::Write(const AVFrame &picture, const OutputPicture &output, uint8_t *buffer, size_t capacity) {
  if (picture.width != output.width || picture.height != output.height) return false;
  if (capacity < ImageSize(output.layout, output.width, output.height)) return false;
  const AVFrame *planar = PlanarPicture(picture, ChromaOf(output.layout));
  if (!planar) return false;
  const Planes planes{planar->data[0],     planar->data[1],     planar->data[2],
                      planar->linesize[0], planar->linesize[1], planar->linesize[2]};
  WriteLayout(output.layout, planes, SizeOf(output), buffer);
  return true;
}

// The picture itself, or its conversion to 8-bit planes of the chroma format.
const AVFrame *PictureWriter::PlanarPicture(const AVFrame &picture, ChromaFormat chroma) {
  if (IsPlanar8(picture, chroma)) return &picture;
  const AVPixelFormat target = PlanarFormatOf(chroma);
  m_converter = sws_getCachedContext(m_converter, picture.width, picture.height,
                                     static_cast<AVPixelFormat>(picture.format), picture.width, picture.height,
                                     target, SWS_BICUBIC, nullptr, nullptr, nullptr);
  if (!m_converter) return nullptr;
  if (!m_converted && !(m_converted = av_frame_alloc())) return nullptr;
  if (!m_converted->data[0] || m_converted->width != picture.width || m_converted->height != picture.height ||
      m_converted->format != target) {
    av_frame_unref(m_converted);
    m_converted->width = picture.width;
    m_converted->height = picture.height;
    m_converted->format = target;
    if (av_frame_get_buffer(m_converted, 0) < 0) {
      av_frame_unref(m_converted);
      return nullptr;
    }
  }
  sws_scale(m_converter, picture.data, picture.linesize, 0, picture.height, m_converted->data, m_converted->linesize);
  return m_converted;
}

}  // namespace h264decoder
