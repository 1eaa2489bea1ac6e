// H.264 network abstraction layer units: finding them in the two ways a
// stream carries them, and writing them out in the byte-stream form the
// codec reads.
//
//   Annex B byte stream   each unit follows a start code, 00 00 01 (or
//                         00 00 00 01); MEDIASUBTYPE_H264 samples
//   length-prefixed       each unit follows its size, a big-endian number
//                         of 1, 2 or 4 bytes; MEDIASUBTYPE_AVC1 samples, and
//                         with 2-byte sizes the parameter sets of an
//                         MPEG2VIDEOINFO sequence header
//
// A unit is seen as a view into the caller's bytes, header byte first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace h264decoder {

using NalUnit = std::span<const uint8_t>;

enum NalUnitType : uint8_t {
  kNalSlice = 1,
  kNalIdrSlice = 5,
  kNalSequenceParameterSet = 7,
  kNalPictureParameterSet = 8,
};

// The units between start codes; bytes before the first start code and the
// zero bytes that end a unit are not part of any unit.
std::vector<NalUnit> SplitByteStream(std::span<const uint8_t> data);
// False when a size runs past the end of the data (the units before it are
// in units) or lengthSize is not 1, 2 or 4.
bool SplitLengthPrefixed(std::span<const uint8_t> data, int lengthSize, std::vector<NalUnit> &units);
// A sequence header in either form: a byte stream when it starts with a
// start code, else units with 2-byte sizes. False when damaged.
bool SplitSequenceHeader(std::span<const uint8_t> data, std::vector<NalUnit> &units);

uint8_t UnitType(NalUnit unit);
bool ContainsIdrSlice(const std::vector<NalUnit> &units);

// Units in byte-stream form, each after a 4-byte start code.
size_t ByteStreamSize(const std::vector<NalUnit> &units);
// Writes ByteStreamSize(units) bytes.
void WriteByteStream(const std::vector<NalUnit> &units, uint8_t *out);
void AppendByteStream(const std::vector<NalUnit> &units, std::vector<uint8_t> &out);

// The unit's payload (after its header byte) without the emulation-
// prevention bytes (the 03 of each 00 00 03).
std::vector<uint8_t> RawPayload(NalUnit unit);

}  // namespace h264decoder
