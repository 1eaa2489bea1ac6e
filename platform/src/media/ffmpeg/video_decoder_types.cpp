// The media types of the generic video decoder.
#include "media/ffmpeg/video_decoder_types.h"

#include <dvdmedia.h>
#include <uuids.h>

extern "C" {
#include <libavutil/rational.h>
}

#include <climits>
#include <cstdint>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "media/ffmpeg/avc_configuration.h"
#include "media/ffmpeg/compressed_subtypes.h"

namespace platform::media::ffmpeg {
namespace {

// A structure at the start of a format block, when the block holds it whole.
template <typename Format>
std::optional<Format> FormatAt(const AM_MEDIA_TYPE &type, size_t size = sizeof(Format)) {
  if (!type.pbFormat || type.cbFormat < size) return std::nullopt;
  Format format{};
  std::memcpy(&format, type.pbFormat, size);
  return format;
}

// The bytes of a format block from an offset on.
std::vector<BYTE> FormatTail(const AM_MEDIA_TYPE &type, size_t offset, size_t count) {
  return std::vector<BYTE>(type.pbFormat + offset, type.pbFormat + offset + count);
}

void SetSize(const BITMAPINFOHEADER &bitmap, DecoderInput *input) {
  input->width = bitmap.biWidth;
  input->height = bitmap.biHeight == INT32_MIN ? 0 : std::abs(bitmap.biHeight);
}

void SetAspect(DWORD x, DWORD y, DecoderInput *input) {
  input->aspectX = x;
  input->aspectY = y;
}

bool ReadVideoInfo(const AM_MEDIA_TYPE &type, DecoderInput *input) {
  const auto header = FormatAt<VIDEOINFOHEADER>(type);
  if (!header) return false;
  SetSize(header->bmiHeader, input);
  input->avgTimePerFrame = header->AvgTimePerFrame;
  input->configuration = FormatTail(type, sizeof(VIDEOINFOHEADER), type.cbFormat - sizeof(VIDEOINFOHEADER));
  return true;
}

bool ReadVideoInfo2(const AM_MEDIA_TYPE &type, DecoderInput *input) {
  const auto header = FormatAt<VIDEOINFOHEADER2>(type);
  if (!header) return false;
  SetSize(header->bmiHeader, input);
  input->avgTimePerFrame = header->AvgTimePerFrame;
  SetAspect(header->dwPictAspectRatioX, header->dwPictAspectRatioY, input);
  input->configuration = FormatTail(type, sizeof(VIDEOINFOHEADER2), type.cbFormat - sizeof(VIDEOINFOHEADER2));
  return true;
}

bool IsLengthPrefixedAvc(DWORD fourcc) {
  return fourcc == MakeFourcc('A', 'V', 'C', '1') || fourcc == MakeFourcc('a', 'v', 'c', '1');
}

// The sequence header is the codec's configuration, or, for H.264 with
// length-prefixed units, the parameter sets of one.
bool ReadMpeg2VideoInfo(const AM_MEDIA_TYPE &type, DWORD fourcc, DecoderInput *input) {
  constexpr size_t kHeaderSize = offsetof(MPEG2VIDEOINFO, dwSequenceHeader);
  const auto info = FormatAt<MPEG2VIDEOINFO>(type, kHeaderSize);
  if (!info || info->cbSequenceHeader > type.cbFormat - kHeaderSize) return false;
  SetSize(info->hdr.bmiHeader, input);
  input->avgTimePerFrame = info->hdr.AvgTimePerFrame;
  SetAspect(info->hdr.dwPictAspectRatioX, info->hdr.dwPictAspectRatioY, input);
  std::vector<BYTE> sequenceHeader = FormatTail(type, kHeaderSize, info->cbSequenceHeader);
  if (!IsLengthPrefixedAvc(fourcc)) {
    input->configuration = std::move(sequenceHeader);
    return true;
  }
  AvcConfiguration configuration;
  configuration.profile = static_cast<BYTE>(info->dwProfile);
  configuration.level = static_cast<BYTE>(info->dwLevel);
  configuration.nalLengthSize = static_cast<BYTE>(info->dwFlags == 0 ? 4 : info->dwFlags);
  configuration.sequenceHeader = std::move(sequenceHeader);
  auto record = BuildAvcConfiguration(configuration);
  if (!record) return false;
  input->configuration = std::move(*record);
  return true;
}

bool ReadFormat(const AM_MEDIA_TYPE &type, DWORD fourcc, DecoderInput *input) {
  if (IsEqualGUID(type.formattype, FORMAT_VideoInfo)) return ReadVideoInfo(type, input);
  if (IsEqualGUID(type.formattype, FORMAT_VideoInfo2)) return ReadVideoInfo2(type, input);
  if (IsEqualGUID(type.formattype, FORMAT_MPEG2Video)) return ReadMpeg2VideoInfo(type, fourcc, input);
  return false;
}

// Larger pictures are refused, which keeps every image size within a LONG.
constexpr LONG kMaxDimension = 16384;

bool ValidSize(LONG width, LONG height) {
  return width > 0 && height > 0 && width <= kMaxDimension && height <= kMaxDimension;
}

struct PictureFormat {
  const GUID *subtype;
  DWORD compression;  // biCompression
  WORD bitCount;
  AVPixelFormat pixelFormat;
  bool swapChroma;
  bool rgb;
};

// In the order of preference.
const PictureFormat kPictureFormats[] = {
    {&MEDIASUBTYPE_YV12, MakeFourcc('Y', 'V', '1', '2'), 12, AV_PIX_FMT_YUV420P, true, false},
    {&MEDIASUBTYPE_NV12, MakeFourcc('N', 'V', '1', '2'), 12, AV_PIX_FMT_NV12, false, false},
    {&MEDIASUBTYPE_RGB32, BI_RGB, 32, AV_PIX_FMT_BGRA, false, true},
};
constexpr ULONG kPictureFormatCount = std::size(kPictureFormats);

// 4:2:0 pictures need an even size: their chroma lines are half the luma lines' length.
bool FitsSize(const PictureFormat &format, LONG width, LONG height) {
  return format.rgb || (width % 2 == 0 && height % 2 == 0);
}

// At most 1 GiB, for sizes within kMaxDimension.
DWORD ImageSize(const PictureFormat &format, LONG width, LONG height) {
  return static_cast<DWORD>(uint64_t{static_cast<DWORD>(width)} * static_cast<DWORD>(height) * format.bitCount / 8);
}

BITMAPINFOHEADER BitmapHeader(const PictureFormat &format, LONG width, LONG height) {
  BITMAPINFOHEADER bitmap{};
  bitmap.biSize = sizeof(BITMAPINFOHEADER);
  bitmap.biWidth = width;
  bitmap.biHeight = height;
  bitmap.biPlanes = 1;
  bitmap.biBitCount = format.bitCount;
  bitmap.biCompression = format.compression;
  bitmap.biSizeImage = ImageSize(format, width, height);
  return bitmap;
}

// The input's aspect ratio, or that of its size in square pixels.
void PictureAspect(const DecoderInput &input, DWORD *x, DWORD *y) {
  if (input.aspectX != 0 && input.aspectY != 0) {
    *x = input.aspectX;
    *y = input.aspectY;
    return;
  }
  int reducedX = 0, reducedY = 0;
  av_reduce(&reducedX, &reducedY, input.width, input.height, INT_MAX);
  *x = static_cast<DWORD>(reducedX);
  *y = static_cast<DWORD>(reducedY);
}

MediaType VideoInfo2Output(const DecoderInput &input, const PictureFormat &format) {
  VIDEOINFOHEADER2 header{};
  header.rcSource = {0, 0, input.width, input.height};
  header.rcTarget = header.rcSource;
  header.AvgTimePerFrame = input.avgTimePerFrame;
  PictureAspect(input, &header.dwPictAspectRatioX, &header.dwPictAspectRatioY);
  header.bmiHeader = BitmapHeader(format, input.width, input.height);
  return MediaType(MEDIATYPE_Video, *format.subtype, FORMAT_VideoInfo2, &header, sizeof header,
                   header.bmiHeader.biSizeImage);
}

MediaType VideoInfoOutput(const DecoderInput &input, const PictureFormat &format) {
  VIDEOINFOHEADER header{};
  header.rcSource = {0, 0, input.width, input.height};
  header.rcTarget = header.rcSource;
  header.AvgTimePerFrame = input.avgTimePerFrame;
  header.bmiHeader = BitmapHeader(format, input.width, input.height);
  return MediaType(MEDIATYPE_Video, *format.subtype, FORMAT_VideoInfo, &header, sizeof header,
                   header.bmiHeader.biSizeImage);
}

std::optional<BITMAPINFOHEADER> BitmapHeaderOf(const AM_MEDIA_TYPE &type) {
  if (IsEqualGUID(type.formattype, FORMAT_VideoInfo)) {
    if (const auto header = FormatAt<VIDEOINFOHEADER>(type)) return header->bmiHeader;
  }
  if (IsEqualGUID(type.formattype, FORMAT_VideoInfo2)) {
    if (const auto header = FormatAt<VIDEOINFOHEADER2>(type)) return header->bmiHeader;
  }
  return std::nullopt;
}

}  // namespace

std::optional<DecoderInput> DescribeDecoderInput(const AM_MEDIA_TYPE &type) {
  if (!IsEqualGUID(type.majortype, MEDIATYPE_Video)) return std::nullopt;
  const auto fourcc = TagOfSubtype(type.subtype);
  if (!fourcc) return std::nullopt;
  DecoderInput input;
  input.codec = VideoCodecOf(*fourcc);
  if (input.codec == AV_CODEC_ID_NONE || input.codec == AV_CODEC_ID_RAWVIDEO) return std::nullopt;
  if (!ReadFormat(type, *fourcc, &input) || !ValidSize(input.width, input.height)) return std::nullopt;
  return input;
}

std::optional<MediaType> DecoderOutputType(const DecoderInput &input, ULONG position) {
  // The formats that fit the size, each with both headers.
  std::vector<const PictureFormat *> fitting;
  for (const PictureFormat &format : kPictureFormats) {
    if (FitsSize(format, input.width, input.height)) fitting.push_back(&format);
  }
  if (position < fitting.size()) return VideoInfo2Output(input, *fitting[position]);
  if (position < 2 * fitting.size()) return VideoInfoOutput(input, *fitting[position - fitting.size()]);
  return std::nullopt;
}

std::optional<DecoderOutput> DescribeDecoderOutput(const AM_MEDIA_TYPE &type) {
  if (!IsEqualGUID(type.majortype, MEDIATYPE_Video)) return std::nullopt;
  const PictureFormat *format = nullptr;
  for (const PictureFormat &candidate : kPictureFormats) {
    if (IsEqualGUID(type.subtype, *candidate.subtype)) format = &candidate;
  }
  const auto bitmap = BitmapHeaderOf(type);
  if (!format || !bitmap || bitmap->biHeight == INT32_MIN) return std::nullopt;
  DecoderOutput output;
  output.pixelFormat = format->pixelFormat;
  output.swapChroma = format->swapChroma;
  output.bottomUp = format->rgb && bitmap->biHeight > 0;
  output.width = bitmap->biWidth;
  output.height = std::abs(bitmap->biHeight);
  if (!ValidSize(output.width, output.height) || !FitsSize(*format, output.width, output.height)) return std::nullopt;
  output.imageSize = ImageSize(*format, output.width, output.height);
  return output;
}

}  // namespace platform::media::ffmpeg
