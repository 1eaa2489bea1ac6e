// The output types: layouts offered for each chroma format, image sizes,
// format blocks with and without the aspect ratio, and the types the
// decoder agrees to write.
#include "output_formats.h"

#include <dvdmedia.h>
#include <uuids.h>
#include <vfwmsgs.h>

#include <gtest/gtest.h>

namespace h264decoder {
namespace {

using platform::media::MediaType;

PictureFormat Picture(int width, int height, ChromaFormat chroma = ChromaFormat::k420, int sarWidth = 1,
                      int sarHeight = 1) {
  PictureFormat picture;
  picture.width = width;
  picture.height = height;
  picture.chroma = chroma;
  picture.sarWidth = sarWidth;
  picture.sarHeight = sarHeight;
  picture.frameDuration = 400000;
  return picture;
}

struct OfferCase {
  ChromaFormat stream;
  bool keep;
  std::vector<Layout> layouts;
};

TEST(OutputFormatsTest, OffersFourTwoZeroUnlessTheOriginalChromaIsKept) {
  const OfferCase cases[] = {
      {ChromaFormat::k420, false, {Layout::kNV12, Layout::kYV12, Layout::kI420}},
      {ChromaFormat::k420, true, {Layout::kNV12, Layout::kYV12, Layout::kI420}},
      {ChromaFormat::k422, false, {Layout::kNV12, Layout::kYV12, Layout::kI420}},
      {ChromaFormat::k422, true, {Layout::kYV16, Layout::kYUY2}},
      {ChromaFormat::k444, false, {Layout::kNV12, Layout::kYV12, Layout::kI420}},
      {ChromaFormat::k444, true, {Layout::kYV24, Layout::kAYUV}},
  };
  for (const OfferCase &known : cases) {
    EXPECT_TRUE(OfferedLayouts(known.stream, known.keep) == known.layouts)
        << "chroma " << static_cast<int>(known.stream) << ", keep " << known.keep;
  }
}

struct LayoutCase {
  Layout layout;
  GUID subtype;
  DWORD size;  // of a 5 x 3 picture
};

TEST(OutputFormatsTest, LayoutsAreFourccSubtypesWithTheirImageSizes) {
  const GUID yv16 = {0x36315659, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
  const GUID yv24 = {0x34325659, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
  const GUID ayuv = {0x56555941, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
  const LayoutCase cases[] = {
      {Layout::kNV12, MEDIASUBTYPE_NV12, 15 + 2 * 3 * 2}, {Layout::kYV12, MEDIASUBTYPE_YV12, 15 + 2 * 3 * 2},
      {Layout::kI420, MEDIASUBTYPE_I420, 15 + 2 * 3 * 2}, {Layout::kYV16, yv16, 15 + 2 * 3 * 3},
      {Layout::kYUY2, MEDIASUBTYPE_YUY2, 4 * 3 * 3},      {Layout::kYV24, yv24, 3 * 15},
      {Layout::kAYUV, ayuv, 4 * 15},
  };
  for (const LayoutCase &known : cases) {
    const int index = static_cast<int>(known.layout);
    EXPECT_TRUE(IsEqualGUID(SubtypeOf(known.layout), known.subtype)) << "layout " << index;
    EXPECT_EQ(LayoutOf(known.subtype), known.layout) << "layout " << index;
    EXPECT_EQ(ImageSize(known.layout, 5, 3), known.size) << "layout " << index;
  }
  EXPECT_FALSE(LayoutOf(MEDIASUBTYPE_RGB32));
}

TEST(OutputFormatsTest, BuffersHoldTheLargestLayoutOfTheStream) {
  EXPECT_EQ(LargestImageSize(Picture(320, 240)), 320u * 240 * 3 / 2);
  EXPECT_EQ(LargestImageSize(Picture(320, 240, ChromaFormat::k422)), 320u * 240 * 2);
  EXPECT_EQ(LargestImageSize(Picture(320, 240, ChromaFormat::k444)), 320u * 240 * 4);
}

TEST(OutputFormatsTest, SquarePixelsGiveAVideoInfoHeader) {
  const MediaType type = OutputType(Picture(640, 360), Layout::kNV12, false);
  const auto *info = type.FormatAs<VIDEOINFOHEADER>(FORMAT_VideoInfo);
  ASSERT_TRUE(info);
  EXPECT_TRUE(IsEqualGUID(type->majortype, MEDIATYPE_Video));
  EXPECT_TRUE(IsEqualGUID(type->subtype, MEDIASUBTYPE_NV12));
  EXPECT_EQ(info->AvgTimePerFrame, 400000);
  EXPECT_EQ(info->bmiHeader.biWidth, 640);
  EXPECT_EQ(info->bmiHeader.biHeight, 360);
  EXPECT_EQ(info->bmiHeader.biBitCount, 12);
  EXPECT_EQ(info->bmiHeader.biCompression, MEDIASUBTYPE_NV12.Data1);
  EXPECT_EQ(info->bmiHeader.biSizeImage, 640u * 360 * 3 / 2);
  EXPECT_EQ(type->lSampleSize, 640u * 360 * 3 / 2);
}

struct AspectCase {
  int width, height, sarWidth, sarHeight;
  DWORD x, y;
};

TEST(OutputFormatsTest, KeptAspectRatioGivesAVideoInfoHeader2WithTheDisplayAspectRatio) {
  const AspectCase cases[] = {
      {720, 576, 64, 45, 16, 9}, {720, 576, 16, 15, 4, 3}, {640, 360, 1, 1, 16, 9}, {320, 240, 1, 1, 4, 3},
      {1440, 1080, 4, 3, 16, 9},
  };
  for (const AspectCase &known : cases) {
    const MediaType type =
        OutputType(Picture(known.width, known.height, ChromaFormat::k420, known.sarWidth, known.sarHeight),
                   Layout::kYV12, true);
    const auto *info = type.FormatAs<VIDEOINFOHEADER2>(FORMAT_VideoInfo2);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->dwPictAspectRatioX, known.x) << known.width << "x" << known.height;
    EXPECT_EQ(info->dwPictAspectRatioY, known.y) << known.width << "x" << known.height;
    EXPECT_EQ(info->bmiHeader.biWidth, known.width);
    EXPECT_EQ(info->AvgTimePerFrame, 400000);
  }
}

TEST(OutputFormatsTest, OutputTypesFollowTheOfferedLayouts) {
  const std::vector<MediaType> types = OutputTypes(Picture(320, 240, ChromaFormat::k422), {false, true});
  ASSERT_EQ(types.size(), 2u);
  EXPECT_EQ(LayoutOf(types[0]->subtype), Layout::kYV16);
  EXPECT_EQ(LayoutOf(types[1]->subtype), Layout::kYUY2);
  EXPECT_TRUE(IsEqualGUID(types[0]->formattype, FORMAT_VideoInfo));
}

struct CheckCase {
  const char *name;
  MediaType type;
  OutputSettings settings;
  HRESULT expected;
};

TEST(OutputFormatsTest, WritesOnlyTypesOfTheStreamAndTheSettings) {
  const PictureFormat picture = Picture(320, 240, ChromaFormat::k422);
  const CheckCase cases[] = {
      {"NV12", OutputType(picture, Layout::kNV12, false), {false, false}, S_OK},
      {"I420", OutputType(picture, Layout::kI420, false), {false, false}, S_OK},
      {"YV16 without keeping the chroma format", OutputType(picture, Layout::kYV16, false), {false, false},
       VFW_E_TYPE_NOT_ACCEPTED},
      {"YV16 keeping the chroma format", OutputType(picture, Layout::kYV16, false), {false, true}, S_OK},
      {"NV12 keeping the chroma format", OutputType(picture, Layout::kNV12, false), {false, true},
       VFW_E_TYPE_NOT_ACCEPTED},
      {"VIDEOINFOHEADER2 without the aspect ratio", OutputType(picture, Layout::kNV12, true), {false, false},
       VFW_E_TYPE_NOT_ACCEPTED},
      {"VIDEOINFOHEADER2 with the aspect ratio", OutputType(picture, Layout::kNV12, true), {true, false}, S_OK},
      {"VIDEOINFOHEADER with the aspect ratio", OutputType(picture, Layout::kNV12, false), {true, false},
       VFW_E_TYPE_NOT_ACCEPTED},
      {"another size", OutputType(Picture(322, 240), Layout::kNV12, false), {false, false}, VFW_E_TYPE_NOT_ACCEPTED},
      {"RGB32", MediaType(MEDIATYPE_Video, MEDIASUBTYPE_RGB32, FORMAT_VideoInfo,
                          OutputType(picture, Layout::kNV12, false)->pbFormat, sizeof(VIDEOINFOHEADER)),
       {false, false}, VFW_E_TYPE_NOT_ACCEPTED},
  };
  for (const CheckCase &known : cases) {
    EXPECT_EQ(CheckOutputType(known.type.Get(), picture, known.settings), known.expected) << known.name;
  }
}

}  // namespace
}  // namespace h264decoder
