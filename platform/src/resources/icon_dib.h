// The DIB form of an icon image: a BITMAPINFOHEADER whose height counts the
// colour bits and the AND mask together, the colour table (up to 8 bits per
// pixel), the colour bits and the 1-bit AND mask, each row padded to a DWORD
// and the bottom row first. A set mask bit marks a transparent pixel; at 32
// bits per pixel the alpha channel, when any pixel uses it, decides instead.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace platform::resources {

// Pixels with the top row first, each 0xAARRGGBB with straight alpha.
struct IconPixels {
  int width = 0, height = 0;
  std::vector<uint32_t> argb;
};

// A 32-bit icon DIB with alpha, its mask set where a pixel is less than half opaque.
std::vector<uint8_t> EncodeIconDib32(const IconPixels &pixels);

// Reads an uncompressed icon DIB at 1, 4, 8, 24 or 32 bits per pixel; false
// when the bytes are malformed or truncated.
bool DecodeIconDib(std::span<const uint8_t> bytes, IconPixels &pixels);

}  // namespace platform::resources
