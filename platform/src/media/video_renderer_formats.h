// The pictures the video renderer takes (pure functions).
//
// Uncompressed video with a VIDEOINFOHEADER or VIDEOINFOHEADER2 format
// block, in one of the layouts below. Every block's length is checked
// before it is read. A picture is biWidth x |biHeight| pixels, its lines
// packed without padding as decoders write them: RGB32 lines 4 x width
// bytes apart, bottom-up for a positive biHeight and top-down for a
// negative one; YUV pictures always top-down (a negative biHeight on a YUV
// type is refused). Planar chroma lines are half the luma width apart for
// 4:2:0 and 4:2:2 and as wide for 4:4:4; NV12's interleaved chroma lines and
// packed 4:2:2 lines hold whole pairs of pixels (an odd last pixel is
// padded to a pair). biCompression must name the subtype's layout and
// biBitCount its depth; biSizeImage, when given, must cover the picture.
//
// The display size is the picture's, except that a VIDEOINFOHEADER2 with a
// picture aspect ratio keeps the height and widens or narrows the width to
// that ratio (non-square pixels).
#pragma once

#include <strmif.h>

#include <optional>
#include <span>

namespace platform::media {

enum class PictureLayout {
  Rgb32,  // B G R x
  I420,   // planar 4:2:0: Y, U, V (also IYUV)
  YV12,   // planar 4:2:0: Y, V, U
  NV12,   // Y, then interleaved U V at half height
  YUY2,   // packed 4:2:2: Y0 U Y1 V
  UYVY,   // packed 4:2:2: U Y0 V Y1
  YV16,   // planar 4:2:2: Y, V, U
  YV24,   // planar 4:4:4: Y, V, U
  AYUV,   // packed 4:4:4: V U Y A
};

struct RendererPicture {
  PictureLayout layout = PictureLayout::Rgb32;
  LONG width = 0;
  LONG height = 0;        // positive
  bool bottomUp = false;  // RGB32 only: the first line in memory is the bottom one
  DWORD imageSize = 0;    // the bytes one picture takes
  SIZE display{};         // the size to show it at
};

// Empty for a type the renderer does not take.
std::optional<RendererPicture> DescribeRendererPicture(const AM_MEDIA_TYPE &type);

// Where each plane of a picture starts in its buffer and its line stride,
// the planes in the order they are stored (Y first; for YV12, YV16 and YV24
// the V plane second); planes a layout does not have are 0.
struct PicturePlanes {
  size_t offsets[3] = {};
  int strides[3] = {};
};
PicturePlanes PlanesOf(const RendererPicture &picture);

// The media types of the renderer's registration: video in every subtype it takes.
std::span<const REGPINTYPES> RendererPinTypes();

}  // namespace platform::media
