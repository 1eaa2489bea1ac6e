#include "resources/icon_group.h"

#include "resources/byte_reader.h"

namespace platform::resources {

namespace {

constexpr WORD kIconType = 1;  // 2 would be a cursor group

int SideFromByte(BYTE side) { return side == 0 ? 256 : side; }

bool ReadEntry(ByteReader &reader, IconGroupEntry &entry) {
  BYTE width = 0, height = 0, reserved = 0;
  if (!(reader.ReadByte(width) && reader.ReadByte(height) && reader.ReadByte(entry.colorCount) &&
        reader.ReadByte(reserved) && reader.ReadWord(entry.planes) && reader.ReadWord(entry.bitCount) &&
        reader.ReadDword(entry.bytesInRes) && reader.ReadWord(entry.id))) {
    return false;
  }
  entry.width = SideFromByte(width);
  entry.height = SideFromByte(height);
  return true;
}

}  // namespace

bool ParseIconGroup(std::span<const uint8_t> bytes, std::vector<IconGroupEntry> &entries) {
  ByteReader reader(bytes);
  WORD reserved = 0, type = 0, count = 0;
  if (!reader.ReadWord(reserved) || !reader.ReadWord(type) || !reader.ReadWord(count) || reserved != 0 ||
      type != kIconType) {
    return false;
  }
  entries.clear();
  for (WORD i = 0; i < count; ++i) {
    IconGroupEntry entry;
    if (!ReadEntry(reader, entry)) return false;
    entries.push_back(entry);
  }
  return true;
}

}  // namespace platform::resources
