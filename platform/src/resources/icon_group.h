// Icon groups (RT_GROUP_ICON): a GRPICONDIR header (reserved, type 1, count)
// followed by one 14-byte GRPICONDIRENTRY per image, which names the RT_ICON
// resource that holds the image.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

namespace platform::resources {

struct IconGroupEntry {
  int width = 0, height = 0;  // pixels; the stored 0 means 256
  BYTE colorCount = 0;
  WORD planes = 0, bitCount = 0;
  DWORD bytesInRes = 0;
  WORD id = 0;  // the RT_ICON resource
};

// False when the bytes are not a well-formed icon group.
bool ParseIconGroup(std::span<const uint8_t> bytes, std::vector<IconGroupEntry> &entries);

}  // namespace platform::resources
