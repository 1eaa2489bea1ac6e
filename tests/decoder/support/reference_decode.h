// The reference the decoder is compared with: the clip's packets, as the
// container gives them, decoded by libavcodec directly on one thread, each
// picture packed in an output layout by the tests' own code and hashed.
#pragma once

#include <strmif.h>

#include <cstdint>
#include <vector>

#include "clip_reader.h"

namespace decoder_testing {

enum class PackedLayout { kNV12, kYV12, kI420, kYV16, kYUY2, kYV24, kAYUV };

struct ReferencePicture {
  uint64_t hash = 0;
  size_t size = 0;
  REFERENCE_TIME start = 0;  // the time of the packet the picture came from
};

std::vector<ReferencePicture> ReferenceDecode(const Clip &clip, PackedLayout layout);

}  // namespace decoder_testing
