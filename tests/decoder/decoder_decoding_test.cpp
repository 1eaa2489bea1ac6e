// Decoding through a graph of push source -> decoder -> recording sink,
// compared picture by picture with a reference decode: each clip, each
// output layout, the kept chroma formats, and damaged input.
#include <dvdmedia.h>
#include <uuids.h>

#include "decoder_fixture.h"

namespace decoder_testing {
namespace {

// Compares hashes; reports the number of pictures that differ and the first.
void ExpectSamePictures(const std::vector<RecordedPicture> &got, const std::vector<ReferencePicture> &expected,
                        size_t firstExpected = 0) {
  ASSERT_EQ(got.size() + firstExpected, expected.size()) << "pictures decoded";
  size_t differing = 0, first = got.size();
  for (size_t i = 0; i < got.size(); ++i) {
    if (got[i].hash != expected[firstExpected + i].hash || got[i].size != expected[firstExpected + i].size) {
      ++differing;
      first = std::min(first, i);
    }
  }
  EXPECT_EQ(differing, 0u) << "pictures differ from the reference, the first at " << first;
}

GUID FourCC(const char *code) {
  GUID subtype = MEDIASUBTYPE_NV12;
  subtype.Data1 = static_cast<DWORD>(uint8_t(code[0]) | uint8_t(code[1]) << 8 | uint8_t(code[2]) << 16 |
                                     uint32_t(uint8_t(code[3])) << 24);
  return subtype;
}

struct ClipCase {
  const char *name;
  std::string path;
  int width, height;
};

class DecoderDecodingTest : public DecoderTest {};

TEST_F(DecoderDecodingTest, EachClipMatchesTheReferenceInNv12) {
  const ClipCase cases[] = {
      {"AVC1 in MP4", SamplePath("clip-h264.m4v"), 320, 240},
      {"Annex B in MPEG-TS", SamplePath("clip-h264-annexb.ts"), 320, 240},
      {"anamorphic", SamplePath("clip-h264-anamorphic.mp4"), 720, 576},
  };
  for (const ClipCase &known : cases) {
    SCOPED_TRACE(known.name);
    Renew();
    const Clip clip = ReadClip(known.path);
    Play(clip, RecordingSink::Create());
    const MediaType type = SinkConnectionType();
    EXPECT_TRUE(IsEqualGUID(type->subtype, MEDIASUBTYPE_NV12));
    const auto *info = type.FormatAs<VIDEOINFOHEADER>(FORMAT_VideoInfo);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->bmiHeader.biWidth, known.width);
    EXPECT_EQ(info->bmiHeader.biHeight, known.height);
    EXPECT_EQ(info->AvgTimePerFrame, 400000);
    ExpectSamePictures(sink_->Pictures(), ReferenceDecode(clip, PackedLayout::kNV12));
  }
}

TEST_F(DecoderDecodingTest, TheDemonstrationClipMatchesTheReference) {
  const Clip clip = ReadClip(SamplePath("sample.mp4"));
  ASSERT_HR(S_OK, settings_->SetThreads(2));
  Play(clip, RecordingSink::Create());
  ExpectSamePictures(sink_->Pictures(), ReferenceDecode(clip, PackedLayout::kNV12));
}

struct LayoutCase {
  const char *subtype;
  PackedLayout layout;
};

TEST_F(DecoderDecodingTest, GivesYv12AndI420ToRenderersThatWantThem) {
  const LayoutCase cases[] = {{"YV12", PackedLayout::kYV12}, {"I420", PackedLayout::kI420}};
  const Clip clip = ReadClip(SamplePath("clip-h264.m4v"));
  for (const LayoutCase &known : cases) {
    SCOPED_TRACE(known.subtype);
    Renew();
    Play(clip, RecordingSink::Create({FourCC(known.subtype)}));
    EXPECT_TRUE(IsEqualGUID(SinkConnectionType()->subtype, FourCC(known.subtype)));
    ExpectSamePictures(sink_->Pictures(), ReferenceDecode(clip, known.layout));
  }
}

struct ChromaCase {
  const char *name;
  const char *clip;
  std::vector<GUID> accepted;
  const char *subtype;
  PackedLayout layout;
};

TEST_F(DecoderDecodingTest, KeepsTheOriginalChromaFormatWhenForced) {
  const ChromaCase cases[] = {
      {"4:2:2 planar", "clip-h264-422.mp4", {}, "YV16", PackedLayout::kYV16},
      {"4:2:2 packed", "clip-h264-422.mp4", {FourCC("YUY2")}, "YUY2", PackedLayout::kYUY2},
      {"4:4:4 planar", "clip-h264-444.mp4", {}, "YV24", PackedLayout::kYV24},
      {"4:4:4 packed", "clip-h264-444.mp4", {FourCC("AYUV")}, "AYUV", PackedLayout::kAYUV},
  };
  for (const ChromaCase &known : cases) {
    SCOPED_TRACE(known.name);
    Renew();
    ASSERT_HR(S_OK, settings_->SetForceOriginalChromaFormat(1));
    const Clip clip = ReadClip(TestClipPath(known.clip));
    Play(clip, RecordingSink::Create(known.accepted));
    EXPECT_TRUE(IsEqualGUID(SinkConnectionType()->subtype, FourCC(known.subtype)));
    ExpectSamePictures(sink_->Pictures(), ReferenceDecode(clip, known.layout));
  }
}

TEST_F(DecoderDecodingTest, ConvertsOtherStreamsToNv12ByDefault) {
  for (const char *name : {"clip-h264-422.mp4", "clip-h264-444.mp4", "clip-h264-10bit.mp4"}) {
    SCOPED_TRACE(name);
    Renew();
    const Clip clip = ReadClip(TestClipPath(name));
    Play(clip, RecordingSink::Create());
    EXPECT_TRUE(IsEqualGUID(SinkConnectionType()->subtype, MEDIASUBTYPE_NV12));
    const std::vector<RecordedPicture> pictures = sink_->Pictures();
    EXPECT_EQ(pictures.size(), clip.packets.size());
    for (const RecordedPicture &picture : pictures) ASSERT_EQ(picture.size, 320u * 240 * 3 / 2);
  }
}

TEST_F(DecoderDecodingTest, DeblockingSwitchChangesThePictures) {
  const Clip clip = ReadClip(SamplePath("clip-h264.m4v"));
  BOOL enabled = FALSE;
  ASSERT_HR(S_OK, settings_->GetDeblocking(&enabled));
  EXPECT_TRUE(enabled);
  ASSERT_HR(S_OK, settings_->SetDeblocking(FALSE));
  Play(clip, RecordingSink::Create());
  const std::vector<RecordedPicture> pictures = sink_->Pictures();
  const std::vector<ReferencePicture> reference = ReferenceDecode(clip, PackedLayout::kNV12);
  ASSERT_EQ(pictures.size(), reference.size());
  size_t differing = 0;
  for (size_t i = 0; i < pictures.size(); ++i) differing += pictures[i].hash != reference[i].hash;
  EXPECT_GT(differing, pictures.size() / 2) << "pictures without deblocking differ from the reference";
}

// Bytes flipped inside every fourth picture's data, a sample of noise, a
// sample whose first length prefix runs past its end: the stream goes on.
TEST_F(DecoderDecodingTest, DamagedInputIsConcealedOrDropped) {
  Clip clip = ReadClip(SamplePath("clip-h264.m4v"));
  for (size_t i = 1; i < clip.packets.size(); i += 4) {
    Bytes &data = clip.packets[i].data;
    for (size_t at = 16; at < data.size(); at += 7) data[at] ^= 0x5A;
  }
  Connect(clip, RecordingSink::Create());
  ASSERT_HR(S_OK, Push(clip, 0, 10));
  Bytes noise(3000);
  for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<uint8_t>(i * 37 + 11);
  EXPECT_HR(S_OK, source_->Push(noise, {}, false));
  EXPECT_HR(S_OK, source_->Push(Bytes{0x7F, 0xFF, 0xFF, 0xFF, 0x65, 0x88}, {}, false));
  EXPECT_HR(S_OK, source_->Push(Bytes{}, {}, false));
  ASSERT_HR(S_OK, Push(clip, 10, clip.packets.size()));
  Finish();
  EXPECT_GE(sink_->Pictures().size(), clip.packets.size() - 5);
}

}  // namespace
}  // namespace decoder_testing
