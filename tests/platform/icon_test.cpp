// Icons: the program icon (group 201, embedded in this test program), the
// drawn system icons, shared icon handles, the choice of image for a size,
// and the icon DIB reader and writer the screen view relies on.
#include "resources/icons.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "../../console/resource.h"
#include "resources/icon_dib.h"

namespace {

using platform::resources::BestIconImage;
using platform::resources::DecodeIconDib;
using platform::resources::EncodeIconDib32;
using platform::resources::IconImage;
using platform::resources::IconImages;
using platform::resources::IconPixels;

HICON ProgramIcon() { return LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_QUORVEL)); }

uint32_t PixelAt(const IconPixels &pixels, double fx, double fy) {
  const int x = static_cast<int>(fx * pixels.width), y = static_cast<int>(fy * pixels.height);
  return pixels.argb[static_cast<size_t>(y * pixels.width + x)];
}

std::string Hex(uint32_t value) {
  char text[16];
  snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

// ---- The program icon ----

TEST(ProgramIcon, GroupHoldsSevenImagesWithTheirSizesAndDepths) {
  struct Expected {
    int side, bitCount;
    bool png;
  };
  const Expected expected[] = {{16, 8, false},  {32, 8, false},  {48, 8, false}, {16, 32, false},
                               {32, 32, false}, {48, 32, false}, {256, 32, true}};
  HICON icon = ProgramIcon();
  ASSERT_NE(icon, nullptr) << "last error " << GetLastError();
  const std::vector<IconImage> *images = IconImages(icon);
  ASSERT_NE(images, nullptr);
  ASSERT_EQ(images->size(), std::size(expected));
  for (size_t i = 0; i < images->size(); ++i) {
    const IconImage &image = (*images)[i];
    SCOPED_TRACE("image " + std::to_string(i));
    EXPECT_EQ(image.width, expected[i].side);
    EXPECT_EQ(image.height, expected[i].side);
    EXPECT_EQ(image.bitCount, expected[i].bitCount);
    EXPECT_EQ(image.png, expected[i].png);
  }
}

TEST(ProgramIcon, ImageBytesAgreeWithTheGroup) {
  for (const IconImage &image : *IconImages(ProgramIcon())) {
    SCOPED_TRACE("image " + std::to_string(image.width) + " px, " + std::to_string(image.bitCount) + " bpp");
    if (image.png) {
      // IHDR: width and height big-endian, then bit depth 8 and colour type 6 (RGBA).
      ASSERT_GE(image.bytes.size(), 26u);
      EXPECT_EQ(image.bytes[18] << 8 | image.bytes[19], image.width);
      EXPECT_EQ(image.bytes[22] << 8 | image.bytes[23], image.height);
      EXPECT_EQ(image.bytes[24], 8);
      EXPECT_EQ(image.bytes[25], 6);
      continue;
    }
    ASSERT_GE(image.bytes.size(), 40u);
    EXPECT_EQ(image.bytes[14], image.bitCount) << "biBitCount";
    IconPixels pixels;
    ASSERT_TRUE(DecodeIconDib(image.bytes, pixels));
    EXPECT_EQ(pixels.width, image.width);
    EXPECT_EQ(pixels.height, image.height);
    EXPECT_EQ(PixelAt(pixels, 0.0, 0.0) >> 24, 0u) << "the top left corner is transparent";
    EXPECT_EQ(PixelAt(pixels, 0.3, 0.5) >> 24, 0xFFu) << "the film frame is opaque";
  }
}

TEST(ProgramIcon, LoadingTwiceGivesTheSameSharedIcon) {
  HICON first = ProgramIcon();
  EXPECT_EQ(ProgramIcon(), first);
  EXPECT_TRUE(DestroyIcon(first));
  EXPECT_NE(IconImages(first), nullptr) << "a shared icon outlives DestroyIcon";
  EXPECT_EQ(ProgramIcon(), first);
}

TEST(ProgramIcon, MissingIconsFailWithNameNotFound) {
  const LPCWSTR names[] = {MAKEINTRESOURCEW(999), IDI_APPLICATION, L"QUORVEL"};
  for (LPCWSTR name : names) {
    SetLastError(0);
    EXPECT_EQ(LoadIconW(GetModuleHandleW(nullptr), name), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND)) << "got " << GetLastError();
  }
}

// ---- System icons ----

TEST(SystemIcons, EachIsDrawnAtThreeSizesInItsColours) {
  struct Case {
    const char *name;
    LPCWSTR id;
    double fx, fy;  // a point inside the icon's main shape
    uint32_t rgb;
  };
  const Case cases[] = {
      {"IDI_APPLICATION", IDI_APPLICATION, 0.5, 0.22, 0x1A73E8}, {"IDI_ERROR", IDI_ERROR, 0.5, 0.15, 0xD93025},
      {"IDI_QUESTION", IDI_QUESTION, 0.5, 0.9, 0x1A73E8},        {"IDI_WARNING", IDI_WARNING, 0.5, 0.85, 0xF9AB00},
      {"IDI_INFORMATION", IDI_INFORMATION, 0.5, 0.28, 0xFFFFFF},
  };
  std::vector<HICON> seen;
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    HICON icon = LoadIconW(nullptr, c.id);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(LoadIconW(nullptr, c.id), icon) << "system icons are shared";
    EXPECT_EQ(std::count(seen.begin(), seen.end(), icon), 0) << "each system icon has its own handle";
    seen.push_back(icon);
    const std::vector<IconImage> *images = IconImages(icon);
    ASSERT_NE(images, nullptr);
    const int sides[] = {16, 32, 48};
    ASSERT_EQ(images->size(), std::size(sides));
    for (size_t i = 0; i < std::size(sides); ++i) {
      const IconImage &image = (*images)[i];
      EXPECT_EQ(image.width, sides[i]);
      EXPECT_EQ(image.bitCount, 32);
      IconPixels pixels;
      ASSERT_TRUE(DecodeIconDib(image.bytes, pixels));
      if (image.width == 48) {
        const uint32_t pixel = PixelAt(pixels, c.fx, c.fy);
        EXPECT_EQ(pixel, 0xFF000000u | c.rgb) << "got " << Hex(pixel);
      }
    }
  }
}

