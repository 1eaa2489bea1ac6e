// The H.264 decoder configuration record ("avcC", as MP4 and Matroska store
// it) and the sequence header of an MPEG2VIDEOINFO format block for
// MEDIASUBTYPE_AVC1, which holds the same parameter sets as a list of
// units, each after its length in 2 big-endian bytes.
//
// Both directions: the source turns a stream's record into the format
// block's fields, the decoder turns the format block back into a record for
// libavcodec. Pure functions on bytes.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <vector>

namespace platform::media::ffmpeg {

struct AvcConfiguration {
  BYTE profile = 0;        // profile_idc
  BYTE compatibility = 0;  // the constraint flags
  BYTE level = 0;          // level_idc
  BYTE nalLengthSize = 4;  // bytes of the length before each unit in a sample: 1, 2 or 4
  // The sequence and then the picture parameter sets, each after a 2-byte
  // big-endian length: the layout of MPEG2VIDEOINFO::dwSequenceHeader.
  std::vector<BYTE> sequenceHeader;
};

// Empty when the bytes are not a version 1 record, or are cut short.
std::optional<AvcConfiguration> ParseAvcConfiguration(const BYTE *record, size_t size);

// The record of a configuration: its parameter sets are taken from the
// sequence header (units other than parameter sets are left out), the
// profile and level from the first sequence parameter set when there is
// one. Empty when a unit's length runs past the end of the header, or the
// length size is not 1, 2 or 4.
std::optional<std::vector<BYTE>> BuildAvcConfiguration(const AvcConfiguration &configuration);

}  // namespace platform::media::ffmpeg
