// The graph manager's IMediaSeeking, through a transform to the source:
// media time only, duration and stop from the renderers' sources, the
// current position in each state, seeking while paused (the renderer holds
// the new position's frame), while running (a new segment that starts with
// a discontinuity and completes once more) and while stopped, and how
// SetPositions reads its flags. Unclocked throughout.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "graph_test_fixture.h"
#include "media/media_time_seeking.h"

namespace {

using media_testing::CComPtr;
using media_testing::CComQIPtr;
using media_testing::GraphTest;
using media_testing::NumberedSource;
using media_testing::RecordingRenderer;
using test_filters::kFrameDuration;
using test_filters::VideoType;

std::vector<DWORD> Numbers(DWORD first, DWORD count) {
  std::vector<DWORD> numbers;
  for (DWORD i = 0; i < count; ++i) numbers.push_back(first + i);
  return numbers;
}

REFERENCE_TIME Frame(DWORD number) { return number * kFrameDuration; }

class GraphSeekingTest : public GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    ASSERT_HR(S_OK, graph_.QueryInterface(&seeking_));
  }
  void TearDown() override {
    seeking_.Release();
    GraphTest::TearDown();
  }

  HRESULT SeekTo(REFERENCE_TIME position) {
    return seeking_->SetPositions(&position, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
  }
  REFERENCE_TIME Position() {
    LONGLONG position = -1;
    EXPECT_HR(S_OK, seeking_->GetCurrentPosition(&position));
    return position;
  }
  void PauseAndWait() {
    control_->Pause();
    ASSERT_TRUE(media_testing::WaitForEvent(events_, EC_PAUSED));
  }
  void ExpectPauseCompletes() {
    OAFilterState state = State_Stopped;
    EXPECT_HR(S_OK, control_->GetState(10000, &state));
    EXPECT_EQ(state, State_Paused);
  }
  void RunToCompletion() {
    control_->Run();
    ASSERT_TRUE(media_testing::WaitForEvent(events_, EC_COMPLETE));
  }

  CComPtr<IMediaSeeking> seeking_;
};

TEST_F(GraphSeekingTest, PositionsAreInMediaTimeOnly) {
  BuildLine(3);
  const GUID media = TIME_FORMAT_MEDIA_TIME, frame = TIME_FORMAT_FRAME;
  EXPECT_HR(S_OK, seeking_->IsFormatSupported(&media));
  EXPECT_HR(S_FALSE, seeking_->IsFormatSupported(&frame));
  EXPECT_HR(S_OK, seeking_->IsUsingTimeFormat(&media));
  EXPECT_HR(E_INVALIDARG, seeking_->SetTimeFormat(&frame));
  EXPECT_HR(S_OK, seeking_->SetTimeFormat(&media));
  GUID format = GUID_NULL;
  EXPECT_HR(S_OK, seeking_->GetTimeFormat(&format));
  EXPECT_TRUE(IsEqualGUID(format, TIME_FORMAT_MEDIA_TIME));
  EXPECT_HR(S_OK, seeking_->QueryPreferredFormat(&format));
  EXPECT_TRUE(IsEqualGUID(format, TIME_FORMAT_MEDIA_TIME));

  LONGLONG converted = 0;
  EXPECT_HR(S_OK, seeking_->ConvertTimeFormat(&converted, nullptr, 1234, &media));
  EXPECT_EQ(converted, 1234);
  EXPECT_HR(E_INVALIDARG, seeking_->ConvertTimeFormat(&converted, &frame, 1234, &media));

  control_->Pause();
  EXPECT_HR(VFW_E_WRONG_STATE, seeking_->SetTimeFormat(&media)) << "formats change only while stopped";
  control_->Stop();
}

TEST_F(GraphSeekingTest, TheNormalRateOnly) {
  BuildLine(3);
  EXPECT_HR(S_OK, seeking_->SetRate(1.0));
  EXPECT_HR(E_INVALIDARG, seeking_->SetRate(2.0));
  EXPECT_HR(E_INVALIDARG, seeking_->SetRate(0.0));
  double rate = 0;
  EXPECT_HR(S_OK, seeking_->GetRate(&rate));
  EXPECT_EQ(rate, 1.0);
  LONGLONG preroll = -1;
  EXPECT_HR(S_OK, seeking_->GetPreroll(&preroll));
  EXPECT_EQ(preroll, 0);
}

