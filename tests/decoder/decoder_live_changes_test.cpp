// Settings changed while a graph exists: while it is stopped (the output
// pin is connected again) and during an unclocked run (the new type comes
// with the next picture), accepted and refused; thread counts changed
// during a run; nothing lost on the way.
#include <dvdmedia.h>
#include <uuids.h>
#include <vfwmsgs.h>

#include "decoder_fixture.h"

namespace decoder_testing {
namespace {

class DecoderLiveChangesTest : public DecoderTest {
 protected:
  // Pushes packets [0, half), waits for the pictures they give, changes
  // something, pushes the rest; returns how many pictures came before.
  template <typename Change>
  size_t PlayChangingHalfway(const Clip &clip, Change change) {
    const size_t half = clip.packets.size() / 2;
    EXPECT_HR(S_OK, Push(clip, 0, half));
    const size_t before = sink_->Pictures().size();
    change();
    EXPECT_HR(S_OK, Push(clip, half, clip.packets.size()));
    Finish();
    return before;
  }

  // The picture aspect ratio of the type a picture came in; 0:0 for square pixels.
  std::pair<DWORD, DWORD> AspectOf(const RecordedPicture &picture) {
    const MediaType type = sink_->Types().at(picture.type);
    const auto *info = type.FormatAs<VIDEOINFOHEADER2>(FORMAT_VideoInfo2);
    return info ? std::pair{info->dwPictAspectRatioX, info->dwPictAspectRatioY} : std::pair<DWORD, DWORD>{0, 0};
  }
};

void ExpectSameHashes(const std::vector<RecordedPicture> &got, const std::vector<ReferencePicture> &expected) {
  ASSERT_EQ(got.size(), expected.size()) << "pictures decoded";
  for (size_t i = 0; i < got.size(); ++i) ASSERT_EQ(got[i].hash, expected[i].hash) << "picture " << i;
}

TEST_F(DecoderLiveChangesTest, AspectRatioWhileStoppedConnectsTheOutputAgain) {
  const Clip clip = ReadClip(SamplePath("clip-h264-anamorphic.mp4"));
  Connect(clip, RecordingSink::Create());
  EXPECT_TRUE(IsEqualGUID(SinkConnectionType()->formattype, FORMAT_VideoInfo));
  ASSERT_HR(S_OK, settings_->SetMaintainAspectRatio(TRUE));
  const MediaType type = SinkConnectionType();
  const auto *info = type.FormatAs<VIDEOINFOHEADER2>(FORMAT_VideoInfo2);
  ASSERT_TRUE(info) << "the sink's connection is in a VIDEOINFOHEADER2";
  EXPECT_EQ(info->dwPictAspectRatioX, 16u);
  EXPECT_EQ(info->dwPictAspectRatioY, 9u);
  EXPECT_EQ(info->bmiHeader.biWidth, 720);
  EXPECT_EQ(info->bmiHeader.biHeight, 576);
  EXPECT_EQ(info->AvgTimePerFrame, 400000);
  EXPECT_HR(S_OK, Push(clip, 0, clip.packets.size()));
  Finish();
  ExpectSameHashes(sink_->Pictures(), ReferenceDecode(clip, PackedLayout::kNV12));

  EXPECT_HR(S_OK, control_->Stop());
  ASSERT_HR(S_OK, settings_->SetMaintainAspectRatio(FALSE));
  EXPECT_TRUE(IsEqualGUID(SinkConnectionType()->formattype, FORMAT_VideoInfo));
}

TEST_F(DecoderLiveChangesTest, RefusedChangeWhileStoppedKeepsTheConnection) {
  const Clip clip = ReadClip(SamplePath("clip-h264-anamorphic.mp4"));
  Connect(clip, RecordingSink::Create({}, {FORMAT_VideoInfo}));
  const MediaType before = SinkConnectionType();
  EXPECT_HR(VFW_E_TYPE_NOT_ACCEPTED, settings_->SetMaintainAspectRatio(TRUE));
  BOOL maintained = TRUE;
  EXPECT_HR(S_OK, settings_->GetMaintainAspectRatio(&maintained));
  EXPECT_FALSE(maintained);
  EXPECT_TRUE(SinkConnectionType() == before);
  EXPECT_HR(S_OK, Push(clip, 0, clip.packets.size()));
  Finish();
  EXPECT_EQ(sink_->Pictures().size(), clip.packets.size());
}

TEST_F(DecoderLiveChangesTest, ChromaFormatWhileStoppedGivesTheStreamsOwnLayout) {
  const Clip clip = ReadClip(TestClipPath("clip-h264-422.mp4"));
  Connect(clip, RecordingSink::Create());
  ASSERT_HR(S_OK, settings_->SetForceOriginalChromaFormat(1));
  const GUID yv16 = {0x36315659, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
  EXPECT_TRUE(IsEqualGUID(SinkConnectionType()->subtype, yv16));
  // A 4:2:0 stream has no other layout: the switch is taken without a change.
  Renew();
  const Clip plain = ReadClip(SamplePath("clip-h264.m4v"));
  Connect(plain, RecordingSink::Create({MEDIASUBTYPE_NV12}));
  EXPECT_HR(S_OK, settings_->SetForceOriginalChromaFormat(1));
  EXPECT_TRUE(IsEqualGUID(SinkConnectionType()->subtype, MEDIASUBTYPE_NV12));
}

TEST_F(DecoderLiveChangesTest, AspectRatioDuringARunComesWithTheNextPicture) {
  const Clip clip = ReadClip(SamplePath("clip-h264-anamorphic.mp4"));
  Connect(clip, RecordingSink::Create());
  const size_t before = PlayChangingHalfway(clip, [&] { EXPECT_HR(S_OK, settings_->SetMaintainAspectRatio(TRUE)); });
  const std::vector<RecordedPicture> pictures = sink_->Pictures();
  ExpectSameHashes(pictures, ReferenceDecode(clip, PackedLayout::kNV12));
  ASSERT_GT(before, 0u);
  for (size_t i = 0; i < pictures.size(); ++i) {
    const auto expected = i < before ? std::pair<DWORD, DWORD>{0, 0} : std::pair<DWORD, DWORD>{16, 9};
    EXPECT_EQ(AspectOf(pictures[i]), expected) << "picture " << i;
  }
}

TEST_F(DecoderLiveChangesTest, RefusedChangeDuringARunLeavesTheStreamAsItWas) {
  const Clip clip = ReadClip(SamplePath("clip-h264-anamorphic.mp4"));
  Connect(clip, RecordingSink::Create({}, {FORMAT_VideoInfo}));
  PlayChangingHalfway(clip, [&] {
    EXPECT_HR(VFW_E_TYPE_NOT_ACCEPTED, settings_->SetMaintainAspectRatio(TRUE));
    BOOL maintained = TRUE;
    settings_->GetMaintainAspectRatio(&maintained);
    EXPECT_FALSE(maintained);
  });
  ExpectSameHashes(sink_->Pictures(), ReferenceDecode(clip, PackedLayout::kNV12));
  EXPECT_EQ(sink_->Types().size(), 1u) << "no type change reached the sink";
}

TEST_F(DecoderLiveChangesTest, ChromaFormatDuringARunSwitchesLayoutWithoutLosingPictures) {
  const Clip clip = ReadClip(TestClipPath("clip-h264-422.mp4"));
  Connect(clip, RecordingSink::Create());
  const size_t before =
      PlayChangingHalfway(clip, [&] { EXPECT_HR(S_OK, settings_->SetForceOriginalChromaFormat(1)); });
  const std::vector<RecordedPicture> pictures = sink_->Pictures();
  const std::vector<ReferencePicture> reference = ReferenceDecode(clip, PackedLayout::kYV16);
  ASSERT_EQ(pictures.size(), reference.size());
  for (size_t i = 0; i < pictures.size(); ++i) {
    if (i < before) {
      EXPECT_EQ(pictures[i].size, 320u * 240 * 3 / 2) << "picture " << i << " in NV12";
    } else {
      ASSERT_EQ(pictures[i].hash, reference[i].hash) << "picture " << i << " in YV16";
    }
  }
}

struct ThreadChange {
  int from, to;
};

TEST_F(DecoderLiveChangesTest, ThreadCountDuringARunLosesNoPicture) {
  const ThreadChange changes[] = {{1, 2}, {2, 1}, {1, 4}};
  const Clip clip = ReadClip(SamplePath("clip-h264.m4v"));
  const std::vector<ReferencePicture> reference = ReferenceDecode(clip, PackedLayout::kNV12);
  for (const ThreadChange &change : changes) {
    SCOPED_TRACE(std::to_string(change.from) + " to " + std::to_string(change.to) + " threads");
    Renew();
    ASSERT_HR(S_OK, settings_->SetThreads(change.from));
    Connect(clip, RecordingSink::Create());
    PlayChangingHalfway(clip, [&] {
      EXPECT_HR(S_OK, settings_->SetThreads(change.to));
      int threads = 0;
      EXPECT_HR(S_OK, settings_->GetThreads(&threads));
      EXPECT_EQ(threads, change.to);
    });
    ExpectSameHashes(sink_->Pictures(), reference);
  }
}

TEST_F(DecoderLiveChangesTest, SwitchesWithoutNewTypeAreTakenDuringARun) {
  const Clip clip = ReadClip(SamplePath("clip-h264.m4v"));
  Connect(clip, RecordingSink::Create());
  PlayChangingHalfway(clip, [&] {
    EXPECT_HR(S_OK, settings_->SetPassThroughTimeStamps(FALSE));
    EXPECT_HR(S_OK, settings_->SetForceOriginalChromaFormat(1));
  });
  ExpectSameHashes(sink_->Pictures(), ReferenceDecode(clip, PackedLayout::kNV12));
  EXPECT_EQ(sink_->Types().size(), 1u);
}

}  // namespace
}  // namespace decoder_testing
