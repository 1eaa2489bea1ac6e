// Intelligent connect (IGraphBuilder::Connect, Render): direct connections,
// decoders found in the graph before registered ones, registered filters
// by merit and never below MERIT_DO_NOT_USE, chains removed again when
// they lead nowhere, and Abort.
#include <dshow.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "graph_build_fixture.h"

namespace {

using media_testing::BuildTest;
using media_testing::CComPtr;
using media_testing::Downstream;
using Names = std::vector<std::wstring>;
using namespace test_filters;

class GraphConnectTest : public BuildTest {
 protected:
  TypeConverter *AddDecoder(const CLSID &clsid, const wchar_t *name) {
    TypeConverter *decoder = Keep(TypeConverter::Create(clsid));
    EXPECT_HR(S_OK, graph_->AddFilter(decoder, name));
    return decoder;
  }
};

TEST_F(GraphConnectTest, ConnectsDirectlyWhenThePinsAgree) {
  NumberedSource *source = AddSource({{VideoType(8, 8), 5}});
  RecordingRenderer *renderer = AddRenderer(MEDIATYPE_Video);
  EXPECT_HR(S_OK, graph_->Connect(source->Output(0), renderer->Input()));
  EXPECT_EQ(FilterNames(), (Names{L"Renderer", L"Source"}));
}

TEST_F(GraphConnectTest, ConnectsThroughARegisteredDecoder) {
  NumberedSource *source = AddSource({{TestVideoType(), 5}});
  RecordingRenderer *renderer = AddRenderer(MEDIATYPE_Video);
  EXPECT_HR(S_OK, graph_->Connect(source->Output(0), renderer->Input()));
  EXPECT_EQ(Downstream(source->Output(0)), (Names{L"Test Video Decoder", L"Renderer"}));
}

TEST_F(GraphConnectTest, PrefersAFilterInTheGraphToARegisteredOneOfHigherMerit) {
  NumberedSource *source = AddSource({{TestVideoType(), 5}});
  RecordingRenderer *renderer = AddRenderer(MEDIATYPE_Video);
  AddDecoder(kOtherVideoDecoderClass, L"Decoder in the graph");
  EXPECT_HR(S_OK, graph_->Connect(source->Output(0), renderer->Input()));
  EXPECT_EQ(Downstream(source->Output(0)), (Names{L"Decoder in the graph", L"Renderer"}));
  EXPECT_EQ(FilterNames().size(), 3u) << "no registered decoder was added";
}

TEST_F(GraphConnectTest, RenderEndsInARegisteredRendererThroughADecoderOfTheGraph) {
  NumberedSource *source = AddSource({{TestVideoType(), 5}});
  AddDecoder(kOtherVideoDecoderClass, L"Decoder in the graph");
  EXPECT_HR(S_OK, graph_->Render(source->Output(0)));
  EXPECT_EQ(Downstream(source->Output(0)), (Names{L"Decoder in the graph", L"Recording Renderer"}));
}

struct MeritCase {
  const char *name;
  DWORD testDecoderMerit;
  DWORD otherDecoderMerit;
  HRESULT expected;
  Names chain;
};

TEST_F(GraphConnectTest, RenderTriesRegisteredFiltersBestMeritFirstAndNeverThoseNotToBeUsed) {
  const MeritCase cases[] = {
      {"normal before unlikely", MERIT_NORMAL, MERIT_UNLIKELY, S_OK, {L"Test Video Decoder", L"Recording Renderer"}},
      {"preferred before normal", MERIT_NORMAL, MERIT_PREFERRED, S_OK, {L"Other Video Decoder", L"Recording Renderer"}},
      {"just above do-not-use",
       MERIT_DO_NOT_USE,
       MERIT_DO_NOT_USE + 1,
       S_OK,
       {L"Other Video Decoder", L"Recording Renderer"}},
      {"both do-not-use", MERIT_DO_NOT_USE, MERIT_DO_NOT_USE, VFW_E_CANNOT_RENDER, {}},
      {"both below do-not-use", MERIT_SW_COMPRESSOR, MERIT_HW_COMPRESSOR, VFW_E_CANNOT_RENDER, {}},
  };
  for (const auto &merits : cases) {
    SetMerit(kTestVideoDecoderClass, merits.testDecoderMerit);
    SetMerit(kOtherVideoDecoderClass, merits.otherDecoderMerit);
    CComPtr<IGraphBuilder> graph = media_testing::CreateGraph();
    CComPtr<IBaseFilter> source;
    source.Attach(NumberedSource::Create({{TestVideoType(), 5}}));
    graph->AddFilter(source, L"Source");
    IPin *output = PinOf(source, L"Out0");
    EXPECT_HR(merits.expected, graph->Render(output)) << merits.name;
    EXPECT_EQ(Downstream(output), merits.chain) << merits.name;
    if (FAILED(merits.expected)) {
      EXPECT_EQ(media_testing::FilterNames(graph), Names{L"Source"}) << merits.name;
    }
  }
}

// A pass-through transform takes what it gives: every chain through it can
// be made longer, until the bound on a chain's length.
TEST_F(GraphConnectTest, ChainsThatLeadNowhereAreRemovedAgainInBoundedTime) {
  SetMerit(kPassThroughClass, MERIT_NORMAL);
  NumberedSource *source = AddSource({{TestVideoType(), 5}});
  RecordingRenderer *renderer = AddRenderer(MEDIATYPE_Audio, L"Audio renderer");
  const auto start = std::chrono::steady_clock::now();
  EXPECT_HR(VFW_E_CANNOT_CONNECT, graph_->Connect(source->Output(0), renderer->Input()));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
  EXPECT_EQ(FilterNames(), (Names{L"Audio renderer", L"Source"}));
  EXPECT_EQ(Downstream(source->Output(0)), Names{});
}

TEST_F(GraphConnectTest, RenderFailsForAStreamNothingRendersAndLeavesTheGraph) {
  NumberedSource *source =
      AddSource({{MediaType(MEDIATYPE_Text, MEDIASUBTYPE_None, FORMAT_None, nullptr, 0, sizeof(DWORD)), 5}});
  EXPECT_HR(VFW_E_CANNOT_RENDER, graph_->Render(source->Output(0)));
  EXPECT_EQ(FilterNames(), Names{L"Source"});
}

// The tee's outputs are streams of their own: both copies render, the text
// cannot, and the '~' output is left alone.
TEST_F(GraphConnectTest, RenderContinuesWithEveryOutputOfAFilterButThoseNamedWithTilde) {
  NumberedSource *source = AddSource({{VideoType(8, 8), 5}});
  SplittingTee *tee = Keep(SplittingTee::Create());
  ASSERT_HR(S_OK, graph_->AddFilter(tee, L"Tee"));
  EXPECT_HR(VFW_S_PARTIAL_RENDER, graph_->Render(source->Output(0)));
  EXPECT_EQ(Downstream(source->Output(0)), (Names{L"Tee", L"Recording Renderer"}));
  EXPECT_EQ(Downstream(tee->Output(L"video 1")), Names{L"Recording Renderer 0001"});
  EXPECT_EQ(Downstream(tee->Output(L"text")), Names{});
  EXPECT_EQ(Downstream(tee->Output(L"~preview")), Names{});
}

TEST_F(GraphConnectTest, AbortStopsTheBuildAndTheNextBuildStartsAfresh) {
  NumberedSource *source = AddSource({{VideoType(8, 8), 5}});
  SetMerit(kAbortingRendererClass, MERIT_PREFERRED + 2);
  EXPECT_HR(E_ABORT, graph_->Render(source->Output(0)));
  EXPECT_HR(S_FALSE, graph_->ShouldOperationContinue());
  EXPECT_EQ(FilterNames(), Names{L"Source"}) << "the recording renderer, next in merit, was not tried";
  SetMerit(kAbortingRendererClass, MERIT_DO_NOT_USE);
  EXPECT_HR(S_OK, graph_->Render(source->Output(0)));
  EXPECT_HR(S_OK, graph_->ShouldOperationContinue());
  EXPECT_EQ(Downstream(source->Output(0)), Names{L"Recording Renderer"});
}

TEST_F(GraphConnectTest, AnAbortBeforeABuildDoesNotStopIt) {
  NumberedSource *source = AddSource({{VideoType(8, 8), 5}});
  graph_->Abort();
  EXPECT_HR(S_FALSE, graph_->ShouldOperationContinue());
  EXPECT_HR(S_OK, graph_->Render(source->Output(0)));
}

TEST_F(GraphConnectTest, RefusesPinsItCannotBuildFrom) {
  NumberedSource *source = AddSource({{VideoType(8, 8), 5}});
  RecordingRenderer *renderer = AddRenderer(MEDIATYPE_Video);
  CComPtr<IBaseFilter> outside;
  outside.Attach(NumberedSource::Create({{VideoType(8, 8), 5}}));
  EXPECT_HR(E_POINTER, graph_->Connect(nullptr, renderer->Input()));
  EXPECT_HR(E_POINTER, graph_->Render(nullptr));
  EXPECT_HR(VFW_E_INVALID_DIRECTION, graph_->Connect(renderer->Input(), source->Output(0)));
  EXPECT_HR(VFW_E_INVALID_DIRECTION, graph_->Render(renderer->Input()));
  EXPECT_HR(VFW_E_NOT_IN_GRAPH, graph_->Render(PinOf(outside, L"Out0")));
  EXPECT_HR(VFW_E_NOT_IN_GRAPH, graph_->Connect(PinOf(outside, L"Out0"), renderer->Input()));
  ASSERT_HR(S_OK, graph_->Connect(source->Output(0), renderer->Input()));
  EXPECT_HR(VFW_E_ALREADY_CONNECTED, graph_->Render(source->Output(0)));
}

}  // namespace
