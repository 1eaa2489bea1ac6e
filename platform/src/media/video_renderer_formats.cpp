// The pictures the video renderer takes.
#include "media/video_renderer_formats.h"

#include <dvdmedia.h>
#include <uuids.h>

#include <cstring>

namespace platform::media {
namespace {

constexpr DWORD FourCC(char a, char b, char c, char d) {
  return static_cast<DWORD>(static_cast<unsigned char>(a)) | static_cast<DWORD>(static_cast<unsigned char>(b)) << 8 |
         static_cast<DWORD>(static_cast<unsigned char>(c)) << 16 |
         static_cast<DWORD>(static_cast<unsigned char>(d)) << 24;
}

// A FOURCC subtype: {XXXXXXXX-0000-0010-8000-00AA00389B71} with the FOURCC first.
constexpr GUID FourCCSubtype(DWORD fourcc) {
  return GUID{fourcc, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
}

// The planar 4:2:2 and 4:4:4 layouts the H.264 decoder under test gives
// when it keeps the stream's chroma format.
constexpr GUID kSubtypeYV16 = FourCCSubtype(FourCC('Y', 'V', '1', '6'));
constexpr GUID kSubtypeYV24 = FourCCSubtype(FourCC('Y', 'V', '2', '4'));

// The largest picture side taken: its pictures' sizes fit in a DWORD.
constexpr LONG kLargestSide = 16384;

struct LayoutEntry {
  const GUID *subtype;
  DWORD compression;  // biCompression
  WORD bitCount;      // biBitCount
  PictureLayout layout;
};

constexpr LayoutEntry kLayouts[] = {
    {&MEDIASUBTYPE_RGB32, BI_RGB, 32, PictureLayout::Rgb32},
    {&MEDIASUBTYPE_I420, FourCC('I', '4', '2', '0'), 12, PictureLayout::I420},
    {&MEDIASUBTYPE_IYUV, FourCC('I', 'Y', 'U', 'V'), 12, PictureLayout::I420},
    {&MEDIASUBTYPE_YV12, FourCC('Y', 'V', '1', '2'), 12, PictureLayout::YV12},
    {&MEDIASUBTYPE_NV12, FourCC('N', 'V', '1', '2'), 12, PictureLayout::NV12},
    {&MEDIASUBTYPE_YUY2, FourCC('Y', 'U', 'Y', '2'), 16, PictureLayout::YUY2},
    {&MEDIASUBTYPE_UYVY, FourCC('U', 'Y', 'V', 'Y'), 16, PictureLayout::UYVY},
    {&kSubtypeYV16, FourCC('Y', 'V', '1', '6'), 16, PictureLayout::YV16},
    {&kSubtypeYV24, FourCC('Y', 'V', '2', '4'), 24, PictureLayout::YV24},
    {&MEDIASUBTYPE_AYUV, FourCC('A', 'Y', 'U', 'V'), 32, PictureLayout::AYUV},
};

constexpr REGPINTYPES kPinTypes[] = {
    {&MEDIATYPE_Video, &MEDIASUBTYPE_RGB32}, {&MEDIATYPE_Video, &MEDIASUBTYPE_I420},
    {&MEDIATYPE_Video, &MEDIASUBTYPE_IYUV},  {&MEDIATYPE_Video, &MEDIASUBTYPE_YV12},
    {&MEDIATYPE_Video, &MEDIASUBTYPE_NV12},  {&MEDIATYPE_Video, &MEDIASUBTYPE_YUY2},
    {&MEDIATYPE_Video, &MEDIASUBTYPE_UYVY},  {&MEDIATYPE_Video, &kSubtypeYV16},
    {&MEDIATYPE_Video, &kSubtypeYV24},       {&MEDIATYPE_Video, &MEDIASUBTYPE_AYUV},
};

const LayoutEntry *FindLayout(const GUID &subtype) {
  for (const LayoutEntry &entry : kLayouts) {
    if (IsEqualGUID(*entry.subtype, subtype)) return &entry;
  }
  return nullptr;
}

// What the renderer reads of either video-info block.
struct VideoInfo {
  BITMAPINFOHEADER bitmap{};
  DWORD aspectX = 0;  // 0: square pixels
  DWORD aspectY = 0;
};

// Copied out, so that the block's alignment does not matter.
template <typename Header>
Header ReadHeader(const AM_MEDIA_TYPE &type) {
  Header header;
  std::memcpy(&header, type.pbFormat, sizeof header);
  return header;
}

std::optional<VideoInfo> ReadVideoInfo(const AM_MEDIA_TYPE &type) {
  if (!type.pbFormat) return std::nullopt;
  if (IsEqualGUID(type.formattype, FORMAT_VideoInfo) && type.cbFormat >= sizeof(VIDEOINFOHEADER)) {
    return VideoInfo{ReadHeader<VIDEOINFOHEADER>(type).bmiHeader};
  }
  if (IsEqualGUID(type.formattype, FORMAT_VideoInfo2) && type.cbFormat >= sizeof(VIDEOINFOHEADER2)) {
    const auto header = ReadHeader<VIDEOINFOHEADER2>(type);
    return VideoInfo{header.bmiHeader, header.dwPictAspectRatioX, header.dwPictAspectRatioY};
  }
  return std::nullopt;
}

uint64_t ImageSize(PictureLayout layout, uint64_t width, uint64_t height) {
  const uint64_t chromaWidth = (width + 1) / 2, chromaHeight = (height + 1) / 2;
  switch (layout) {
    case PictureLayout::Rgb32:
    case PictureLayout::AYUV: return 4 * width * height;
    case PictureLayout::I420:
    case PictureLayout::YV12:
    case PictureLayout::NV12: return width * height + 2 * chromaWidth * chromaHeight;
    case PictureLayout::YUY2:
    case PictureLayout::UYVY: return 4 * chromaWidth * height;
    case PictureLayout::YV16: return width * height + 2 * chromaWidth * height;
    case PictureLayout::YV24: return 3 * width * height;
  }
  return 0;
}

// The picture's width at the aspect ratio, rounded; the picture's own width
// without a usable ratio.
LONG DisplayWidth(const VideoInfo &info, LONG width, LONG height) {
  if (info.aspectX == 0 || info.aspectY == 0) return width;
  const uint64_t scaled = (static_cast<uint64_t>(height) * info.aspectX + info.aspectY / 2) / info.aspectY;
  return scaled >= 1 && scaled <= static_cast<uint64_t>(kLargestSide) ? static_cast<LONG>(scaled) : width;
}

bool SizeAcceptable(LONG width, LONG height) {
  return width > 0 && width <= kLargestSide && height != 0 && height >= -kLargestSide && height <= kLargestSide;
}

}  // namespace

std::optional<RendererPicture> DescribeRendererPicture(const AM_MEDIA_TYPE &type) {
  if (!IsEqualGUID(type.majortype, MEDIATYPE_Video)) return std::nullopt;
  const LayoutEntry *entry = FindLayout(type.subtype);
  const auto info = ReadVideoInfo(type);
  if (!entry || !info) return std::nullopt;
  const BITMAPINFOHEADER &bitmap = info->bitmap;
  if (bitmap.biCompression != entry->compression || bitmap.biBitCount != entry->bitCount) return std::nullopt;
  if (!SizeAcceptable(bitmap.biWidth, bitmap.biHeight)) return std::nullopt;
  const bool rgb = entry->layout == PictureLayout::Rgb32;
  if (!rgb && bitmap.biHeight < 0) return std::nullopt;
  RendererPicture picture;
  picture.layout = entry->layout;
  picture.width = bitmap.biWidth;
  picture.height = bitmap.biHeight < 0 ? -bitmap.biHeight : bitmap.biHeight;
  picture.bottomUp = rgb && bitmap.biHeight > 0;
  picture.imageSize = static_cast<DWORD>(ImageSize(picture.layout, picture.width, picture.height));
  if (bitmap.biSizeImage != 0 && bitmap.biSizeImage < picture.imageSize) return std::nullopt;
  picture.display = SIZE{DisplayWidth(*info, picture.width, picture.height), picture.height};
  return picture;
}

PicturePlanes PlanesOf(const RendererPicture &picture) {
  const size_t width = static_cast<size_t>(picture.width), height = static_cast<size_t>(picture.height);
  const size_t chromaWidth = (width + 1) / 2, chromaHeight = (height + 1) / 2;
  const size_t luma = width * height;
  PicturePlanes planes;
  auto planar = [&](size_t chromaStride, size_t chromaLines) {
    planes.strides[0] = static_cast<int>(width);
    planes.strides[1] = planes.strides[2] = static_cast<int>(chromaStride);
    planes.offsets[1] = luma;
    planes.offsets[2] = luma + chromaStride * chromaLines;
  };
  switch (picture.layout) {
    case PictureLayout::Rgb32:
    case PictureLayout::AYUV: planes.strides[0] = static_cast<int>(4 * width); break;
    case PictureLayout::YUY2:
    case PictureLayout::UYVY: planes.strides[0] = static_cast<int>(4 * chromaWidth); break;
    case PictureLayout::I420:
    case PictureLayout::YV12: planar(chromaWidth, chromaHeight); break;
    case PictureLayout::YV16: planar(chromaWidth, height); break;
    case PictureLayout::YV24: planar(width, height); break;
    case PictureLayout::NV12:
      planes.strides[0] = static_cast<int>(width);
      planes.strides[1] = static_cast<int>(2 * chromaWidth);
      planes.offsets[1] = luma;
      break;
  }
  return planes;
}

std::span<const REGPINTYPES> RendererPinTypes() { return kPinTypes; }

}  // namespace platform::media
