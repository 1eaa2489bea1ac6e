// The graph manager's reference clock: the default one it takes, which
// filter's clock it prefers, handing it to the filters, and presenting
// samples at their stream time: in order, never early, and a wait for a
// sample's time that a stop or a pause ends at once.
#include <gtest/gtest.h>

#include <vector>

#include "graph_test_fixture.h"

namespace {

using media_testing::CComPtr;
using media_testing::CComQIPtr;
using media_testing::GraphTest;
using media_testing::NumberedSource;
using media_testing::RecordingRenderer;

constexpr REFERENCE_TIME kHour = 3600 * REFERENCE_TIME{10000000};

CComPtr<IReferenceClock> CreateSystemClock() {
  CComPtr<IReferenceClock> clock;
  platform::com::FindBuiltinClass(CLSID_SystemClock)->create(nullptr, IID_IReferenceClock,
                                                              reinterpret_cast<void **>(&clock));
  return clock;
}

CComPtr<IReferenceClock> SyncSourceOf(IMediaFilter *filter) {
  CComPtr<IReferenceClock> clock;
  filter->GetSyncSource(&clock);
  return clock;
}

CComPtr<IReferenceClock> SyncSourceOf(IGraphBuilder *graph) { return SyncSourceOf(CComQIPtr<IMediaFilter>(graph)); }

// Two interfaces are of one object when their IUnknowns are the same.
bool SameObject(IUnknown *a, IUnknown *b) {
  CComPtr<IUnknown> first, second;
  if (!a || !b || FAILED(a->QueryInterface(IID_IUnknown, reinterpret_cast<void **>(&first)))) return false;
  return SUCCEEDED(b->QueryInterface(IID_IUnknown, reinterpret_cast<void **>(&second))) && first == second;
}

// A filter that is its own clock, reading the system clock: with an input
// pin and no output pin it is a renderer; without pins it is not.
template <typename Base>
class OwnClock : public Base, public IReferenceClock {
 public:
  using Base::Base;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
    if (!ppv || !IsEqualIID(riid, IID_IReferenceClock)) return Base::QueryInterface(riid, ppv);
    *ppv = static_cast<IReferenceClock *>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return Base::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return Base::Release(); }
  HRESULT STDMETHODCALLTYPE GetTime(REFERENCE_TIME *pTime) override { return m_time->GetTime(pTime); }
  HRESULT STDMETHODCALLTYPE AdviseTime(REFERENCE_TIME, REFERENCE_TIME, HEVENT, DWORD_PTR *) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE AdvisePeriodic(REFERENCE_TIME, REFERENCE_TIME, HSEMAPHORE, DWORD_PTR *) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD_PTR) override { return S_FALSE; }

 private:
  CComPtr<IReferenceClock> m_time = CreateSystemClock();
};

class PinlessFilter : public platform::media::BaseFilter {
 public:
  PinlessFilter() : BaseFilter(CLSID{}) {}
};

class NullRenderer : public platform::media::RendererFilter {
 public:
  NullRenderer() : RendererFilter(CLSID{}) {}

 private:
  HRESULT CheckMediaType(const AM_MEDIA_TYPE &) override { return S_OK; }
  HRESULT DoRenderSample(IMediaSample *) override { return S_OK; }
};

using ClockedFilter = OwnClock<PinlessFilter>;
using ClockedRenderer = OwnClock<NullRenderer>;

class GraphClockTest : public GraphTest {
 protected:
  // The graph and its filters on the system clock.
  CComPtr<IReferenceClock> UseSystemClock() {
    CComPtr<IReferenceClock> clock = CreateSystemClock();
    EXPECT_HR(S_OK, CComQIPtr<IMediaFilter>(graph_)->SetSyncSource(clock));
    return clock;
  }
};

