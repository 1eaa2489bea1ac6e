// Reading the decoder's input media types.
#include "input_format.h"

#include <dvdmedia.h>
#include <uuids.h>
#include <vfwmsgs.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <numeric>
#include <span>

#include "nal_units.h"
#include "sequence_parameter_set.h"

namespace h264decoder {
namespace {

// Larger pictures are not H.264 pictures (level 6.2 stops at 8192 x 4320).
constexpr LONG kLargestSide = 16384;

// The fields the video-info headers share, wherever they sit.
struct VideoHeader {
  REFERENCE_TIME avgTimePerFrame = 0;
  BITMAPINFOHEADER bitmap{};
  DWORD aspectX = 0;  // VIDEOINFOHEADER2 only
  DWORD aspectY = 0;
};

template <typename Header>
const Header *FormatAs(const AM_MEDIA_TYPE &type, const GUID &formatType) {
  if (!IsEqualGUID(type.formattype, formatType) || !type.pbFormat || type.cbFormat < sizeof(Header)) return nullptr;
  return reinterpret_cast<const Header *>(type.pbFormat);
}

VideoHeader FromHeader2(const VIDEOINFOHEADER2 &header) {
  return {header.AvgTimePerFrame, header.bmiHeader, header.dwPictAspectRatioX, header.dwPictAspectRatioY};
}

bool ReadVideoHeader(const AM_MEDIA_TYPE &type, VideoHeader &header) {
  if (const auto *info = FormatAs<VIDEOINFOHEADER>(type, FORMAT_VideoInfo)) {
    header = {info->AvgTimePerFrame, info->bmiHeader, 0, 0};
  } else if (const auto *info2 = FormatAs<VIDEOINFOHEADER2>(type, FORMAT_VideoInfo2)) {
    header = FromHeader2(*info2);
  } else if (const auto *mpeg2 = FormatAs<MPEG2VIDEOINFO>(type, FORMAT_MPEG2Video)) {
    header = FromHeader2(mpeg2->hdr);
  } else {
    return false;
  }
  const LONG height = header.bitmap.biHeight;
  return header.bitmap.biWidth > 0 && header.bitmap.biWidth <= kLargestSide && height != 0 &&
         height >= -kLargestSide && height <= kLargestSide;
}

// The sequence header of an MPEG2VIDEOINFO block, empty when it has none;
// false when the block is shorter than the size it gives.
bool SequenceHeaderOf(const AM_MEDIA_TYPE &type, std::span<const uint8_t> &header) {
  const auto *mpeg2 = FormatAs<MPEG2VIDEOINFO>(type, FORMAT_MPEG2Video);
  if (!mpeg2) return true;
  const size_t available = type.cbFormat - offsetof(MPEG2VIDEOINFO, dwSequenceHeader);
  if (mpeg2->cbSequenceHeader > available) return false;
  header = {MPEG2_SEQUENCE_INFO(mpeg2), mpeg2->cbSequenceHeader};
  return true;
}

// The square-pixel shape, or the one a picture aspect ratio implies.
void SetSampleAspect(const VideoHeader &header, PictureFormat &picture) {
  if (header.aspectX == 0 || header.aspectY == 0) return;
  const uint64_t sarWidth = uint64_t{header.aspectX} * static_cast<uint64_t>(picture.height);
  const uint64_t sarHeight = uint64_t{header.aspectY} * static_cast<uint64_t>(picture.width);
  const uint64_t divisor = std::gcd(sarWidth, sarHeight);
  if (sarWidth / divisor > INT32_MAX || sarHeight / divisor > INT32_MAX) return;
  picture.sarWidth = static_cast<int>(sarWidth / divisor);
  picture.sarHeight = static_cast<int>(sarHeight / divisor);
}

void ApplySequenceInfo(const SequenceInfo &info, PictureFormat &picture) {
  picture.width = info.width;
  picture.height = info.height;
  picture.chroma = info.chroma;
  if (info.sarWidth > 0) {
    picture.sarWidth = info.sarWidth;
    picture.sarHeight = info.sarHeight;
  }
}

bool ReadParameterSets(std::span<const uint8_t> sequenceHeader, InputFormat &format) {
  std::vector<NalUnit> units;
  if (!SplitSequenceHeader(sequenceHeader, units)) return false;
  for (NalUnit unit : units) {
    if (auto info = ParseSequenceParameterSet(unit)) ApplySequenceInfo(*info, format.picture);
  }
  AppendByteStream(units, format.parameterSets);
  return true;
}

int LengthSizeOf(const AM_MEDIA_TYPE &type) {
  const auto *mpeg2 = FormatAs<MPEG2VIDEOINFO>(type, FORMAT_MPEG2Video);
  if (!mpeg2) return 0;
  const DWORD size = mpeg2->dwFlags;
  return size == 1 || size == 2 || size == 4 ? static_cast<int>(size) : 0;
}

}  // namespace

HRESULT ReadInputFormat(const AM_MEDIA_TYPE &type, InputFormat *format) {
  if (!IsEqualGUID(type.majortype, MEDIATYPE_Video)) return VFW_E_TYPE_NOT_ACCEPTED;
  const bool byteStream = IsEqualGUID(type.subtype, MEDIASUBTYPE_H264);
  if (!byteStream && !IsEqualGUID(type.subtype, MEDIASUBTYPE_AVC1)) return VFW_E_TYPE_NOT_ACCEPTED;
  VideoHeader header;
  std::span<const uint8_t> sequenceHeader;
  if (!ReadVideoHeader(type, header) || !SequenceHeaderOf(type, sequenceHeader)) return VFW_E_TYPE_NOT_ACCEPTED;
  InputFormat read;
  if (!byteStream && (read.lengthSize = LengthSizeOf(type)) == 0) return VFW_E_TYPE_NOT_ACCEPTED;
  read.picture.width = header.bitmap.biWidth;
  read.picture.height = std::abs(header.bitmap.biHeight);
  read.picture.frameDuration = header.avgTimePerFrame > 0 ? header.avgTimePerFrame : 0;
  SetSampleAspect(header, read.picture);
  if (!ReadParameterSets(sequenceHeader, read)) return VFW_E_TYPE_NOT_ACCEPTED;
  if (format) *format = std::move(read);
  return S_OK;
}

}  // namespace h264decoder