TEST_F(GraphSeekingTest, DurationStopAvailableAndCapabilitiesComeFromTheSource) {
  BuildLine(25);
  LONGLONG duration = 0, stop = 0, earliest = -1, latest = -1;
  EXPECT_HR(S_OK, seeking_->GetDuration(&duration));
  EXPECT_EQ(duration, Frame(25));
  EXPECT_HR(S_OK, seeking_->GetStopPosition(&stop));
  EXPECT_EQ(stop, Frame(25));
  EXPECT_HR(S_OK, seeking_->GetAvailable(&earliest, &latest));
  EXPECT_EQ(earliest, 0);
  EXPECT_EQ(latest, Frame(25));
  EXPECT_EQ(Position(), 0);

  const DWORD seekable = AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanSeekForwards | AM_SEEKING_CanSeekBackwards |
                         AM_SEEKING_CanGetCurrentPos | AM_SEEKING_CanGetStopPos | AM_SEEKING_CanGetDuration;
  DWORD capabilities = 0;
  EXPECT_HR(S_OK, seeking_->GetCapabilities(&capabilities));
  EXPECT_EQ(capabilities, seekable);
  DWORD asked = AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanPlayBackwards;
  EXPECT_HR(S_FALSE, seeking_->CheckCapabilities(&asked));
  EXPECT_EQ(asked, static_cast<DWORD>(AM_SEEKING_CanSeekAbsolute));
  asked = AM_SEEKING_CanPlayBackwards;
  EXPECT_HR(E_FAIL, seeking_->CheckCapabilities(&asked));
}

TEST_F(GraphSeekingTest, TheDurationIsTheLongestRenderersUpstream) {
  NumberedSource *shorter = AddSource({{VideoType(8, 8), 30}}, L"Shorter");
  NumberedSource *longer = AddSource({{VideoType(8, 8), 50}}, L"Longer");
  RecordingRenderer *first = AddRenderer(MEDIATYPE_Video, L"First");
  RecordingRenderer *second = AddRenderer(MEDIATYPE_Video, L"Second");
  ASSERT_HR(S_OK, graph_->ConnectDirect(shorter->Output(0), first->Input(), nullptr));
  ASSERT_HR(S_OK, graph_->ConnectDirect(longer->Output(0), second->Input(), nullptr));
  LONGLONG duration = 0;
  EXPECT_HR(S_OK, seeking_->GetDuration(&duration));
  EXPECT_EQ(duration, Frame(50));
}

TEST_F(GraphSeekingTest, AGraphWithNothingToSeekHasNoPositions) {
  AddRenderer(MEDIATYPE_Video);  // not connected
  DWORD capabilities = ~DWORD{0};
  EXPECT_HR(S_OK, seeking_->GetCapabilities(&capabilities));
  EXPECT_EQ(capabilities, 0u);
  LONGLONG duration = 0;
  EXPECT_HR(E_NOTIMPL, seeking_->GetDuration(&duration));
  EXPECT_HR(E_NOTIMPL, SeekTo(0));
}

TEST_F(GraphSeekingTest, ASeekWhilePausedHoldsTheFrameAtTheNewPosition) {
  const Line line = BuildLine(50);
  PauseAndWait();
  ASSERT_HR(S_OK, SeekTo(Frame(10)));
  ExpectPauseCompletes();
  EXPECT_EQ(line.renderer->Record().held, (std::vector<DWORD>{0, 10}));
  EXPECT_EQ(Position(), Frame(10));

  RunToCompletion();
  const test_filters::Recorded record = line.renderer->Record();
  EXPECT_EQ(record.frames, Numbers(10, 40)) << "no frame from before the seek";
  ASSERT_FALSE(record.starts.empty());
  EXPECT_EQ(record.starts.front(), 0) << "stream time starts again at the new position";
  EXPECT_TRUE(record.discontinuities.front());
  EXPECT_EQ(record.segment.start, Frame(10));
  EXPECT_EQ(record.segment.stop, Frame(50));
  EXPECT_EQ(record.segment.rate, 1.0);
  control_->Stop();
}

TEST_F(GraphSeekingTest, SteppingFrameByFrameWhilePaused) {
  const Line line = BuildLine(50);
  PauseAndWait();
  for (DWORD frame = 1; frame <= 5; ++frame) {
    REFERENCE_TIME position = Frame(frame);
    ASSERT_HR(S_OK, seeking_->SetPositions(&position, AM_SEEKING_AbsolutePositioning, nullptr,
                                           AM_SEEKING_NoPositioning));
    ExpectPauseCompletes();
    const test_filters::Recorded record = line.renderer->Record();
    ASSERT_FALSE(record.held.empty());
    EXPECT_EQ(record.held.back(), frame);
    EXPECT_EQ(Position(), Frame(frame));
  }
  EXPECT_TRUE(line.renderer->Record().frames.empty()) << "nothing is presented while paused";
  control_->Stop();
}

