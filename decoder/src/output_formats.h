// The decoder's output: uncompressed pictures, 8 bits a sample, in one of
// these layouts, each a FOURCC subtype with a VIDEOINFOHEADER (square
// pixels) or a VIDEOINFOHEADER2 (the stream's display aspect ratio).
//
//   4:2:0  NV12 (Y plane, then interleaved U and V), YV12 (Y, V, U planes),
//          I420 (Y, U, V planes)
//   4:2:2  YV16 (Y, V, U planes), YUY2 (packed Y0 U Y1 V)
//   4:4:4  YV24 (Y, V, U planes), AYUV (packed V U Y A)
//
// By default every stream comes out in 4:2:0, NV12 first. When the original
// chroma format is kept, 4:2:2 and 4:4:4 streams come out in their own
// layouts instead. Rows are not padded: a row of a plane is as wide as the
// picture (half as wide for subsampled chroma, rounded up).
#pragma once

#include <platform_filters/media_type.h>

#include <optional>
#include <vector>

#include "picture_format.h"

namespace h264decoder {

enum class Layout { kNV12, kYV12, kI420, kYV16, kYUY2, kYV24, kAYUV };

struct OutputSettings {
  bool maintainAspectRatio = false;
  bool keepChromaFormat = false;

  friend bool operator==(const OutputSettings &, const OutputSettings &) = default;
};

// Most preferred first.
std::vector<Layout> OfferedLayouts(ChromaFormat stream, bool keepChromaFormat);
GUID SubtypeOf(Layout layout);
std::optional<Layout> LayoutOf(const GUID &subtype);
ChromaFormat ChromaOf(Layout layout);
DWORD ImageSize(Layout layout, int width, int height);
// The room one picture of the stream needs in any layout it may be given in,
// whatever the settings: buffers that size never need to grow for a switch.
DWORD LargestImageSize(const PictureFormat &picture);

platform::media::MediaType OutputType(const PictureFormat &picture, Layout layout, bool maintainAspectRatio);
// One type for each offered layout, in the order of OfferedLayouts.
std::vector<platform::media::MediaType> OutputTypes(const PictureFormat &picture, const OutputSettings &settings);
// S_OK when the decoder can write the stream's pictures in the type with
// these settings (a layout it offers, the picture's size, the format block
// the aspect ratio setting asks for); VFW_E_TYPE_NOT_ACCEPTED otherwise.
HRESULT CheckOutputType(const AM_MEDIA_TYPE &type, const PictureFormat &picture, const OutputSettings &settings);

// The layout and size of pictures in an output type; nothing for a type the
// decoder does not make.
struct OutputPicture {
  Layout layout;
  int width;
  int height;
};
std::optional<OutputPicture> OutputPictureOf(const AM_MEDIA_TYPE &type);

}  // namespace h264decoder
