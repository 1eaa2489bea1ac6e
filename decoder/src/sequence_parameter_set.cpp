// Reading a sequence parameter set (ITU-T H.264, 7.3.2.1.1 and E.1.1), as
// far as the video usability information's aspect ratio.
#include "sequence_parameter_set.h"

#include "bit_reader.h"

namespace h264decoder {
namespace {

// The profiles whose parameter sets carry the chroma format and bit depth.
bool HasChromaFields(uint32_t profile) {
  switch (profile) {
    case 100: case 110: case 122: case 244: case 44: case 83:
    case 86: case 118: case 128: case 138: case 139: case 134: case 135:
      return true;
    default:
      return false;
  }
}

void SkipScalingList(BitReader &bits, int size) {
  int last = 8, next = 8;
  for (int i = 0; i < size && next != 0; ++i) {
    next = (last + bits.SignedGolomb() + 256) % 256;
    if (next != 0) last = next;
  }
}

void SkipScalingMatrix(BitReader &bits, uint32_t chromaFormatIdc) {
  const int lists = chromaFormatIdc == 3 ? 12 : 8;
  for (int i = 0; i < lists; ++i) {
    if (bits.Flag()) SkipScalingList(bits, i < 6 ? 16 : 64);
  }
}

void SkipPictureOrderCount(BitReader &bits) {
  const uint32_t type = bits.UnsignedGolomb();
  if (type == 0) {
    bits.UnsignedGolomb();  // log2_max_pic_order_cnt_lsb_minus4
  } else if (type == 1) {
    bits.Skip(1);
    bits.SignedGolomb();
    bits.SignedGolomb();
    const uint32_t cycle = bits.UnsignedGolomb();
    for (uint32_t i = 0; i < cycle && i < 256 && !bits.Overrun(); ++i) bits.SignedGolomb();
  }
}

// Table E-1: the sample aspect ratios of aspect_ratio_idc 1 to 16.
constexpr int kAspectRatios[17][2] = {{0, 0},   {1, 1},   {12, 11}, {10, 11}, {16, 11}, {40, 33},
                                      {24, 11}, {20, 11}, {32, 11}, {80, 33}, {18, 11}, {15, 11},
                                      {64, 33}, {160, 99}, {4, 3},  {3, 2},   {2, 1}};
constexpr uint32_t kExtendedSar = 255;

void ReadAspectRatio(BitReader &bits, SequenceInfo &info) {
  if (!bits.Flag()) return;  // vui_parameters_present_flag
  if (!bits.Flag()) return;  // aspect_ratio_info_present_flag
  const uint32_t idc = bits.Bits(8);
  if (idc == kExtendedSar) {
    info.sarWidth = static_cast<int>(bits.Bits(16));
    info.sarHeight = static_cast<int>(bits.Bits(16));
  } else if (idc < 17) {
    info.sarWidth = kAspectRatios[idc][0];
    info.sarHeight = kAspectRatios[idc][1];
  }
  if (info.sarWidth == 0 || info.sarHeight == 0) info.sarWidth = info.sarHeight = 0;
}

ChromaFormat ChromaOf(uint32_t chromaFormatIdc) {
  if (chromaFormatIdc == 2) return ChromaFormat::k422;
  if (chromaFormatIdc == 3) return ChromaFormat::k444;
  return ChromaFormat::k420;
}

}  // namespace

std::optional<SequenceInfo> ParseSequenceParameterSet(NalUnit unit) {
  if (UnitType(unit) != kNalSequenceParameterSet) return std::nullopt;
  const std::vector<uint8_t> payload = RawPayload(unit);
  BitReader bits(payload);
  SequenceInfo info;
  const uint32_t profile = bits.Bits(8);
  bits.Skip(16);           // constraint flags, level_idc
  bits.UnsignedGolomb();   // seq_parameter_set_id
  uint32_t chromaFormatIdc = 1;
  bool separateColourPlanes = false;
  if (HasChromaFields(profile)) {
    chromaFormatIdc = bits.UnsignedGolomb();
    if (chromaFormatIdc == 3) separateColourPlanes = bits.Flag();
    info.bitDepth = static_cast<int>(bits.UnsignedGolomb()) + 8;
    bits.UnsignedGolomb();  // bit_depth_chroma_minus8
    bits.Skip(1);           // qpprime_y_zero_transform_bypass_flag
    if (bits.Flag()) SkipScalingMatrix(bits, chromaFormatIdc);
  }
  if (chromaFormatIdc > 3) return std::nullopt;
  info.chroma = ChromaOf(chromaFormatIdc);
  bits.UnsignedGolomb();  // log2_max_frame_num_minus4
  SkipPictureOrderCount(bits);
  bits.UnsignedGolomb();  // max_num_ref_frames
  bits.Skip(1);           // gaps_in_frame_num_value_allowed_flag
  const uint32_t widthInMacroblocks = bits.UnsignedGolomb() + 1;
  const uint32_t heightInMapUnits = bits.UnsignedGolomb() + 1;
  const bool frameMacroblocksOnly = bits.Flag();
  if (!frameMacroblocksOnly) bits.Skip(1);  // mb_adaptive_frame_field_flag
  bits.Skip(1);                             // direct_8x8_inference_flag
  uint32_t crop[4] = {0, 0, 0, 0};          // left, right, top, bottom
  if (bits.Flag()) {
    for (uint32_t &edge : crop) edge = bits.UnsignedGolomb();
  }
  ReadAspectRatio(bits, info);
  if (bits.Overrun() || widthInMacroblocks > 1024 || heightInMapUnits > 1024) return std::nullopt;

  // Cropping counts in chroma samples (Table 6-1), and in field pairs for
  // streams that may code fields.
  const bool subsampled = chromaFormatIdc != 0 && chromaFormatIdc != 3 && !separateColourPlanes;
  const int cropUnitX = subsampled ? 2 : 1;
  const int cropUnitY = (subsampled && chromaFormatIdc == 1 ? 2 : 1) * (frameMacroblocksOnly ? 1 : 2);
  const int fullWidth = static_cast<int>(widthInMacroblocks) * 16;
  const int fullHeight = static_cast<int>(heightInMapUnits) * 16 * (frameMacroblocksOnly ? 1 : 2);
  info.width = fullWidth - cropUnitX * static_cast<int>(crop[0] + crop[1]);
  info.height = fullHeight - cropUnitY * static_cast<int>(crop[2] + crop[3]);
  if (crop[0] + crop[1] > 2048 || crop[2] + crop[3] > 2048 || info.width <= 0 || info.height <= 0) return std::nullopt;
  return info;
}

}  // namespace h264decoder