TEST_F(GraphSeekingTest, PrerollLeadsUpToTheNewPositionUnseen) {
  NumberedSource *source = AddSource({{VideoType(8, 8), 20, test_filters::kNoSwitch, test_filters::MediaType(), 10}});
  RecordingRenderer *renderer = AddRenderer(MEDIATYPE_Video);
  ASSERT_HR(S_OK, graph_->ConnectDirect(source->Output(0), renderer->Input(), nullptr));
  PauseAndWait();
  ASSERT_HR(S_OK, SeekTo(Frame(15)));
  ExpectPauseCompletes();
  EXPECT_EQ(renderer->Record().held, (std::vector<DWORD>{0, 15})) << "frames 10 to 14 are preroll";
  RunToCompletion();
  EXPECT_EQ(renderer->Record().frames, Numbers(15, 5));
  control_->Stop();
}

TEST_F(GraphSeekingTest, ASeekWhileRunningStartsANewSegmentThatCompletesOnce) {
  const Line line = BuildLine(1000000);
  control_->Run();
  ASSERT_TRUE(line.renderer->WaitForFrames(10));
  REFERENCE_TIME start = Frame(500), stop = Frame(600);
  ASSERT_HR(S_OK, seeking_->SetPositions(&start, AM_SEEKING_AbsolutePositioning, &stop,
                                         AM_SEEKING_AbsolutePositioning));
  ASSERT_TRUE(media_testing::WaitForEvent(events_, EC_COMPLETE));

  // Unclocked, the old segment may already have passed frame 500 before the
  // seek lands, so the new segment is found by the discontinuity it starts with.
  const test_filters::Recorded record = line.renderer->Record();
  const auto last_break = std::find(record.discontinuities.rbegin(), record.discontinuities.rend(), true);
  ASSERT_NE(last_break, record.discontinuities.rend());
  const auto seek = record.frames.begin() + (record.discontinuities.rend() - last_break - 1);
  EXPECT_TRUE(std::is_sorted(record.frames.begin(), seek)) << "the old segment, in order, before the seek";
  EXPECT_EQ(std::vector<DWORD>(seek, record.frames.end()), Numbers(500, 100))
      << "the new segment starts with a discontinuity and has no other";
  EXPECT_EQ(record.segment.start, Frame(500));
  EXPECT_EQ(record.segment.stop, Frame(600));
  EXPECT_EQ(Position(), Frame(600)) << "at the stop once complete";

  LONG code = 0;
  EXPECT_HR(S_OK, events_->WaitForCompletion(0, &code));
  EXPECT_EQ(code, EC_COMPLETE);
  const std::vector<LONG> later = TakeEvents();
  EXPECT_EQ(std::count(later.begin(), later.end(), EC_COMPLETE), 0) << "one EC_COMPLETE after the seek";
  control_->Stop();
}

TEST_F(GraphSeekingTest, ACompletedGraphSoughtBackPlaysAgainAndCompletesOnceMore) {
  const Line line = BuildLine(20);
  RunToCompletion();
  ASSERT_HR(S_OK, SeekTo(0));
  ASSERT_TRUE(media_testing::WaitForEvent(events_, EC_COMPLETE));
  std::vector<DWORD> twice = Numbers(0, 20);
  twice.insert(twice.end(), twice.begin(), twice.end());
  EXPECT_EQ(line.renderer->Record().frames, twice);
  const std::vector<LONG> later = TakeEvents();
  EXPECT_EQ(std::count(later.begin(), later.end(), EC_COMPLETE), 0);
  control_->Stop();
}

TEST_F(GraphSeekingTest, ASeekWhileStoppedSetsWhereTheNextRunStarts) {
  const Line line = BuildLine(20);
  ASSERT_HR(S_OK, SeekTo(Frame(15)));
  EXPECT_EQ(Position(), Frame(15));
  RunToCompletion();
  const test_filters::Recorded record = line.renderer->Record();
  EXPECT_EQ(record.frames, Numbers(15, 5));
  ASSERT_FALSE(record.discontinuities.empty());
  EXPECT_TRUE(record.discontinuities.front());
  control_->Stop();
}

TEST_F(GraphSeekingTest, StopKeepsThePositionForTheNextRun) {
  const Line line = BuildLine(20);
  PauseAndWait();
  ASSERT_HR(S_OK, SeekTo(Frame(5)));
  ExpectPauseCompletes();
  control_->Stop();
  EXPECT_EQ(Position(), Frame(5));
  RunToCompletion();
  EXPECT_EQ(line.renderer->Record().frames, Numbers(5, 15));
  control_->Stop();
}

