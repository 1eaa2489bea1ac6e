// Sample times of demuxed packets.
#include "media/ffmpeg/packet_timing.h"

#include <gtest/gtest.h>

extern "C" {
#include <libavutil/avutil.h>
}

namespace platform::media::ffmpeg {
namespace {

TEST(PacketTiming, TimesAreHundredsOfNanosecondsFromTheOrigin) {
  struct Case {
    const char *name;
    int64_t pts, dts, duration;
    AVRational timeBase;
    int64_t origin;
    REFERENCE_TIME start;
    std::optional<REFERENCE_TIME> stop;
  };
  const Case cases[] = {
      {"MP4 frame", 512, 0, 512, {1, 12800}, 0, 400000, 800000},
      {"MPEG-TS frame after the file's start", 133200 + 3600, 0, 3600, {1, 90000}, 133200, 400000, 800000},
      {"AAC frame", 48000, 47000, 1024, {1, 48000}, 0, 10000000, 10213333},
      {"no presentation time: the decoding time", AV_NOPTS_VALUE, 1024, 512, {1, 12800}, 0, 800000, 1200000},
      {"no duration: no stop", 256, 256, 0, {1, 12800}, 0, 200000, std::nullopt},
      {"before the origin", 0, 0, 0, {1, 1000}, 40, -400000, std::nullopt},
  };
  for (const Case &c : cases) {
    AVPacket packet{};
    packet.pts = c.pts;
    packet.dts = c.dts;
    packet.duration = c.duration;
    const auto times = PacketSampleTimes(packet, c.timeBase, c.origin);
    ASSERT_TRUE(times) << c.name;
    EXPECT_EQ(times->start, c.start) << c.name;
    EXPECT_EQ(times->stop, c.stop) << c.name;
  }
}

TEST(PacketTiming, APacketWithoutTimesHasNone) {
  AVPacket packet{};
  packet.pts = AV_NOPTS_VALUE;
  packet.dts = AV_NOPTS_VALUE;
  EXPECT_FALSE(PacketSampleTimes(packet, {1, 90000}, 0));
}

TEST(PacketTiming, TheOriginIsTheFileStartInTheStreamTimeBase) {
  EXPECT_EQ(StreamOrigin(1480000, {1, 90000}), 133200);
  EXPECT_EQ(StreamOrigin(0, {1, 12800}), 0);
  EXPECT_EQ(StreamOrigin(AV_NOPTS_VALUE, {1, 90000}), 0);
  EXPECT_EQ(ReferenceTimeOf(2000000), 20000000);
}

}  // namespace
}  // namespace platform::media::ffmpeg
