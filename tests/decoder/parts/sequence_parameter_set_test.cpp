// Reading sequence parameter sets: the size after cropping, the chroma
// format, the bit depth and the sample aspect ratio, from the clips and
// from hand-picked units.
#include "sequence_parameter_set.h"

#include <gtest/gtest.h>

#include "clip_reader.h"

namespace h264decoder {
namespace {

using decoder_testing::Bytes;

std::optional<SequenceInfo> FirstSequenceInfo(const std::string &path) {
  const decoder_testing::Clip clip = decoder_testing::ReadClip(path);
  for (const Bytes &unit : clip.parameterSets) {
    if (auto info = ParseSequenceParameterSet(unit)) return info;
  }
  return std::nullopt;
}

struct ClipCase {
  std::string path;
  int width, height;
  ChromaFormat chroma;
  int bitDepth;
};

TEST(SequenceParameterSetTest, DescribesTheClipsPictures) {
  using decoder_testing::SamplePath;
  using decoder_testing::TestClipPath;
  const ClipCase cases[] = {
      {SamplePath("clip-h264.m4v"), 320, 240, ChromaFormat::k420, 8},
      {SamplePath("sample.mp4"), 640, 360, ChromaFormat::k420, 8},
      {SamplePath("clip-h264-anamorphic.mp4"), 720, 576, ChromaFormat::k420, 8},
      {TestClipPath("clip-h264-422.mp4"), 320, 240, ChromaFormat::k422, 8},
      {TestClipPath("clip-h264-444.mp4"), 320, 240, ChromaFormat::k444, 8},
      {TestClipPath("clip-h264-10bit.mp4"), 320, 240, ChromaFormat::k420, 10},
  };
  for (const ClipCase &known : cases) {
    const auto info = FirstSequenceInfo(known.path);
    ASSERT_TRUE(info) << known.path;
    EXPECT_EQ(info->width, known.width) << known.path;
    EXPECT_EQ(info->height, known.height) << known.path;
    EXPECT_EQ(static_cast<int>(info->chroma), static_cast<int>(known.chroma)) << known.path;
    EXPECT_EQ(info->bitDepth, known.bitDepth) << known.path;
  }
}

TEST(SequenceParameterSetTest, ReadsTheSampleAspectRatio) {
  const auto info = FirstSequenceInfo(decoder_testing::SamplePath("clip-h264-anamorphic.mp4"));
  ASSERT_TRUE(info);
  EXPECT_EQ(info->sarWidth, 64);
  EXPECT_EQ(info->sarHeight, 45);
}

// A 100 x 58 picture is coded as 112 x 64 and cropped by 6 and 3 chroma
// samples; the unit holds an emulation-prevention byte.
const Bytes kCroppedUnit = {0x67, 0x64, 0x00, 0x0a, 0xac, 0xd9, 0x47, 0x27, 0x9e, 0x4c, 0x04, 0x40, 0x00,
                            0x00, 0x03, 0x00, 0x40, 0x00, 0x00, 0x0c, 0x83, 0xc4, 0x89, 0x65, 0x80};

TEST(SequenceParameterSetTest, AppliesCropping) {
  const auto info = ParseSequenceParameterSet(kCroppedUnit);
  ASSERT_TRUE(info);
  EXPECT_EQ(info->width, 100);
  EXPECT_EQ(info->height, 58);
}

TEST(SequenceParameterSetTest, RefusesOtherUnitsAndCutUnits) {
  EXPECT_FALSE(ParseSequenceParameterSet(Bytes{0x68, 0xEB, 0xE3, 0xCB}));
  EXPECT_FALSE(ParseSequenceParameterSet(Bytes{}));
  for (size_t length = 1; length < 8; ++length) {
    const Bytes cut(kCroppedUnit.begin(), kCroppedUnit.begin() + static_cast<ptrdiff_t>(length));
    EXPECT_FALSE(ParseSequenceParameterSet(cut)) << "cut after " << length << " bytes";
  }
}

}  // namespace
}  // namespace h264decoder
