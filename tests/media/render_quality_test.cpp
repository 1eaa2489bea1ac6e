// The video renderer's late-picture rule and its quality figures.
#include "media/render_quality.h"

#include <gtest/gtest.h>

namespace {

using platform::media::RenderQuality;

constexpr REFERENCE_TIME kFrame = 400000;  // 40 ms
constexpr REFERENCE_TIME kMillisecond = 10000;

// Frame n of a 25 fps stream, due that late.
bool TakeFrame(RenderQuality &quality, int n, REFERENCE_TIME lateness) {
  return quality.TakeDue(n * kFrame, (n + 1) * kFrame, lateness);
}

TEST(RenderQualityTest, APictureIsDroppedOnlyOnceItsWholeDisplayTimeHasPassed) {
  RenderQuality quality;
  EXPECT_TRUE(TakeFrame(quality, 0, 0));
  EXPECT_TRUE(TakeFrame(quality, 1, kFrame - 1)) << "late, but still in its display time";
  EXPECT_FALSE(TakeFrame(quality, 2, kFrame));
  EXPECT_TRUE(quality.TakeDue(3 * kFrame, std::nullopt, 10 * kFrame)) << "no stop time: never too late";
  EXPECT_TRUE(quality.TakeDue(4 * kFrame, 4 * kFrame, 10 * kFrame)) << "no display time: never too late";
  EXPECT_EQ(quality.Read().dropped, 1);
}

TEST(RenderQualityTest, EverythingLateStillShowsOnePictureAfterTheMostDroppedInARow) {
  RenderQuality quality;
  int frame = 0;
  for (int round = 0; round < 3; ++round) {
    for (int i = 0; i < RenderQuality::kMostDroppedInARow; ++i) {
      EXPECT_FALSE(TakeFrame(quality, frame++, 5 * kFrame)) << "round " << round << ", drop " << i;
    }
    EXPECT_TRUE(TakeFrame(quality, frame++, 5 * kFrame)) << "round " << round;
  }
  EXPECT_EQ(quality.Read().dropped, 3 * RenderQuality::kMostDroppedInARow);

  quality.NewStream();
  for (int i = 0; i < RenderQuality::kMostDroppedInARow; ++i) EXPECT_FALSE(TakeFrame(quality, frame++, 5 * kFrame));
}

TEST(RenderQualityTest, FiguresOfThePicturesShown) {
  RenderQuality quality;
  const RenderQuality::Figures none = quality.Read();
  EXPECT_EQ(none.frameRate, 0);
  EXPECT_EQ(none.jitter, 0);
  EXPECT_EQ(none.syncOffset, 0);

  // Shown 10 ms and 30 ms late in turn: intervals of 60 and 20 ms.
  for (int n = 0; n < 9; ++n) {
    ASSERT_TRUE(TakeFrame(quality, n, n % 2 ? 30 * kMillisecond : 10 * kMillisecond));
    quality.CountDrawn();
  }
  const RenderQuality::Figures figures = quality.Read();
  EXPECT_EQ(figures.drawn, 9);
  EXPECT_EQ(figures.dropped, 0);
  EXPECT_EQ(figures.frameRate, 2500) << "40 ms apart on average";
  EXPECT_EQ(figures.jitter, 20);
  EXPECT_EQ(figures.syncOffset, 19) << "(5 x 10 + 4 x 30) / 9 = 18.9 ms";
  EXPECT_EQ(figures.syncOffsetDeviation, 10);

  quality.Reset();
  const RenderQuality::Figures reset = quality.Read();
  EXPECT_EQ(reset.drawn, 0);
  EXPECT_EQ(reset.frameRate, 0);
  EXPECT_EQ(reset.syncOffset, 0);
}

TEST(RenderQualityTest, TheGapBeforeANewStreamIsNotAnInterval) {
  RenderQuality quality;
  ASSERT_TRUE(TakeFrame(quality, 0, 0));
  ASSERT_TRUE(TakeFrame(quality, 1, 0));
  quality.NewStream();
  ASSERT_TRUE(TakeFrame(quality, 100, 0));
  ASSERT_TRUE(TakeFrame(quality, 101, 0));
  EXPECT_EQ(quality.Read().frameRate, 2500);
  EXPECT_EQ(quality.Read().jitter, 0);
}

}  // namespace
