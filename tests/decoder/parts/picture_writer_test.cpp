// Packing decoded planes into each output layout, byte for byte, and the
// conversions of pictures that are not 8-bit planes of the layout's chroma.
#include "picture_writer.h"

#include <gtest/gtest.h>

extern "C" {
#include <libavutil/frame.h>
}

#include <memory>
#include <vector>

namespace h264decoder {
namespace {

using Bytes = std::vector<uint8_t>;

struct FrameFree {
  void operator()(AVFrame *frame) const { av_frame_free(&frame); }
};
using Frame = std::unique_ptr<AVFrame, FrameFree>;

// A picture whose Y samples are 10, 11, ... in raster order, U samples
// 100, 101, ... and V samples 200, 201, ...
Frame NumberedPicture(AVPixelFormat format, int width, int height) {
  Frame frame(av_frame_alloc());
  frame->format = format;
  frame->width = width;
  frame->height = height;
  EXPECT_EQ(av_frame_get_buffer(frame.get(), 0), 0);
  const int chromaWidth = format == AV_PIX_FMT_YUV444P ? width : (width + 1) / 2;
  const int chromaHeight = format == AV_PIX_FMT_YUV420P ? (height + 1) / 2 : height;
  const int base[3] = {10, 100, 200};
  for (int plane = 0; plane < 3; ++plane) {
    const int w = plane == 0 ? width : chromaWidth, h = plane == 0 ? height : chromaHeight;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) frame->data[plane][y * frame->linesize[plane] + x] = uint8_t(base[plane] + y * w + x);
    }
  }
  return frame;
}

Bytes Written(const AVFrame &picture, Layout layout) {
  PictureWriter writer;
  Bytes out(ImageSize(layout, picture.width, picture.height), 0xEE);
  EXPECT_TRUE(writer.Write(picture, {layout, picture.width, picture.height}, out.data(), out.size()));
  return out;
}

struct LayoutCase {
  const char *name;
  AVPixelFormat source;
  Layout layout;
  Bytes expected;
};

TEST(PictureWriterTest, PacksEachLayout) {
  // 3 x 2 pictures: 4:2:0 chroma is 2 x 1, 4:2:2 chroma 2 x 2, 4:4:4 chroma 3 x 2.
  const LayoutCase cases[] = {
      {"NV12", AV_PIX_FMT_YUV420P, Layout::kNV12, {10, 11, 12, 13, 14, 15, 100, 200, 101, 201}},
      {"YV12", AV_PIX_FMT_YUV420P, Layout::kYV12, {10, 11, 12, 13, 14, 15, 200, 201, 100, 101}},
      {"I420", AV_PIX_FMT_YUV420P, Layout::kI420, {10, 11, 12, 13, 14, 15, 100, 101, 200, 201}},
      {"YV16", AV_PIX_FMT_YUV422P, Layout::kYV16, {10, 11, 12, 13, 14, 15, 200, 201, 202, 203, 100, 101, 102, 103}},
      {"YUY2 (odd width: the last pixel is repeated)",
       AV_PIX_FMT_YUV422P,
       Layout::kYUY2,
       {10, 100, 11, 200, 12, 101, 12, 201, 13, 102, 14, 202, 15, 103, 15, 203}},
      {"YV24",
       AV_PIX_FMT_YUV444P,
       Layout::kYV24,
       {10, 11, 12, 13, 14, 15, 200, 201, 202, 203, 204, 205, 100, 101, 102, 103, 104, 105}},
      {"AYUV",
       AV_PIX_FMT_YUV444P,
       Layout::kAYUV,
       {200, 100, 10, 255, 201, 101, 11, 255, 202, 102, 12, 255, 203, 103, 13, 255, 204, 104, 14, 255, 205, 105, 15, 255}},
  };
  for (const LayoutCase &known : cases) {
    const Frame picture = NumberedPicture(known.source, 3, 2);
    EXPECT_EQ(Written(*picture, known.layout), known.expected) << known.name;
  }
}

TEST(PictureWriterTest, InterleavesNV12ChromaRowsOfAnyWidth) {
  // Chroma rows 19 samples wide: a block of sixteen pairs, then three more.
  const int width = 37, height = 4, chromaWidth = 19, chromaHeight = 2;
  const Frame picture = NumberedPicture(AV_PIX_FMT_YUV420P, width, height);
  const Bytes written = Written(*picture, Layout::kNV12);
  const uint8_t *chroma = written.data() + width * height;
  for (int y = 0; y < chromaHeight; ++y) {
    for (int x = 0; x < chromaWidth; ++x) {
      const int sample = y * chromaWidth + x, at = 2 * sample;
      ASSERT_EQ(chroma[at], uint8_t(100 + sample)) << "U at " << x << "," << y;
      ASSERT_EQ(chroma[at + 1], uint8_t(200 + sample)) << "V at " << x << "," << y;
    }
  }
}

TEST(PictureWriterTest, ConvertsOtherChromaFormatsAndDepths) {
  // Flat pictures convert to flat pictures, give or take the converter's rounding.
  Frame wide(av_frame_alloc());
  wide->format = AV_PIX_FMT_YUV422P10LE;
  wide->width = 16;
  wide->height = 8;
  ASSERT_EQ(av_frame_get_buffer(wide.get(), 0), 0);
  for (int plane = 0; plane < 3; ++plane) {
    for (int y = 0; y < 8; ++y) {
      auto *row = reinterpret_cast<uint16_t *>(wide->data[plane] + y * wide->linesize[plane]);
      for (int x = 0; x < 16; ++x) row[x] = plane == 0 ? 400 : 512;  // 100 and 128 in 8 bits
    }
  }
  const Bytes nv12 = Written(*wide, Layout::kNV12);
  ASSERT_EQ(nv12.size(), 16u * 8 * 3 / 2);
  for (size_t i = 0; i < nv12.size(); ++i) {
    ASSERT_NEAR(nv12[i], i < 128 ? 100 : 128, 1) << "byte " << i;
  }
}

TEST(PictureWriterTest, RefusesPicturesThatDoNotFit) {
  const Frame picture = NumberedPicture(AV_PIX_FMT_YUV420P, 4, 4);
  PictureWriter writer;
  Bytes out(ImageSize(Layout::kNV12, 4, 4));
  EXPECT_FALSE(writer.Write(*picture, {Layout::kNV12, 4, 2}, out.data(), out.size()));
  EXPECT_FALSE(writer.Write(*picture, {Layout::kNV12, 4, 4}, out.data(), out.size() - 1));
  EXPECT_TRUE(writer.Write(*picture, {Layout::kNV12, 4, 4}, out.data(), out.size()));
}

}  // namespace
}  // namespace h264decoder
