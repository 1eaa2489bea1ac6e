#include "resources/icon_dib.h"

#include <windows.h>

#include <algorithm>

#include "resources/byte_reader.h"

namespace platform::resources {

namespace {

constexpr DWORD kInfoHeaderSize = 40;  // BITMAPINFOHEADER
constexpr DWORD kUncompressed = 0;     // BI_RGB
constexpr int kLargestSide = 1024;

size_t RowBytes(int width, int bitCount) { return (static_cast<size_t>(width) * bitCount + 31) / 32 * 4; }

struct DibHeader {
  int width = 0, height = 0;  // of the image, not of the stored bitmap
  int bitCount = 0;
  DWORD colorsUsed = 0;
};

bool IsSupportedDepth(int bitCount) {
  return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 24 || bitCount == 32;
}

// BITMAPINFOHEADER: size, width, height, planes, bit count, compression,
// image size, two densities, colours used, colours important.
bool ReadHeader(ByteReader &reader, DibHeader &header) {
  DWORD size = 0, width = 0, doubledHeight = 0, compression = 0;
  WORD planes = 0, bitCount = 0;
  if (!(reader.ReadDword(size) && reader.ReadDword(width) && reader.ReadDword(doubledHeight) &&
        reader.ReadWord(planes) && reader.ReadWord(bitCount) && reader.ReadDword(compression) && reader.Skip(12) &&
        reader.ReadDword(header.colorsUsed) && reader.Skip(4)) ||
      size < kInfoHeaderSize || !reader.Skip(size - kInfoHeaderSize)) {
    return false;
  }
  // Width and height are signed; the bounds below also reject negative ones.
  header.width = static_cast<int>(std::min<DWORD>(width, kLargestSide + 1));
  header.height = static_cast<int>(std::min<DWORD>(doubledHeight / 2, kLargestSide + 1));
  header.bitCount = bitCount;
  return compression == kUncompressed && IsSupportedDepth(bitCount) && header.width > 0 && header.height > 0 &&
         header.width <= kLargestSide && header.height <= kLargestSide && doubledHeight % 2 == 0 &&
         (bitCount > 8 || header.colorsUsed <= (1u << bitCount));
}

bool ReadColorTable(ByteReader &reader, const DibHeader &header, std::vector<uint32_t> &colors) {
  if (header.bitCount > 8) return true;
  colors.resize(header.colorsUsed ? header.colorsUsed : 1u << header.bitCount);
  for (uint32_t &color : colors) {
    DWORD bgrx = 0;
    if (!reader.ReadDword(bgrx)) return false;
    color = bgrx & 0x00FFFFFF;
  }
  return true;
}

// The colour of pixel x of a stored row, without alpha for palettised and
// 24-bit rows.
uint32_t PixelColor(std::span<const uint8_t> row, int x, int bitCount, const std::vector<uint32_t> &colors) {
  const size_t at = static_cast<size_t>(x);
  switch (bitCount) {
    case 32: return static_cast<uint32_t>(row[at * 4]) | row[at * 4 + 1] << 8 | row[at * 4 + 2] << 16 |
                    static_cast<uint32_t>(row[at * 4 + 3]) << 24;
    case 24: return static_cast<uint32_t>(row[at * 3]) | row[at * 3 + 1] << 8 | row[at * 3 + 2] << 16;
    default: {
      const size_t bit = at * static_cast<size_t>(bitCount);
      const unsigned index = (row[bit / 8] >> (8 - bitCount - bit % 8)) & ((1u << bitCount) - 1);
      return index < colors.size() ? colors[index] : 0;
    }
  }
}

// Pixels whose mask bit is set are transparent, the others opaque.
void ApplyMask(std::span<const uint8_t> maskBits, size_t maskStride, IconPixels &pixels) {
  auto pixel = pixels.argb.begin();
  for (size_t stored = static_cast<size_t>(pixels.height); stored-- > 0;) {
    auto row = maskBits.subspan(stored * maskStride, maskStride);
    for (size_t x = 0; x < static_cast<size_t>(pixels.width); ++x, ++pixel) {
      const bool transparent = (row[x / 8] >> (7 - x % 8)) & 1;
      *pixel = (*pixel & 0x00FFFFFFu) | (transparent ? 0 : 0xFF000000u);
    }
  }
}

}  // namespace

std::vector<uint8_t> EncodeIconDib32(const IconPixels &pixels) {
  const size_t maskRow = RowBytes(pixels.width, 1);
  std::vector<uint8_t> dib(kInfoHeaderSize);
  auto put32 = [&dib](size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) dib[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
  };
  put32(0, kInfoHeaderSize);
  put32(4, static_cast<uint32_t>(pixels.width));
  put32(8, static_cast<uint32_t>(2 * pixels.height));
  dib[12] = 1;   // planes
  dib[14] = 32;  // bits per pixel
  std::vector<uint8_t> mask(maskRow * static_cast<size_t>(pixels.height));
  for (int y = pixels.height - 1; y >= 0; --y) {
    for (int x = 0; x < pixels.width; ++x) {
      const uint32_t argb = pixels.argb[static_cast<size_t>(y * pixels.width + x)];
      for (int shift : {0, 8, 16, 24}) dib.push_back(static_cast<uint8_t>(argb >> shift));
      if ((argb >> 24) < 0x80) {
        mask[static_cast<size_t>(pixels.height - 1 - y) * maskRow + static_cast<size_t>(x) / 8] |=
            static_cast<uint8_t>(0x80 >> (x % 8));
      }
    }
  }
  dib.insert(dib.end(), mask.begin(), mask.end());
  return dib;
}

bool DecodeIconDib(std::span<const uint8_t> bytes, IconPixels &pixels) {
  ByteReader reader(bytes);
  DibHeader header;
  std::vector<uint32_t> colors;
  if (!ReadHeader(reader, header) || !ReadColorTable(reader, header, colors)) return false;
  const size_t stride = RowBytes(header.width, header.bitCount), maskStride = RowBytes(header.width, 1);
  const auto rows = static_cast<size_t>(header.height);
  std::span<const uint8_t> colorBits, maskBits;
  if (!reader.ReadBytes(stride * rows, colorBits) || !reader.ReadBytes(maskStride * rows, maskBits)) return false;

  pixels.width = header.width;
  pixels.height = header.height;
  pixels.argb.clear();
  for (size_t stored = rows; stored-- > 0;) {
    auto row = colorBits.subspan(stored * stride, stride);
    for (int x = 0; x < header.width; ++x) pixels.argb.push_back(PixelColor(row, x, header.bitCount, colors));
  }
  const bool usesAlpha = header.bitCount == 32 &&
                         std::any_of(pixels.argb.begin(), pixels.argb.end(), [](uint32_t c) { return c >> 24; });
  if (!usesAlpha) ApplyMask(maskBits, maskStride, pixels);
  return true;
}

}  // namespace platform::resources
