// Seeking the generated clips to the key frame at or before a position,
// in a container with an index (MP4) and one without (MPEG-TS).
#include "media/ffmpeg/key_frame_seek.h"

#include <gtest/gtest.h>

#include "ffmpeg_graph_fixture.h"

namespace ffmpeg_testing {
namespace {

using platform::media::ffmpeg::MediaFile;
using platform::media::ffmpeg::PacketPtr;
using platform::media::ffmpeg::SeekToKeyFrame;

constexpr int64_t kFrame = AV_TIME_BASE / 25;

struct Seek {
  const char *clip;
  int64_t position;
  int64_t keyFrame;  // the key frame's time expected
};

// Key frames every 25 frames: at 0 and 1 s.
TEST(KeyFrameSeek, FindsTheLatestKeyFrameAtOrBeforeThePosition) {
  const Seek cases[] = {
      {"clip-h264.m4v", 0, 0},
      {"clip-h264.m4v", 24 * kFrame, 0},
      {"clip-h264.m4v", 25 * kFrame, 25 * kFrame},
      {"clip-h264.m4v", 49 * kFrame, 25 * kFrame},
      {"clip-h264-annexb.ts", 0, 0},
      {"clip-h264-annexb.ts", 1 * kFrame, 0},
      {"clip-h264-annexb.ts", 24 * kFrame, 0},
      {"clip-h264-annexb.ts", 25 * kFrame, 25 * kFrame},
      {"clip-h264-annexb.ts", 26 * kFrame, 25 * kFrame},
      {"clip-h264-annexb.ts", 49 * kFrame, 25 * kFrame},
  };
  for (const Seek &c : cases) {
    MediaFile file;
    ASSERT_EQ(file.Open(ClipPath(c.clip)), 0) << c.clip;
    PacketPtr keyFrame(av_packet_alloc());
    ASSERT_EQ(SeekToKeyFrame(file, 0, c.position, keyFrame.get()), 0) << c.clip << " at " << c.position;
    EXPECT_TRUE(keyFrame->flags & AV_PKT_FLAG_KEY) << c.clip << " at " << c.position;
    EXPECT_EQ(file.FileTimeOf(*keyFrame), c.keyFrame) << c.clip << " at " << c.position;
    // Reading goes on with the frame decoded after the key frame.
    PacketPtr next(av_packet_alloc());
    ASSERT_EQ(file.ReadPacket(next.get()), 0) << c.clip << " at " << c.position;
    EXPECT_GT(next->dts, keyFrame->dts) << c.clip << " at " << c.position;
  }
}

TEST(KeyFrameSeek, APositionBeyondTheEndFindsTheLastKeyFrame) {
  MediaFile file;
  ASSERT_EQ(file.Open(ClipPath("clip-h264-annexb.ts")), 0);
  PacketPtr keyFrame(av_packet_alloc());
  ASSERT_EQ(SeekToKeyFrame(file, 0, 10 * AV_TIME_BASE, keyFrame.get()), 0);
  EXPECT_EQ(file.FileTimeOf(*keyFrame), 25 * kFrame);
}

}  // namespace
}  // namespace ffmpeg_testing
