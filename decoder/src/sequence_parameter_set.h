// The fields of an H.264 sequence parameter set that describe the pictures:
// size after cropping, chroma format, bit depth and sample aspect ratio.
#pragma once

#include <optional>

#include "nal_units.h"
#include "picture_format.h"

namespace h264decoder {

struct SequenceInfo {
  int width = 0;
  int height = 0;
  ChromaFormat chroma = ChromaFormat::k420;
  int bitDepth = 8;
  // 0:0 when the stream gives no sample aspect ratio.
  int sarWidth = 0;
  int sarHeight = 0;
};

// Nothing when the unit is not a sequence parameter set or is damaged.
std::optional<SequenceInfo> ParseSequenceParameterSet(NalUnit unit);

}  // namespace h264decoder
