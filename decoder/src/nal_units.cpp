// Finding and writing NAL units.
#include "nal_units.h"

#include <cstring>

namespace h264decoder {
namespace {

constexpr uint8_t kStartCode[] = {0, 0, 0, 1};

// The offset just after the next 00 00 01 at or after from, or data.size().
size_t NextUnitStart(std::span<const uint8_t> data, size_t from) {
  for (size_t i = from; i + 3 <= data.size(); ++i) {
    if (data[i + 2] > 1) {
      i += 2;  // no start code can end at i + 2 or begin before it
    } else if (data[i] == 0 && data[i + 1] == 0 && data[i + 2] == 1) {
      return i + 3;
    }
  }
  return data.size();
}

bool StartsWithStartCode(std::span<const uint8_t> data) {
  if (data.size() >= 3 && data[0] == 0 && data[1] == 0 && data[2] == 1) return true;
  return data.size() >= 4 && data[0] == 0 && data[1] == 0 && data[2] == 0 && data[3] == 1;
}

uint32_t ReadSize(const uint8_t *bytes, int lengthSize) {
  uint32_t size = 0;
  for (int i = 0; i < lengthSize; ++i) size = (size << 8) | bytes[i];
  return size;
}

}  // namespace

std::vector<NalUnit> SplitByteStream(std::span<const uint8_t> data) {
  std::vector<NalUnit> units;
  size_t start = NextUnitStart(data, 0);
  while (start < data.size()) {
    const size_t next = NextUnitStart(data, start);
    size_t end = next == data.size() ? next : next - 3;
    while (end > start && data[end - 1] == 0) --end;  // the next start code's leading zero, trailing zeros
    if (end > start) units.push_back(data.subspan(start, end - start));
    start = next;
  }
  return units;
}

bool SplitLengthPrefixed(std::span<const uint8_t> data, int lengthSize, std::vector<NalUnit> &units) {
  if (lengthSize != 1 && lengthSize != 2 && lengthSize != 4) return false;
  size_t offset = 0;
  while (offset < data.size()) {
    if (data.size() - offset < static_cast<size_t>(lengthSize)) return false;
    const uint32_t size = ReadSize(data.data() + offset, lengthSize);
    offset += lengthSize;
    if (size > data.size() - offset) return false;
    if (size > 0) units.push_back(data.subspan(offset, size));
    offset += size;
  }
  return true;
}

bool SplitSequenceHeader(std::span<const uint8_t> data, std::vector<NalUnit> &units) {
  if (StartsWithStartCode(data)) {
    units = SplitByteStream(data);
    return true;
  }
  return SplitLengthPrefixed(data, 2, units);
}

uint8_t UnitType(NalUnit unit) { return unit.empty() ? 0 : unit[0] & 0x1F; }

bool ContainsIdrSlice(const std::vector<NalUnit> &units) {
  for (NalUnit unit : units) {
    if (UnitType(unit) == kNalIdrSlice) return true;
  }
  return false;
}

size_t ByteStreamSize(const std::vector<NalUnit> &units) {
  size_t size = 0;
  for (NalUnit unit : units) size += sizeof kStartCode + unit.size();
  return size;
}

void WriteByteStream(const std::vector<NalUnit> &units, uint8_t *out) {
  for (NalUnit unit : units) {
    std::memcpy(out, kStartCode, sizeof kStartCode);
    std::memcpy(out + sizeof kStartCode, unit.data(), unit.size());
    out += sizeof kStartCode + unit.size();
  }
}

void AppendByteStream(const std::vector<NalUnit> &units, std::vector<uint8_t> &out) {
  const size_t offset = out.size();
  out.resize(offset + ByteStreamSize(units));
  WriteByteStream(units, out.data() + offset);
}

std::vector<uint8_t> RawPayload(NalUnit unit) {
  std::vector<uint8_t> payload;
  payload.reserve(unit.size());
  int zeros = 0;
  for (size_t i = 1; i < unit.size(); ++i) {
    if (zeros >= 2 && unit[i] == 3) {
      zeros = 0;
      continue;
    }
    zeros = unit[i] == 0 ? zeros + 1 : 0;
    payload.push_back(unit[i]);
  }
  return payload;
}

}  // namespace h264decoder