TEST_F(GraphClockTest, AGraphNeverGivenAClockTakesTheSystemClockAsItFirstPauses) {
  CComPtr<IGraphBuilder> graph = media_testing::CreateGraph();
  RecordingRenderer *renderer = Keep(RecordingRenderer::Create(MEDIATYPE_Video));
  ASSERT_HR(S_OK, graph->AddFilter(renderer, L"Renderer"));
  EXPECT_FALSE(SyncSourceOf(graph)) << "no clock before the first pause";

  CComQIPtr<IMediaControl> control(graph);
  EXPECT_HR(S_OK, control->Pause());
  CComPtr<IReferenceClock> clock = SyncSourceOf(graph);
  ASSERT_TRUE(clock);
  REFERENCE_TIME now = 0;
  EXPECT_TRUE(SUCCEEDED(clock->GetTime(&now)));
  EXPECT_TRUE(SameObject(SyncSourceOf(renderer), clock)) << "the filters have the graph's clock";
  control->Stop();
}

// Stream time starts at 0 with the run, on the clock just taken: every
// frame is presented at its time, none an hour late.
TEST_F(GraphClockTest, AGraphNeverGivenAClockRunsOnTheDefaultOneFromStreamTimeZero) {
  CComPtr<IGraphBuilder> graph = media_testing::CreateGraph();
  NumberedSource *source = Keep(NumberedSource::Create({{test_filters::VideoType(8, 8), 3}}));
  RecordingRenderer *renderer = Keep(RecordingRenderer::Create(MEDIATYPE_Video));
  ASSERT_HR(S_OK, graph->AddFilter(source, L"Source"));
  ASSERT_HR(S_OK, graph->AddFilter(renderer, L"Renderer"));
  ASSERT_HR(S_OK, graph->ConnectDirect(source->Output(0), renderer->Input(), nullptr));

  CComQIPtr<IMediaControl> control(graph);
  control->Run();
  ASSERT_TRUE(media_testing::WaitForEvent(CComQIPtr<IMediaEvent>(graph), EC_COMPLETE));
  const test_filters::Recorded record = renderer->Record();
  EXPECT_EQ(record.frames, (std::vector<DWORD>{0, 1, 2}));
  ASSERT_EQ(record.presentedAt.size(), 3u) << "presented on a clock";
  for (size_t i = 0; i < record.starts.size(); ++i) {
    EXPECT_GE(record.presentedAt[i], record.starts[i]) << "frame " << i << " came early";
    EXPECT_LT(record.presentedAt[i], kHour) << "frame " << i;
  }
  control->Stop();
}

TEST_F(GraphClockTest, AGraphSetUnclockedStaysUnclocked) {
  RecordingRenderer *renderer = AddRenderer(MEDIATYPE_Video);
  EXPECT_HR(S_OK, control_->Pause());
  EXPECT_FALSE(SyncSourceOf(graph_));
  EXPECT_FALSE(SyncSourceOf(renderer));
  control_->Stop();
}

TEST_F(GraphClockTest, TheDefaultClockIsARenderersBeforeAnyOtherFilters) {
  ClockedFilter *other = Keep(new ClockedFilter());
  ClockedRenderer *renderer = Keep(new ClockedRenderer());
  ASSERT_HR(S_OK, graph_->AddFilter(other, L"Other"));
  ASSERT_HR(S_OK, graph_->AddFilter(renderer, L"Renderer"));
  ASSERT_HR(S_OK, graph_->SetDefaultSyncSource());
  EXPECT_TRUE(SameObject(SyncSourceOf(graph_), static_cast<IBaseFilter *>(renderer)));
  EXPECT_TRUE(SameObject(SyncSourceOf(other), static_cast<IBaseFilter *>(renderer)));

  ASSERT_HR(S_OK, graph_->RemoveFilter(renderer));
  EXPECT_FALSE(SyncSourceOf(graph_)) << "the clock left with its filter";
  EXPECT_FALSE(SyncSourceOf(renderer));
  ASSERT_HR(S_OK, graph_->SetDefaultSyncSource());
  EXPECT_TRUE(SameObject(SyncSourceOf(graph_), static_cast<IBaseFilter *>(other)));
}

TEST_F(GraphClockTest, WithoutAFilterClockTheDefaultIsTheSystemClock) {
  AddRenderer(MEDIATYPE_Video);
  ASSERT_HR(S_OK, graph_->SetDefaultSyncSource());
  CComPtr<IReferenceClock> clock = SyncSourceOf(graph_);
  ASSERT_TRUE(clock);
  CComQIPtr<IPersist> persist(clock);
  EXPECT_FALSE(persist) << "a clock of its own, not a filter";
}

