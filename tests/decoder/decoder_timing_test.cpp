// Time stamps of the decoded pictures in both modes, pictures before a
// segment's start, and flushing: no picture from before a flush comes
// after it.
#include <algorithm>

#include "decoder_fixture.h"

namespace decoder_testing {
namespace {

constexpr REFERENCE_TIME kFrame = 400000;

class DecoderTimingTest : public DecoderTest {
 protected:
  std::vector<RecordedPicture> PlayWithTimes(const Clip &clip, InputTimes times, BOOL passThrough) {
    EXPECT_HR(S_OK, settings_->SetPassThroughTimeStamps(passThrough));
    Play(clip, RecordingSink::Create(), times);
    return sink_->Pictures();
  }
};

// The start times of the pushed samples, in presentation order.
std::vector<REFERENCE_TIME> SortedStarts(const Clip &clip, InputTimes mode) {
  std::vector<REFERENCE_TIME> starts;
  for (size_t i = 0; i < clip.packets.size(); ++i) {
    const SampleTimes times = TimesOf(clip.packets[i], i, mode);
    if (times.start) starts.push_back(*times.start);
  }
  std::sort(starts.begin(), starts.end());
  return starts;
}

std::vector<REFERENCE_TIME> StartsOf(const std::vector<RecordedPicture> &pictures) {
  std::vector<REFERENCE_TIME> starts;
  for (const RecordedPicture &picture : pictures) {
    if (picture.hasStart) starts.push_back(picture.start);
  }
  return starts;
}

TEST_F(DecoderTimingTest, PassThroughGivesEachPictureTheTimesOfItsSample) {
  for (InputTimes mode : {InputTimes::kAsRead, InputTimes::kJittered}) {
    SCOPED_TRACE(mode == InputTimes::kAsRead ? "times as read" : "jittered times");
    Renew();
    const Clip clip = ReadClip(SamplePath("clip-h264.m4v"));
    const std::vector<RecordedPicture> pictures = PlayWithTimes(clip, mode, TRUE);
    ASSERT_EQ(pictures.size(), clip.packets.size());
    EXPECT_EQ(StartsOf(pictures), SortedStarts(clip, mode));
    for (const RecordedPicture &picture : pictures) {
      ASSERT_TRUE(picture.hasStop);
      EXPECT_EQ(picture.stop - picture.start, kFrame);
    }
  }
}

TEST_F(DecoderTimingTest, DerivedTimesStepOneFrameFromTheFirstPicture) {
  for (InputTimes mode : {InputTimes::kAsRead, InputTimes::kJittered, InputTimes::kKeyFramesOnly}) {
    SCOPED_TRACE(static_cast<int>(mode));
    Renew();
    const Clip clip = ReadClip(SamplePath("clip-h264.m4v"));
    const std::vector<RecordedPicture> pictures = PlayWithTimes(clip, mode, FALSE);
    ASSERT_EQ(pictures.size(), clip.packets.size());
    const REFERENCE_TIME first = SortedStarts(clip, mode).front();
    for (size_t i = 0; i < pictures.size(); ++i) {
      ASSERT_TRUE(pictures[i].hasStart && pictures[i].hasStop) << "picture " << i;
      EXPECT_EQ(pictures[i].start, first + static_cast<REFERENCE_TIME>(i) * kFrame) << "picture " << i;
      EXPECT_EQ(pictures[i].stop, pictures[i].start + kFrame) << "picture " << i;
    }
  }
}

TEST_F(DecoderTimingTest, PassThroughLeavesPicturesOfUntimedSamplesUntimed) {
  const Clip clip = ReadClip(SamplePath("clip-h264.m4v"));
  const std::vector<RecordedPicture> pictures = PlayWithTimes(clip, InputTimes::kKeyFramesOnly, TRUE);
  ASSERT_EQ(pictures.size(), clip.packets.size());
  const size_t keys = std::count_if(clip.packets.begin(), clip.packets.end(), [](const ClipPacket &p) { return p.key; });
  EXPECT_EQ(StartsOf(pictures).size(), keys);
}

TEST_F(DecoderTimingTest, PicturesEndingBeforeTheSegmentStartAreDropped) {
  Clip clip = ReadClip(SamplePath("clip-h264.m4v"));
  constexpr size_t kSkipped = 10;
  for (ClipPacket &packet : clip.packets) {
    packet.start -= kSkipped * kFrame;
    packet.stop -= kSkipped * kFrame;
  }
  Play(clip, RecordingSink::Create());
  const std::vector<RecordedPicture> pictures = sink_->Pictures();
  const std::vector<ReferencePicture> reference = ReferenceDecode(clip, PackedLayout::kNV12);
  ASSERT_EQ(pictures.size(), reference.size() - kSkipped);
  for (size_t i = 0; i < pictures.size(); ++i) {
    ASSERT_EQ(pictures[i].hash, reference[kSkipped + i].hash) << "picture " << i;
    EXPECT_GE(pictures[i].start, 0);
  }
  EXPECT_TRUE(pictures.front().discontinuity);
}

// The first half of the clip, a flush and a new segment at its second key
// frame, then the rest: what comes after the flush is exactly the pictures
// from that key frame on, with threads holding pictures back or not.
TEST_F(DecoderTimingTest, FlushDropsEveryPictureHeldInside) {
  for (int threads : {1, 2}) {
    SCOPED_TRACE(std::to_string(threads) + " threads");
    Renew();
    ASSERT_HR(S_OK, settings_->SetThreads(threads));
    const Clip clip = ReadClip(SamplePath("clip-h264.m4v"));
    const auto key = std::find_if(clip.packets.begin() + 1, clip.packets.end(), [](const ClipPacket &p) { return p.key; });
    ASSERT_NE(key, clip.packets.end());
    const size_t seekTo = static_cast<size_t>(key - clip.packets.begin());
    Connect(clip, RecordingSink::Create());
    ASSERT_HR(S_OK, Push(clip, 0, seekTo - 5));
    ASSERT_HR(S_OK, source_->Flush());
    const size_t beforeFlush = sink_->Pictures().size();
    const REFERENCE_TIME segmentStart = key->start;
    ASSERT_HR(S_OK, source_->NewSegment(segmentStart, segmentStart + 100 * kFrame));
    for (size_t i = seekTo; i < clip.packets.size(); ++i) {
      const ClipPacket &packet = clip.packets[i];
      ASSERT_HR(S_OK, source_->Push(packet.data, {packet.start - segmentStart, packet.stop - segmentStart}, packet.key));
    }
    Finish();
    const std::vector<RecordedPicture> pictures = sink_->Pictures();
    const std::vector<ReferencePicture> reference = ReferenceDecode(clip, PackedLayout::kNV12);
    ASSERT_EQ(pictures.size() - beforeFlush, clip.packets.size() - seekTo);
    EXPECT_TRUE(pictures[beforeFlush].discontinuity);
    for (size_t i = beforeFlush; i < pictures.size(); ++i) {
      ASSERT_EQ(pictures[i].hash, reference[seekTo + i - beforeFlush].hash) << "picture " << i;
      EXPECT_EQ(pictures[i].start, static_cast<REFERENCE_TIME>(i - beforeFlush) * kFrame);
    }
  }
}

}  // namespace
}  // namespace decoder_testing
