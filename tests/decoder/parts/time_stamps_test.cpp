// Time stamps of decoded pictures: passed through from the input, or
// derived on the decoder's own clock.
#include "time_stamps.h"

#include <gtest/gtest.h>

extern "C" {
#include <libavutil/frame.h>
}

#include <vector>

namespace h264decoder {
namespace {

AVFrame PictureAt(int64_t pts, int64_t duration = 0, int64_t bestEffort = AV_NOPTS_VALUE) {
  AVFrame frame{};
  frame.pts = pts;
  frame.pkt_duration = duration;
  frame.best_effort_timestamp = bestEffort;
  return frame;
}

TEST(TimeStampsTest, PassesTheInputTimesThrough) {
  const PictureTimes timed = PassedThroughTimes(PictureAt(800000, 400000));
  EXPECT_TRUE(timed.hasStart && timed.hasStop);
  EXPECT_EQ(timed.start, 800000);
  EXPECT_EQ(timed.stop, 1200000);
  const PictureTimes noStop = PassedThroughTimes(PictureAt(800000));
  EXPECT_TRUE(noStop.hasStart);
  EXPECT_FALSE(noStop.hasStop);
  const PictureTimes untimed = PassedThroughTimes(PictureAt(AV_NOPTS_VALUE, 400000));
  EXPECT_FALSE(untimed.hasStart || untimed.hasStop);
}

// Each row: the best-effort time of a picture, and the start it gets.
struct ClockStep {
  int64_t bestEffort;
  REFERENCE_TIME start;
};

struct ClockCase {
  const char *name;
  std::vector<ClockStep> steps;
};

TEST(TimeStampsTest, DerivedClockStepsOneFrameAPicture) {
  constexpr int64_t kNone = AV_NOPTS_VALUE;
  const ClockCase cases[] = {
      {"regular input", {{0, 0}, {400000, 400000}, {800000, 800000}}},
      {"jitter is smoothed", {{1000000, 1000000}, {1390000, 1400000}, {1810000, 1800000}, {2150000, 2200000}}},
      {"a gap of a frame or more is followed", {{0, 0}, {400000, 400000}, {1600000, 1600000}, {2000000, 2000000}}},
      {"missing times continue the clock", {{400000, 400000}, {kNone, 800000}, {kNone, 1200000}}},
      {"a clock without any time starts at 0", {{kNone, 0}, {kNone, 400000}}},
  };
  for (const ClockCase &known : cases) {
    DerivedClock clock;
    for (size_t i = 0; i < known.steps.size(); ++i) {
      const PictureTimes times = clock.Next(PictureAt(kNone, 0, known.steps[i].bestEffort), 400000);
      EXPECT_TRUE(times.hasStart && times.hasStop) << known.name << ", picture " << i;
      EXPECT_EQ(times.start, known.steps[i].start) << known.name << ", picture " << i;
      EXPECT_EQ(times.stop, known.steps[i].start + 400000) << known.name << ", picture " << i;
    }
  }
}

TEST(TimeStampsTest, ResetClockStartsAgainAtTheNextPicture) {
  DerivedClock clock;
  clock.Next(PictureAt(AV_NOPTS_VALUE, 0, 4000000), 400000);
  clock.Reset();
  EXPECT_EQ(clock.Next(PictureAt(AV_NOPTS_VALUE, 0, 120000), 400000).start, 120000);
}

TEST(TimeStampsTest, WithoutFrameDurationTheClockFollowsTheStampsAndGivesNoStop) {
  DerivedClock clock;
  clock.Next(PictureAt(AV_NOPTS_VALUE, 0, 0), 0);
  const PictureTimes times = clock.Next(PictureAt(AV_NOPTS_VALUE, 0, 390000), 0);
  EXPECT_EQ(times.start, 390000);
  EXPECT_FALSE(times.hasStop);
}

TEST(TimeStampsTest, PicturesEndingBeforeTheSegmentAreMarked) {
  EXPECT_TRUE((PictureTimes{true, true, -800000, -400000}).EndsBeforeSegment());
  EXPECT_TRUE((PictureTimes{true, true, -400000, 0}).EndsBeforeSegment());
  EXPECT_FALSE((PictureTimes{true, true, -200000, 200000}).EndsBeforeSegment());
  EXPECT_TRUE((PictureTimes{true, false, -1, 0}).EndsBeforeSegment());
  EXPECT_FALSE((PictureTimes{true, false, 0, 0}).EndsBeforeSegment());
  EXPECT_FALSE((PictureTimes{}).EndsBeforeSegment());
}

}  // namespace
}  // namespace h264decoder