TEST_F(GraphClockTest, TheClockChangesOnlyWhileStopped) {
  const Line line = BuildLine(1);
  line.source->CloseGate();
  control_->Pause();
  CComQIPtr<IMediaFilter> filter(graph_);
  EXPECT_HR(VFW_E_NOT_STOPPED, filter->SetSyncSource(nullptr));
  EXPECT_HR(VFW_E_NOT_STOPPED, graph_->SetDefaultSyncSource());
  control_->Stop();
  line.source->OpenGate();
}

TEST_F(GraphClockTest, AClockedRunPresentsEveryFrameInOrderAndNeverEarly) {
  UseSystemClock();
  const Line line = BuildLine(5);
  control_->Run();
  ASSERT_TRUE(media_testing::WaitForEvent(events_, EC_COMPLETE));
  const test_filters::Recorded record = line.renderer->Record();
  EXPECT_EQ(record.frames, (std::vector<DWORD>{0, 1, 2, 3, 4}));
  ASSERT_EQ(record.presentedAt.size(), record.starts.size());
  for (size_t i = 0; i < record.starts.size(); ++i) {
    EXPECT_GE(record.presentedAt[i], record.starts[i]) << "frame " << record.frames[i] << " came early";
  }
  control_->Stop();
}

TEST_F(GraphClockTest, APausedAndResumedClockedRunPresentsEveryFrame) {
  UseSystemClock();
  const Line line = BuildLine(8);
  control_->Run();
  ASSERT_TRUE(line.renderer->WaitForFrames(2));
  control_->Pause();
  ASSERT_TRUE(media_testing::WaitForEvent(events_, EC_PAUSED));
  control_->Run();
  ASSERT_TRUE(media_testing::WaitForEvent(events_, EC_COMPLETE));
  const test_filters::Recorded record = line.renderer->Record();
  EXPECT_EQ(record.frames, (std::vector<DWORD>{0, 1, 2, 3, 4, 5, 6, 7}));
  for (size_t i = 0; i < record.starts.size(); ++i) {
    EXPECT_GE(record.presentedAt[i], record.starts[i]) << "frame " << record.frames[i] << " came early";
  }
  control_->Stop();
}

// The renderer holds frame 0 while paused; running an hour from now makes
// it wait for its time, which a stop must end at once.
TEST_F(GraphClockTest, StoppingDuringAWaitForASamplesTimeReturns) {
  CComPtr<IReferenceClock> clock = UseSystemClock();
  const Line line = BuildLine(5);
  control_->Pause();
  ASSERT_TRUE(media_testing::WaitForEvent(events_, EC_PAUSED));
  REFERENCE_TIME now = 0;
  clock->GetTime(&now);
  EXPECT_TRUE(SUCCEEDED(CComQIPtr<IMediaFilter>(graph_)->Run(now + kHour)));
  EXPECT_HR(S_OK, control_->Stop());
  EXPECT_TRUE(line.renderer->Record().frames.empty());
}

TEST_F(GraphClockTest, PausingDuringAWaitForASamplesTimeHoldsTheSample) {
  CComPtr<IReferenceClock> clock = UseSystemClock();
  const Line line = BuildLine(5);
  REFERENCE_TIME now = 0;
  clock->GetTime(&now);
  EXPECT_TRUE(SUCCEEDED(CComQIPtr<IMediaFilter>(graph_)->Run(now + kHour)));
  OAFilterState state = State_Stopped;
  ASSERT_HR(S_OK, control_->GetState(10000, &state));
  EXPECT_EQ(state, State_Running);
  control_->Pause();
  EXPECT_HR(S_OK, control_->GetState(10000, &state));
  EXPECT_EQ(state, State_Paused);
  const test_filters::Recorded record = line.renderer->Record();
  EXPECT_TRUE(record.frames.empty());
  EXPECT_EQ(record.held, std::vector<DWORD>{0});
  control_->Stop();
}

}  // namespace