TEST(SystemIcons, UnknownIdFails) {
  SetLastError(0);
  EXPECT_EQ(LoadIconW(nullptr, MAKEINTRESOURCEW(1)), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
}

TEST(DestroyIcon, RejectsHandleOfNoIcon) {
  int notAnIcon = 0;
  SetLastError(0);
  EXPECT_FALSE(DestroyIcon(reinterpret_cast<HICON>(&notAnIcon)));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_CURSOR_HANDLE));
  EXPECT_EQ(IconImages(nullptr), nullptr);
}

// ---- Choosing an image ----

TEST(BestIconImage, SmallestImageLargeEnoughInTheDeepestColour) {
  struct Case {
    int pixels, side, bitCount;
  };
  const Case cases[] = {{1, 16, 32}, {16, 16, 32}, {20, 32, 32}, {48, 48, 32}, {64, 256, 32}, {512, 256, 32}};
  HICON icon = ProgramIcon();
  for (const Case &c : cases) {
    const IconImage *image = BestIconImage(icon, c.pixels);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, c.side) << "for " << c.pixels << " px";
    EXPECT_EQ(image->bitCount, c.bitCount) << "for " << c.pixels << " px";
  }
  EXPECT_EQ(BestIconImage(nullptr, 16), nullptr);
}

// ---- Icon DIBs ----

TEST(IconDib, ThirtyTwoBitPixelsRoundTrip) {
  const IconPixels pixels{3, 2, {0xFF102030, 0x80405060, 0x00000000, 0x7F010203, 0xFFFFFFFF, 0x01ABCDEF}};
  const std::vector<uint8_t> dib = EncodeIconDib32(pixels);
  IconPixels decoded;
  ASSERT_TRUE(DecodeIconDib(dib, decoded));
  EXPECT_EQ(decoded.width, 3);
  EXPECT_EQ(decoded.height, 2);
  EXPECT_EQ(decoded.argb, pixels.argb);
  // The mask row of the top row comes last: pixels under half opacity are set.
  EXPECT_EQ(dib[dib.size() - 4], 0x20) << "top row: only the third pixel is transparent";
  EXPECT_EQ(dib[dib.size() - 8], 0x80 | 0x20) << "bottom row: the first and third are";
}

TEST(IconDib, PalettisedPixelsTakeTheirAlphaFromTheMask) {
  // 8 x 2 pixels at 1 bit per pixel: colour 0 black, colour 1 red.
  std::vector<uint8_t> dib(40, 0);
  dib[0] = 40, dib[4] = 8, dib[8] = 4, dib[12] = 1, dib[14] = 1;
  dib.insert(dib.end(), {0, 0, 0, 0, 0, 0, 0xFF, 0});  // colour table, BGRX
  dib.insert(dib.end(), {0x0F, 0, 0, 0, 0xF0, 0, 0, 0});  // colour rows, bottom first
  dib.insert(dib.end(), {0x00, 0, 0, 0, 0x81, 0, 0, 0});  // mask rows, bottom first
  IconPixels pixels;
  ASSERT_TRUE(DecodeIconDib(dib, pixels));
  const std::vector<uint32_t> expected = {
      0x00FF0000, 0xFFFF0000, 0xFFFF0000, 0xFFFF0000, 0xFF000000, 0xFF000000, 0xFF000000, 0x00000000,
      0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000, 0xFFFF0000, 0xFFFF0000, 0xFFFF0000, 0xFFFF0000,
  };
  EXPECT_EQ(pixels.argb, expected);
}

TEST(IconDib, RejectsTruncatedCompressedAndUnsupportedImages) {
  const IconImage &small = IconImages(ProgramIcon())->front();
  IconPixels pixels;
  for (size_t size = 0; size < small.bytes.size(); ++size) {
    std::vector<uint8_t> cut(small.bytes.begin(), small.bytes.begin() + static_cast<ptrdiff_t>(size));
    EXPECT_FALSE(DecodeIconDib(cut, pixels)) << "cut at " << size;
  }
  std::vector<uint8_t> compressed = small.bytes;
  compressed[16] = 1;  // BI_RLE8
  EXPECT_FALSE(DecodeIconDib(compressed, pixels));
  std::vector<uint8_t> sixteenBits = small.bytes;
  sixteenBits[14] = 16;
  EXPECT_FALSE(DecodeIconDib(sixteenBits, pixels));
}

}  // namespace