TEST_F(GraphSeekingTest, TheCurrentPositionNeverPassesTheStop) {
  BuildLine(20);
  REFERENCE_TIME stop = Frame(8);
  ASSERT_HR(S_OK, seeking_->SetPositions(nullptr, AM_SEEKING_NoPositioning, &stop, AM_SEEKING_AbsolutePositioning));
  RunToCompletion();
  EXPECT_EQ(Position(), Frame(8));
  LONGLONG current = 0, stopped = 0;
  EXPECT_HR(S_OK, seeking_->GetPositions(&current, &stopped));
  EXPECT_EQ(current, Frame(8));
  EXPECT_EQ(stopped, Frame(8));
  control_->Stop();
}

TEST_F(GraphSeekingTest, APositionPastTheEndCompletesWithNothingToShow) {
  const Line line = BuildLine(20);
  ASSERT_HR(S_OK, SeekTo(Frame(100)));
  EXPECT_EQ(Position(), Frame(20));
  RunToCompletion();
  EXPECT_TRUE(line.renderer->Record().frames.empty());
  control_->Stop();
}

TEST_F(GraphSeekingTest, ReturnTimeGivesThePositionsReached) {
  BuildLine(20);
  REFERENCE_TIME current = Frame(3), stop = Frame(2);
  ASSERT_HR(S_OK, seeking_->SetPositions(&current, AM_SEEKING_RelativePositioning | AM_SEEKING_ReturnTime, &stop,
                                         AM_SEEKING_IncrementalPositioning | AM_SEEKING_ReturnTime));
  EXPECT_EQ(current, Frame(3));
  EXPECT_EQ(stop, Frame(5));
}

// SetPositions's flags, read against present positions of 100 (current)
// and 500 (stop).
TEST(SeekingFlags, PositionsFollowTheirFlags) {
  using platform::media::ResolvePositions;
  using platform::media::SeekPositions;
  struct Case {
    const char *name;
    LONGLONG current;
    DWORD currentFlags;
    LONGLONG stop;
    DWORD stopFlags;
    HRESULT expected;
    SeekPositions wanted;
  };
  constexpr DWORD kNone = AM_SEEKING_NoPositioning, kAbsolute = AM_SEEKING_AbsolutePositioning,
                  kRelative = AM_SEEKING_RelativePositioning, kIncremental = AM_SEEKING_IncrementalPositioning;
  const Case cases[] = {
      {"nothing moves", 7, kNone, 9, kNone, S_OK, {100, 500}},
      {"absolute current", 40, kAbsolute, 9, kNone, S_OK, {40, 500}},
      {"relative current", -30, kRelative, 9, kNone, S_OK, {70, 500}},
      {"absolute stop", 7, kNone, 300, kAbsolute, S_OK, {100, 300}},
      {"relative stop", 7, kNone, 20, kRelative, S_OK, {100, 520}},
      {"incremental stop from the new current", 40, kAbsolute, 60, kIncremental, S_OK, {40, 100}},
      {"modifiers change nothing", 40, kAbsolute | AM_SEEKING_SeekToKeyFrame | AM_SEEKING_NoFlush, 9, kNone, S_OK,
       {40, 500}},
      {"incremental current", 40, kIncremental, 9, kNone, E_INVALIDARG, {}},
  };
  for (const Case &c : cases) {
    SeekPositions wanted{-1, -1};
    EXPECT_HR(c.expected, ResolvePositions({100, 500}, &c.current, c.currentFlags, &c.stop, c.stopFlags, &wanted))
        << c.name;
    if (c.expected != S_OK) continue;
    EXPECT_EQ(wanted.current, c.wanted.current) << c.name;
    EXPECT_EQ(wanted.stop, c.wanted.stop) << c.name;
  }
}

TEST(SeekingFlags, AMovingFlagWithoutItsPositionIsAPointerError) {
  platform::media::SeekPositions wanted;
  const LONGLONG position = 5;
  EXPECT_HR(E_POINTER, platform::media::ResolvePositions({}, nullptr, AM_SEEKING_AbsolutePositioning, &position,
                                                         AM_SEEKING_NoPositioning, &wanted));
  EXPECT_HR(E_POINTER, platform::media::ResolvePositions({}, &position, AM_SEEKING_NoPositioning, nullptr,
                                                         AM_SEEKING_RelativePositioning, &wanted));
}

}  // namespace
