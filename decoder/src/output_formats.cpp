// The decoder's output media types.
#include "output_formats.h"

#include <dvdmedia.h>
#include <uuids.h>
#include <vfwmsgs.h>

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace h264decoder {
namespace {

using platform::media::MediaType;

constexpr DWORD FourCC(char a, char b, char c, char d) {
  return static_cast<DWORD>(static_cast<uint8_t>(a)) | static_cast<DWORD>(static_cast<uint8_t>(b)) << 8 |
         static_cast<DWORD>(static_cast<uint8_t>(c)) << 16 | static_cast<DWORD>(static_cast<uint8_t>(d)) << 24;
}

struct LayoutInfo {
  Layout layout;
  DWORD fourcc;
  WORD bitCount;
  ChromaFormat chroma;
};

constexpr LayoutInfo kLayouts[] = {
    {Layout::kNV12, FourCC('N', 'V', '1', '2'), 12, ChromaFormat::k420},
    {Layout::kYV12, FourCC('Y', 'V', '1', '2'), 12, ChromaFormat::k420},
    {Layout::kI420, FourCC('I', '4', '2', '0'), 12, ChromaFormat::k420},
    {Layout::kYV16, FourCC('Y', 'V', '1', '6'), 16, ChromaFormat::k422},
    {Layout::kYUY2, FourCC('Y', 'U', 'Y', '2'), 16, ChromaFormat::k422},
    {Layout::kYV24, FourCC('Y', 'V', '2', '4'), 24, ChromaFormat::k444},
    {Layout::kAYUV, FourCC('A', 'Y', 'U', 'V'), 32, ChromaFormat::k444},
};

const LayoutInfo &InfoOf(Layout layout) { return kLayouts[static_cast<int>(layout)]; }

// FOURCC subtypes are {XXXXXXXX-0000-0010-8000-00AA00389B71}, the FOURCC first.
GUID FourCCSubtype(DWORD fourcc) {
  GUID subtype = MEDIASUBTYPE_NV12;
  subtype.Data1 = fourcc;
  return subtype;
}

BITMAPINFOHEADER BitmapOf(const PictureFormat &picture, Layout layout) {
  BITMAPINFOHEADER bitmap{};
  bitmap.biSize = sizeof bitmap;
  bitmap.biWidth = picture.width;
  bitmap.biHeight = picture.height;
  bitmap.biPlanes = 1;
  bitmap.biBitCount = InfoOf(layout).bitCount;
  bitmap.biCompression = InfoOf(layout).fourcc;
  bitmap.biSizeImage = ImageSize(layout, picture.width, picture.height);
  return bitmap;
}

// The display aspect ratio, smallest terms.
void DisplayAspectRatio(const PictureFormat &picture, DWORD &x, DWORD &y) {
  const uint64_t wide = static_cast<uint64_t>(picture.width) * static_cast<uint64_t>(std::max(picture.sarWidth, 1));
  const uint64_t high = static_cast<uint64_t>(picture.height) * static_cast<uint64_t>(std::max(picture.sarHeight, 1));
  const uint64_t divisor = std::max<uint64_t>(std::gcd(wide, high), 1);
  x = static_cast<DWORD>(wide / divisor);
  y = static_cast<DWORD>(high / divisor);
}

const BITMAPINFOHEADER *BitmapIn(const AM_MEDIA_TYPE &type) {
  if (!type.pbFormat) return nullptr;
  if (IsEqualGUID(type.formattype, FORMAT_VideoInfo) && type.cbFormat >= sizeof(VIDEOINFOHEADER)) {
    return &reinterpret_cast<const VIDEOINFOHEADER *>(type.pbFormat)->bmiHeader;
  }
  if (IsEqualGUID(type.formattype, FORMAT_VideoInfo2) && type.cbFormat >= sizeof(VIDEOINFOHEADER2)) {
    return &reinterpret_cast<const VIDEOINFOHEADER2 *>(type.pbFormat)->bmiHeader;
  }
  return nullptr;
}

}  // namespace

std::vector<Layout> OfferedLayouts(ChromaFormat stream, bool keepChromaFormat) {
  if (keepChromaFormat && stream == ChromaFormat::k422) return {Layout::kYV16, Layout::kYUY2};
  if (keepChromaFormat && stream == ChromaFormat::k444) return {Layout::kYV24, Layout::kAYUV};
  return {Layout::kNV12, Layout::kYV12, Layout::kI420};
}

GUID SubtypeOf(Layout layout) { return FourCCSubtype(InfoOf(layout).fourcc); }

std::optional<Layout> LayoutOf(const GUID &subtype) {
  for (const LayoutInfo &info : kLayouts) {
    if (IsEqualGUID(subtype, FourCCSubtype(info.fourcc))) return info.layout;
  }
  return std::nullopt;
}

ChromaFormat ChromaOf(Layout layout) { return InfoOf(layout).chroma; }

DWORD ImageSize(Layout layout, int width, int height) {
  const uint64_t w = static_cast<uint64_t>(width), h = static_cast<uint64_t>(height);
  const uint64_t halfW = (w + 1) / 2, halfH = (h + 1) / 2;
  uint64_t size = 0;
  switch (ChromaOf(layout)) {
    case ChromaFormat::k420: size = w * h + 2 * halfW * halfH; break;
    case ChromaFormat::k422: size = layout == Layout::kYUY2 ? 4 * halfW * h : w * h + 2 * halfW * h; break;
    case ChromaFormat::k444: size = (layout == Layout::kAYUV ? 4 : 3) * w * h; break;
  }
  return static_cast<DWORD>(size);
}

DWORD LargestImageSize(const PictureFormat &picture) {
  DWORD largest = 0;
  for (bool keep : {false, true}) {
    for (Layout layout : OfferedLayouts(picture.chroma, keep)) {
      largest = std::max(largest, ImageSize(layout, picture.width, picture.height));
    }
  }
  return largest;
}

MediaType OutputType(const PictureFormat &picture, Layout layout, bool maintainAspectRatio) {
  const DWORD imageSize = ImageSize(layout, picture.width, picture.height);
  if (!maintainAspectRatio) {
    VIDEOINFOHEADER info{};
    info.AvgTimePerFrame = picture.frameDuration;
    info.bmiHeader = BitmapOf(picture, layout);
    return MediaType(MEDIATYPE_Video, SubtypeOf(layout), FORMAT_VideoInfo, &info, sizeof info, imageSize);
  }
  VIDEOINFOHEADER2 info{};
  info.AvgTimePerFrame = picture.frameDuration;
  DisplayAspectRatio(picture, info.dwPictAspectRatioX, info.dwPictAspectRatioY);
  info.bmiHeader = BitmapOf(picture, layout);
  return MediaType(MEDIATYPE_Video, SubtypeOf(layout), FORMAT_VideoInfo2, &info, sizeof info, imageSize);
}

std::vector<MediaType> OutputTypes(const PictureFormat &picture, const OutputSettings &settings) {
  std::vector<MediaType> types;
  for (Layout layout : OfferedLayouts(picture.chroma, settings.keepChromaFormat)) {
    types.push_back(OutputType(picture, layout, settings.maintainAspectRatio));
  }
  return types;
}

HRESULT CheckOutputType(const AM_MEDIA_TYPE &type, const PictureFormat &picture, const OutputSettings &settings) {
  if (!IsEqualGUID(type.majortype, MEDIATYPE_Video)) return VFW_E_TYPE_NOT_ACCEPTED;
  const GUID &wantedFormat = settings.maintainAspectRatio ? FORMAT_VideoInfo2 : FORMAT_VideoInfo;
  const auto output = OutputPictureOf(type);
  if (!output || !IsEqualGUID(type.formattype, wantedFormat)) return VFW_E_TYPE_NOT_ACCEPTED;
  const std::vector<Layout> offered = OfferedLayouts(picture.chroma, settings.keepChromaFormat);
  if (std::find(offered.begin(), offered.end(), output->layout) == offered.end()) return VFW_E_TYPE_NOT_ACCEPTED;
  return output->width == picture.width && output->height == picture.height ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

std::optional<OutputPicture> OutputPictureOf(const AM_MEDIA_TYPE &type) {
  const auto layout = LayoutOf(type.subtype);
  const BITMAPINFOHEADER *bitmap = BitmapIn(type);
  if (!layout || !bitmap || bitmap->biWidth <= 0 || bitmap->biHeight <= 0) return std::nullopt;
  return OutputPicture{*layout, bitmap->biWidth, bitmap->biHeight};
}

}  // namespace h264decoder
