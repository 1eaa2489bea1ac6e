// The video renderer's pictures: which media types it takes, the sizes it
// shows them at, and how their bytes become frames of the video surface.
#include "media/video_renderer_formats.h"

#include <dshow.h>
#include <dvdmedia.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "media/video_renderer_picture.h"
#include <platform_filters/media_type.h>

namespace {

using platform::media::DescribeRendererPicture;
using platform::media::MediaType;
using platform::media::PictureConverter;
using platform::media::PictureLayout;
using platform::media::RendererPicture;
using platform::view::VideoFormat;
using platform::view::VideoFrame;

constexpr DWORD FourCC(const char (&code)[5]) {
  return static_cast<DWORD>(static_cast<unsigned char>(code[0])) |
         static_cast<DWORD>(static_cast<unsigned char>(code[1])) << 8 |
         static_cast<DWORD>(static_cast<unsigned char>(code[2])) << 16 |
         static_cast<DWORD>(static_cast<unsigned char>(code[3])) << 24;
}

GUID FourCCSubtype(DWORD fourcc) {
  return GUID{fourcc, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
}

struct Layout {
  const char *name;
  GUID subtype;
  DWORD compression;
  WORD bitCount;
  PictureLayout layout;
};

const std::vector<Layout> &Layouts() {
  static const std::vector<Layout> layouts = {
      {"RGB32", MEDIASUBTYPE_RGB32, BI_RGB, 32, PictureLayout::Rgb32},
      {"I420", MEDIASUBTYPE_I420, FourCC("I420"), 12, PictureLayout::I420},
      {"IYUV", MEDIASUBTYPE_IYUV, FourCC("IYUV"), 12, PictureLayout::I420},
      {"YV12", MEDIASUBTYPE_YV12, FourCC("YV12"), 12, PictureLayout::YV12},
      {"NV12", MEDIASUBTYPE_NV12, FourCC("NV12"), 12, PictureLayout::NV12},
      {"YUY2", MEDIASUBTYPE_YUY2, FourCC("YUY2"), 16, PictureLayout::YUY2},
      {"UYVY", MEDIASUBTYPE_UYVY, FourCC("UYVY"), 16, PictureLayout::UYVY},
      {"YV16", FourCCSubtype(FourCC("YV16")), FourCC("YV16"), 16, PictureLayout::YV16},
      {"YV24", FourCCSubtype(FourCC("YV24")), FourCC("YV24"), 24, PictureLayout::YV24},
      {"AYUV", MEDIASUBTYPE_AYUV, FourCC("AYUV"), 32, PictureLayout::AYUV},
  };
  return layouts;
}

const Layout &LayoutNamed(const std::string &name) {
  for (const Layout &layout : Layouts()) {
    if (name == layout.name) return layout;
  }
  std::abort();
}

// A video type described by the fields the renderer reads.
struct TypeFields {
  std::string layout = "RGB32";
  LONG width = 64;
  LONG height = 48;
  bool info2 = false;
  DWORD aspectX = 0;
  DWORD aspectY = 0;
  DWORD sizeImage = 0;
  WORD bitCount = 0;   // 0: the layout's
  DWORD compression = 0xFFFFFFFF;  // the layout's
  GUID majorType = MEDIATYPE_Video;
};

BITMAPINFOHEADER BitmapOf(const TypeFields &fields) {
  const Layout &layout = LayoutNamed(fields.layout);
  BITMAPINFOHEADER bitmap{};
  bitmap.biSize = sizeof bitmap;
  bitmap.biWidth = fields.width;
  bitmap.biHeight = fields.height;
  bitmap.biPlanes = 1;
  bitmap.biBitCount = fields.bitCount ? fields.bitCount : layout.bitCount;
  bitmap.biCompression = fields.compression != 0xFFFFFFFF ? fields.compression : layout.compression;
  bitmap.biSizeImage = fields.sizeImage;
  return bitmap;
}

MediaType TypeOf(const TypeFields &fields) {
  const GUID &subtype = LayoutNamed(fields.layout).subtype;
  if (!fields.info2) {
    VIDEOINFOHEADER info{};
    info.bmiHeader = BitmapOf(fields);
    return MediaType(fields.majorType, subtype, FORMAT_VideoInfo, &info, sizeof info);
  }
  VIDEOINFOHEADER2 info{};
  info.dwPictAspectRatioX = fields.aspectX;
  info.dwPictAspectRatioY = fields.aspectY;
  info.bmiHeader = BitmapOf(fields);
  return MediaType(fields.majorType, subtype, FORMAT_VideoInfo2, &info, sizeof info);
}

// The type with its format block cut to `length` bytes.
MediaType Truncated(const MediaType &type, size_t length) {
  MediaType cut(type);
  cut.SetFormat(type->pbFormat, length);
  return cut;
}

TEST(VideoRendererFormats, TakesTheUncompressedLayoutsWithEitherVideoInfoBlock) {
  for (const Layout &layout : Layouts()) {
    for (bool info2 : {false, true}) {
      const auto picture = DescribeRendererPicture(TypeOf({.layout = layout.name, .info2 = info2}).Get());
      ASSERT_TRUE(picture) << layout.name << (info2 ? " with VIDEOINFOHEADER2" : " with VIDEOINFOHEADER");
      EXPECT_EQ(static_cast<int>(picture->layout), static_cast<int>(layout.layout)) << layout.name;
      EXPECT_EQ(picture->width, 64) << layout.name;
      EXPECT_EQ(picture->height, 48) << layout.name;
    }
  }
}

TEST(VideoRendererFormats, RefusesWhatItCannotShowOrCannotReadSafely) {
  const MediaType rgb = TypeOf({});
  const MediaType rgb2 = TypeOf({.info2 = true});
  MediaType noBlock(MEDIATYPE_Video, MEDIASUBTYPE_RGB32, FORMAT_VideoInfo, nullptr, 0);
  const MediaType h264(MEDIATYPE_Video, MEDIASUBTYPE_H264, FORMAT_VideoInfo, rgb->pbFormat, rgb->cbFormat);
  const MediaType wrongBlockType(MEDIATYPE_Video, MEDIASUBTYPE_RGB32, FORMAT_WaveFormatEx, rgb->pbFormat,
                                 rgb->cbFormat);
  struct Case {
    const char *name;
    MediaType type;
  };
  const Case cases[] = {
      {"audio", TypeOf({.majorType = MEDIATYPE_Audio})},
      {"a compressed subtype", h264},
      {"another format block type", wrongBlockType},
      {"no format block", noBlock},
      {"VIDEOINFOHEADER one byte short", Truncated(rgb, sizeof(VIDEOINFOHEADER) - 1)},
      {"VIDEOINFOHEADER2 as long as a VIDEOINFOHEADER", Truncated(rgb2, sizeof(VIDEOINFOHEADER))},
      {"YUV with a negative height", TypeOf({.layout = "NV12", .height = -48})},
      {"a FOURCC that is not the subtype's", TypeOf({.layout = "NV12", .compression = FourCC("YV12")})},
      {"RGB32 with 24 bits a pixel", TypeOf({.bitCount = 24})},
      {"RGB32 with bit fields", TypeOf({.compression = BI_BITFIELDS})},
      {"a width of 0", TypeOf({.width = 0})},
      {"a negative width", TypeOf({.width = -64})},
      {"a height of 0", TypeOf({.height = 0})},
      {"a side too large", TypeOf({.width = 100000})},
      {"an image size too small", TypeOf({.sizeImage = 64 * 48 * 4 - 1})},
  };
  for (const Case &c : cases) EXPECT_FALSE(DescribeRendererPicture(c.type.Get())) << c.name;
}

TEST(VideoRendererFormats, RgbPicturesAreBottomUpUnlessTheHeightIsNegative) {
  const auto bottomUp = DescribeRendererPicture(TypeOf({.height = 48}).Get());
  const auto topDown = DescribeRendererPicture(TypeOf({.height = -48}).Get());
  ASSERT_TRUE(bottomUp && topDown);
  EXPECT_TRUE(bottomUp->bottomUp);
  EXPECT_FALSE(topDown->bottomUp);
  EXPECT_EQ(topDown->height, 48);
  EXPECT_FALSE(DescribeRendererPicture(TypeOf({.layout = "YV12"}).Get())->bottomUp);
}

TEST(VideoRendererFormats, ImageSizesFollowTheLayout) {
  struct Case {
    const char *layout;
    LONG width, height;
    DWORD expected;
  };
  const Case cases[] = {
      {"RGB32", 6, 4, 96}, {"I420", 6, 4, 36}, {"I420", 5, 3, 27}, {"NV12", 5, 3, 27}, {"YUY2", 6, 4, 48},
      {"YUY2", 5, 4, 48},  {"UYVY", 6, 4, 48}, {"YV16", 6, 4, 48}, {"YV24", 6, 4, 72}, {"AYUV", 6, 4, 96},
  };
  for (const Case &c : cases) {
    const auto picture = DescribeRendererPicture(TypeOf({.layout = c.layout, .width = c.width, .height = c.height}).Get());
    ASSERT_TRUE(picture) << c.layout;
    EXPECT_EQ(picture->imageSize, c.expected) << c.layout << " " << c.width << "x" << c.height;
  }
  EXPECT_TRUE(DescribeRendererPicture(TypeOf({.sizeImage = 64 * 48 * 4}).Get())) << "an exact image size";
}

TEST(VideoRendererFormats, DisplaySizeFollowsThePictureAspectRatio) {
  struct Case {
    const char *name;
    TypeFields fields;
    SIZE expected;
  };
  const Case cases[] = {
      {"VIDEOINFOHEADER", {.width = 640, .height = 360}, {640, 360}},
      {"square pixels at 16:9", {.width = 1280, .height = 720, .info2 = true, .aspectX = 16, .aspectY = 9}, {1280, 720}},
      {"PAL widescreen", {.width = 720, .height = 576, .info2 = true, .aspectX = 16, .aspectY = 9}, {1024, 576}},
      {"PAL 4:3", {.width = 720, .height = 576, .info2 = true, .aspectX = 4, .aspectY = 3}, {768, 576}},
      {"narrower than stored", {.width = 640, .height = 480, .info2 = true, .aspectX = 1, .aspectY = 1}, {480, 480}},
      {"no ratio given", {.width = 352, .height = 288, .info2 = true}, {352, 288}},
      {"half a ratio given", {.width = 352, .height = 288, .info2 = true, .aspectX = 4}, {352, 288}},
      {"an absurd ratio", {.width = 352, .height = 288, .info2 = true, .aspectX = 1, .aspectY = 100000}, {352, 288}},
      {"top-down RGB", {.width = 320, .height = -240}, {320, 240}},
  };
  for (const Case &c : cases) {
    const auto picture = DescribeRendererPicture(TypeOf(c.fields).Get());
    ASSERT_TRUE(picture) << c.name;
    EXPECT_EQ(picture->display.cx, c.expected.cx) << c.name;
    EXPECT_EQ(picture->display.cy, c.expected.cy) << c.name;
  }
}

TEST(VideoRendererFormats, RegistersEveryLayoutItTakesAndNothingElse) {
  const auto types = platform::media::RendererPinTypes();
  EXPECT_EQ(types.size(), Layouts().size());
  for (const REGPINTYPES &type : types) {
    EXPECT_TRUE(IsEqualGUID(*type.clsMajorType, MEDIATYPE_Video));
    bool known = false;
    for (const Layout &layout : Layouts()) known = known || IsEqualGUID(*type.clsMinorType, layout.subtype);
    EXPECT_TRUE(known) << "a registered subtype the renderer does not take";
  }
}

// A picture of one colour in a layout, written byte by byte as a decoder
// lays it out.
struct Colour {
  uint8_t y, u, v;
};

std::vector<uint8_t> SolidPicture(const RendererPicture &picture, Colour c) {
  std::vector<uint8_t> bytes(picture.imageSize);
  const size_t luma = static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height);
  const size_t rest = bytes.size() - luma;
  auto fill = [&](size_t from, size_t count, uint8_t value) { std::fill_n(bytes.begin() + from, count, value); };
  auto repeat = [&](std::initializer_list<uint8_t> group) {
    for (size_t at = 0; at < bytes.size(); at += group.size()) std::copy(group.begin(), group.end(), bytes.begin() + at);
  };
  switch (picture.layout) {
    case PictureLayout::I420: fill(0, luma, c.y); fill(luma, rest / 2, c.u); fill(luma + rest / 2, rest / 2, c.v); break;
    case PictureLayout::YV12:
    case PictureLayout::YV16:
    case PictureLayout::YV24: fill(0, luma, c.y); fill(luma, rest / 2, c.v); fill(luma + rest / 2, rest / 2, c.u); break;
    case PictureLayout::NV12:
      fill(0, luma, c.y);
      for (size_t at = luma; at < bytes.size(); at += 2) bytes[at] = c.u, bytes[at + 1] = c.v;
      break;
    case PictureLayout::YUY2: repeat({c.y, c.u, c.y, c.v}); break;
    case PictureLayout::UYVY: repeat({c.u, c.y, c.v, c.y}); break;
    case PictureLayout::AYUV: repeat({c.v, c.u, c.y, 0xFF}); break;
    case PictureLayout::Rgb32: repeat({0, 0, 255, 0}); break;
  }
  return bytes;
}

// Studio-range BT.601 red.
constexpr Colour kRed = {81, 90, 240};

TEST(VideoRendererPicture, EveryYuvLayoutShowsItsColour) {
  for (const char *name : {"NV12", "YUY2", "UYVY", "YV16", "YV24", "AYUV"}) {
    const auto picture = DescribeRendererPicture(TypeOf({.layout = name, .width = 6, .height = 4}).Get());
    ASSERT_TRUE(picture) << name;
    const std::vector<uint8_t> bytes = SolidPicture(*picture, kRed);
    PictureConverter converter;
    VideoFrame frame;
    ASSERT_TRUE(converter.Convert(*picture, bytes.data(), bytes.size(), frame)) << name;
    ASSERT_EQ(static_cast<int>(frame.format), static_cast<int>(VideoFormat::Rgb32)) << name;
    EXPECT_EQ(frame.width, 6);
    EXPECT_EQ(frame.height, 4);
    const uint8_t *pixel = frame.planes[0].data + 2 * frame.planes[0].stride + 4 * 3;
    EXPECT_NEAR(pixel[2], 255, 4) << name << ": red";
    EXPECT_NEAR(pixel[1], 0, 4) << name << ": green";
    EXPECT_NEAR(pixel[0], 0, 4) << name << ": blue";
  }
}

TEST(VideoRendererPicture, FourTwoZeroPlanarAndRgbGoToTheSurfaceAsTheyAre) {
  for (const char *name : {"I420", "IYUV", "YV12"}) {
    const auto picture = DescribeRendererPicture(TypeOf({.layout = name, .width = 6, .height = 4}).Get());
    const std::vector<uint8_t> bytes = SolidPicture(*picture, kRed);
    PictureConverter converter;
    VideoFrame frame;
    ASSERT_TRUE(converter.Convert(*picture, bytes.data(), bytes.size(), frame)) << name;
    EXPECT_EQ(static_cast<int>(frame.format), static_cast<int>(VideoFormat::I420)) << name;
    EXPECT_EQ(frame.planes[0].data, bytes.data()) << name << ": not copied";
    EXPECT_EQ(frame.planes[1].data[0], kRed.u) << name << ": U plane";
    EXPECT_EQ(frame.planes[2].data[0], kRed.v) << name << ": V plane";
    EXPECT_EQ(frame.planes[1].stride, 3) << name;
  }
  const auto rgb = DescribeRendererPicture(TypeOf({.width = 6, .height = 4}).Get());
  const std::vector<uint8_t> bytes = SolidPicture(*rgb, kRed);
  PictureConverter converter;
  VideoFrame frame;
  ASSERT_TRUE(converter.Convert(*rgb, bytes.data(), bytes.size(), frame));
  EXPECT_EQ(static_cast<int>(frame.format), static_cast<int>(VideoFormat::Rgb32));
  EXPECT_EQ(frame.planes[0].data, bytes.data());
  EXPECT_EQ(frame.planes[0].stride, 24);
  EXPECT_TRUE(frame.bottomUp);
}

TEST(VideoRendererPicture, ABufferShorterThanThePictureIsNotRead) {
  for (const Layout &layout : Layouts()) {
    const auto picture = DescribeRendererPicture(TypeOf({.layout = layout.name, .width = 6, .height = 4}).Get());
    const std::vector<uint8_t> bytes(picture->imageSize - 1);
    PictureConverter converter;
    VideoFrame frame;
    EXPECT_FALSE(converter.Convert(*picture, bytes.data(), bytes.size(), frame)) << layout.name;
  }
}

}  // namespace
