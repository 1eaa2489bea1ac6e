// The graph manager's states, run unclocked: Pause and Run with S_FALSE
// and VFW_S_STATE_INTERMEDIATE, EC_PAUSED, one EC_COMPLETE for all
// renderers, the order of state changes, a mid-stream format change,
// flushing, and releasing a running graph.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "graph_test_fixture.h"
#include "media/graph_topology.h"

namespace {

using media_testing::CComPtr;
using media_testing::GraphTest;
using media_testing::NumberedSource;
using media_testing::PassThroughTransform;
using media_testing::RecordingRenderer;
using test_filters::AudioType;
using test_filters::VideoType;

std::vector<DWORD> Numbers(DWORD first, DWORD count) {
  std::vector<DWORD> numbers;
  for (DWORD i = 0; i < count; ++i) numbers.push_back(first + i);
  return numbers;
}

TEST_F(GraphTest, APauseCompletesWhenTheRendererHasItsFirstFrame) {
  const Line line = BuildLine(5);
  line.source->CloseGate();
  EXPECT_HR(S_FALSE, control_->Pause());
  OAFilterState state = State_Stopped;
  EXPECT_HR(VFW_S_STATE_INTERMEDIATE, control_->GetState(20, &state));
  EXPECT_EQ(state, State_Paused);
  EXPECT_EQ(TakeEvents(), std::vector<LONG>{}) << "no EC_PAUSED before the pause completes";

  line.source->OpenGate();
  EXPECT_TRUE(media_testing::WaitForEvent(events_, EC_PAUSED));
  EXPECT_HR(S_OK, control_->GetState(0, &state));
  EXPECT_EQ(state, State_Paused);
  EXPECT_TRUE(line.renderer->Record().frames.empty()) << "a paused renderer holds its first frame";
  control_->Stop();
}

TEST_F(GraphTest, APauseWithNothingToWaitForCompletesAtOnce) {
  AddRenderer(MEDIATYPE_Video);  // not connected: nothing will come
  EXPECT_HR(S_OK, control_->Pause());
  EXPECT_EQ(TakeEvents(), std::vector<LONG>{EC_PAUSED});
  EXPECT_HR(S_OK, control_->Stop());
}

TEST_F(GraphTest, RunFromStoppedPausesFirstAndDeliversEveryFrame) {
  const Line line = BuildLine(20);
  line.source->CloseGate();
  EXPECT_HR(S_FALSE, control_->Run()) << "the renderer has not had a frame yet";
  line.source->OpenGate();
  ASSERT_TRUE(media_testing::WaitForEvent(events_, EC_COMPLETE));
  EXPECT_EQ(line.renderer->Record().frames, Numbers(0, 20));
  OAFilterState state = State_Stopped;
  EXPECT_HR(S_OK, control_->GetState(0, &state));
  EXPECT_EQ(state, State_Running);
  EXPECT_HR(S_OK, control_->Stop());
  EXPECT_HR(S_OK, control_->GetState(0, &state));
  EXPECT_EQ(state, State_Stopped);
}

TEST_F(GraphTest, PausingARunningGraphAndRunningItAgain) {
  const Line line = BuildLine(1000);
  control_->Run();
  ASSERT_TRUE(line.renderer->WaitForFrames(10));
  control_->Pause();
  ASSERT_TRUE(media_testing::WaitForEvent(events_, EC_PAUSED));
  control_->Run();
  ASSERT_TRUE(media_testing::WaitForEvent(events_, EC_COMPLETE));
  EXPECT_EQ(line.renderer->Record().frames, Numbers(0, 1000));
  control_->Stop();
}

TEST_F(GraphTest, OneCompletionOnceBothRenderersOfATwoStreamGraphFinish) {
  NumberedSource *source = AddSource({{VideoType(8, 8), 30}, {AudioType(), 50}});
  PassThroughTransform *transform = AddTransform();
  RecordingRenderer *video = AddRenderer(MEDIATYPE_Video, L"Video");
  RecordingRenderer *audio = AddRenderer(MEDIATYPE_Audio, L"Audio");
  ASSERT_HR(S_OK, graph_->ConnectDirect(source->Output(0), transform->Input(), nullptr));
  ASSERT_HR(S_OK, graph_->ConnectDirect(transform->Output(), video->Input(), nullptr));
  ASSERT_HR(S_OK, graph_->ConnectDirect(source->Output(1), audio->Input(), nullptr));

  control_->Run();
  ASSERT_TRUE(media_testing::WaitForEvent(events_, EC_COMPLETE));
  EXPECT_EQ(video->Record().frames, Numbers(0, 30));
  EXPECT_EQ(audio->Record().frames, Numbers(0, 50));
  EXPECT_EQ(TakeEvents(), std::vector<LONG>{}) << "one EC_COMPLETE for the graph";
  control_->Stop();
}

TEST_F(GraphTest, WithoutDefaultHandlingEachRendererCompletesOnItsOwn) {
  NumberedSource *source = AddSource({{VideoType(8, 8), 3}, {AudioType(), 3}});
  RecordingRenderer *video = AddRenderer(MEDIATYPE_Video, L"Video");
  RecordingRenderer *audio = AddRenderer(MEDIATYPE_Audio, L"Audio");
  graph_->ConnectDirect(source->Output(0), video->Input(), nullptr);
  graph_->ConnectDirect(source->Output(1), audio->Input(), nullptr);
  ASSERT_HR(S_OK, events_->CancelDefaultHandling(EC_COMPLETE));

  control_->Run();
  std::vector<LONG_PTR> senders;
  LONG code = 0;
  LONG_PTR param1 = 0, param2 = 0;
  while (senders.size() < 2 && events_->GetEvent(&code, &param1, &param2, 10000) == S_OK) {
    if (code == EC_COMPLETE) senders.push_back(param2);
  }
  std::sort(senders.begin(), senders.end());
  std::vector<LONG_PTR> expected{reinterpret_cast<LONG_PTR>(static_cast<IBaseFilter *>(video)),
                                 reinterpret_cast<LONG_PTR>(static_cast<IBaseFilter *>(audio))};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(senders, expected);
  control_->Stop();
}

TEST_F(GraphTest, StateChangesReachRenderersFirstAndSourcesLast) {
  NumberedSource *source = AddSource({{VideoType(8, 8), 1}, {AudioType(), 1}}, L"Source");
  RecordingRenderer *audio = AddRenderer(MEDIATYPE_Audio, L"Audio");
  PassThroughTransform *transform = AddTransform(L"Transform");
  RecordingRenderer *video = AddRenderer(MEDIATYPE_Video, L"Video");
  graph_->ConnectDirect(source->Output(0), transform->Input(), nullptr);
  graph_->ConnectDirect(transform->Output(), video->Input(), nullptr);
  graph_->ConnectDirect(source->Output(1), audio->Input(), nullptr);

  std::vector<platform::com::ComPtr<IBaseFilter>> filters;
  for (IBaseFilter *filter : std::vector<IBaseFilter *>{source, audio, transform, video}) filters.emplace_back(filter);
  auto position = [order = platform::media::DownstreamFirst(filters)](IBaseFilter *filter) {
    return std::find_if(order.begin(), order.end(), [&](const auto &f) { return f.Get() == filter; }) - order.begin();
  };
  EXPECT_LT(position(video), position(transform));
  EXPECT_LT(position(transform), position(source));
  EXPECT_LT(position(audio), position(source));
  EXPECT_EQ(platform::media::ConnectedRenderers(filters).size(), 2u);
}

TEST_F(GraphTest, AMidStreamFormatChangeIsAcceptedByTheRenderer) {
  const Line line = BuildLine(10, 5);
  control_->Run();
  ASSERT_TRUE(media_testing::WaitForEvent(events_, EC_COMPLETE));
  EXPECT_HR(S_OK, line.source->SwitchResult());
  const test_filters::Recorded record = line.renderer->Record();
  EXPECT_EQ(record.frames, Numbers(0, 10));
  EXPECT_EQ(record.frameWidths, (std::vector<LONG>{8, 8, 8, 8, 8, 16, 16, 16, 16, 16}));
  AM_MEDIA_TYPE type{};
  line.transform->Output()->ConnectionMediaType(&type);
  EXPECT_EQ(test_filters::WidthOf(type), 16) << "the transform's output follows its input";
  platform::media::FreeMediaType(type);
  control_->Stop();
}

TEST_F(GraphTest, AFormatTheRendererRefusesStopsTheStreamWithAnError) {
  const Line line = BuildLine(10, 5, 16);
  control_->Run();
  LONG code = 0;
  LONG_PTR param1 = 0, param2 = 0;
  ASSERT_HR(S_OK, events_->GetEvent(&code, &param1, &param2, 10000));
  EXPECT_EQ(code, EC_ERRORABORT);
  EXPECT_HR(VFW_E_INVALIDMEDIATYPE, static_cast<HRESULT>(param1));
  EXPECT_EQ(line.renderer->Record().frames, Numbers(0, 5));
  control_->Stop();
}

TEST_F(GraphTest, ASegmentTravelsDownstreamBeforeTheFrames) {
  const Line line = BuildLine(4);
  control_->Run();
  ASSERT_TRUE(media_testing::WaitForEvent(events_, EC_COMPLETE));
  const platform::media::Segment segment = line.renderer->Record().segment;
  EXPECT_EQ(segment.start, 0);
  EXPECT_EQ(segment.stop, 4 * test_filters::kFrameDuration);
  EXPECT_EQ(segment.rate, 1.0);
  control_->Stop();
}

// A flush drops the frame a paused renderer holds and what comes during the
// flush; the pause completes again with a frame sent after it. (The gate
// holds the source back during the flush: a flush is followed by new data,
// as after a seek.)
TEST_F(GraphTest, AFlushDropsTheHeldFrame) {
  const Line line = BuildLine(50);
  control_->Pause();
  ASSERT_TRUE(media_testing::WaitForEvent(events_, EC_PAUSED));
  line.source->CloseGate();
  EXPECT_HR(S_OK, line.transform->Input()->BeginFlush());
  EXPECT_HR(S_OK, line.transform->Input()->EndFlush());
  line.source->OpenGate();
  OAFilterState state = State_Stopped;
  EXPECT_HR(S_OK, control_->GetState(10000, &state));
  control_->Run();
  ASSERT_TRUE(media_testing::WaitForEvent(events_, EC_COMPLETE));
  const std::vector<DWORD> frames = line.renderer->Record().frames;
  ASSERT_FALSE(frames.empty());
  EXPECT_GT(frames.front(), 0u);
  EXPECT_TRUE(std::is_sorted(frames.begin(), frames.end()));
  EXPECT_EQ(frames.back(), 49u);
  control_->Stop();
}

TEST_F(GraphTest, StoppingWhileARendererHoldsAFrameReturns) {
  const Line line = BuildLine(50);
  control_->Pause();
  ASSERT_TRUE(media_testing::WaitForEvent(events_, EC_PAUSED));
  EXPECT_HR(S_OK, control_->Stop());
  EXPECT_TRUE(line.renderer->Record().frames.empty());
}

TEST_F(GraphTest, ReleasingARunningGraphStopsIt) {
  const Line line = BuildLine(1000000);
  control_->Run();
  ASSERT_TRUE(line.renderer->WaitForFrames(10));
  control_.Release();
  events_.Release();
  graph_.Release();
  const size_t rendered = line.renderer->Record().frames.size();
  EXPECT_EQ(line.renderer->State(), State_Stopped);
  EXPECT_EQ(line.source->State(), State_Stopped);
  EXPECT_EQ(line.renderer->Record().frames.size(), rendered) << "no frame after the release returned";
  EXPECT_LT(rendered, 1000000u);
}

// A renderer that looks its graph up as it stops, as filters may.
class AsksForItsGraphWhenStopping final : public platform::media::RendererFilter {
 public:
  AsksForItsGraphWhenStopping() : RendererFilter(CLSID{}) {}
  HRESULT STDMETHODCALLTYPE Stop() override {
    FILTER_INFO info{};
    QueryFilterInfo(&info);
    if (info.pGraph) info.pGraph->Release();
    return RendererFilter::Stop();
  }

 private:
  HRESULT CheckMediaType(const AM_MEDIA_TYPE &) override { return S_OK; }
  HRESULT DoRenderSample(IMediaSample *) override { return S_OK; }
};

TEST_F(GraphTest, ReleasingAPausedGraphWhoseFilterCallsItWhileStopping) {
  AsksForItsGraphWhenStopping *filter = Keep(new AsksForItsGraphWhenStopping());
  graph_->AddFilter(filter, L"Asks");
  EXPECT_HR(S_OK, control_->Pause());
  control_.Release();
  events_.Release();
  graph_.Release();  // the sanitizer build checks the graph goes once
  EXPECT_EQ(filter->State(), State_Stopped);
}

}  // namespace
