// The compressed input the decoder takes, read from a media type.
//
//   MEDIASUBTYPE_H264  Annex B byte stream. Format block FORMAT_MPEG2Video
//                      (parameter sets, if any, in its sequence header, in
//                      byte-stream form or with 2-byte sizes),
//                      FORMAT_VideoInfo or FORMAT_VideoInfo2.
//   MEDIASUBTYPE_AVC1  length-prefixed units. Format block FORMAT_MPEG2Video:
//                      dwFlags is the size of the prefix (1, 2 or 4) and the
//                      sequence header holds the parameter sets, each after
//                      its 2-byte big-endian size.
// Any other type is refused, so that intelligent connect tries another
// decoder.
#pragma once

#include <strmif.h>

#include <cstdint>
#include <vector>

#include "picture_format.h"

namespace h264decoder {

struct InputFormat {
  // 0 for a byte stream; else the size of each unit's length prefix.
  int lengthSize = 0;
  // The parameter sets of the format block, in byte-stream form.
  std::vector<uint8_t> parameterSets;
  // From the format block's header, refined by its sequence parameter set.
  PictureFormat picture;
};

// S_OK with *format filled in, or VFW_E_TYPE_NOT_ACCEPTED.
HRESULT ReadInputFormat(const AM_MEDIA_TYPE &type, InputFormat *format);

}  // namespace h264decoder
