// The graph manager's filters and connections: names, enumeration order,
// ConnectDirect, Disconnect, Reconnect, RemoveFilter.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graph_test_fixture.h"

namespace {

using media_testing::CComPtr;
using media_testing::GraphTest;
using media_testing::NumberedSource;
using media_testing::PassThroughTransform;
using media_testing::RecordingRenderer;
using test_filters::VideoType;

std::wstring NameOf(IBaseFilter *filter) {
  FILTER_INFO info{};
  filter->QueryFilterInfo(&info);
  if (info.pGraph) info.pGraph->Release();
  return info.achName;
}

std::vector<std::wstring> Enumerated(IEnumFilters *enumerator) {
  std::vector<std::wstring> names;
  IBaseFilter *filter = nullptr;
  while (enumerator->Next(1, &filter, nullptr) == S_OK) {
    names.push_back(NameOf(filter));
    filter->Release();
  }
  return names;
}

std::vector<std::wstring> FilterNames(IFilterGraph *graph) {
  CComPtr<IEnumFilters> enumerator;
  graph->EnumFilters(&enumerator);
  return Enumerated(enumerator);
}

bool IsConnectedTo(IPin *pin, IPin *expected) {
  CComPtr<IPin> peer;
  return pin->ConnectedTo(&peer) == S_OK && peer == expected;
}

TEST_F(GraphTest, NamesAreMadeUniqueWithANumber) {
  struct Case {
    const wchar_t *asked;
    HRESULT result;
    std::wstring name;
  };
  const Case cases[] = {
      {L"Renderer", S_OK, L"Renderer"},
      {L"Renderer", VFW_S_DUPLICATE_NAME, L"Renderer 0001"},
      {L"Renderer", VFW_S_DUPLICATE_NAME, L"Renderer 0002"},
      {L"Renderer 0001", VFW_S_DUPLICATE_NAME, L"Renderer 0001 0001"},
      {nullptr, S_OK, L"0001"},
      {L"", S_OK, L"0002"},
  };
  for (const Case &c : cases) {
    IBaseFilter *renderer = Keep(RecordingRenderer::Create(MEDIATYPE_Video));
    EXPECT_HR(c.result, graph_->AddFilter(renderer, c.asked)) << "asked for " << (c.asked ? c.asked : L"(null)");
    EXPECT_EQ(NameOf(renderer), c.name);
  }
}

TEST_F(GraphTest, ALongNameIsCutToFitWithItsNumber) {
  const std::wstring longName(200, L'x');
  IBaseFilter *first = Keep(RecordingRenderer::Create(MEDIATYPE_Video));
  IBaseFilter *second = Keep(RecordingRenderer::Create(MEDIATYPE_Video));
  EXPECT_HR(S_OK, graph_->AddFilter(first, longName.c_str()));
  EXPECT_HR(VFW_S_DUPLICATE_NAME, graph_->AddFilter(second, longName.c_str()));
  EXPECT_EQ(NameOf(first), longName.substr(0, MAX_FILTER_NAME - 1));
  EXPECT_EQ(NameOf(second), longName.substr(0, MAX_FILTER_NAME - 6) + L" 0001");
}

TEST_F(GraphTest, AFilterJoinsOnceAndIsFoundByItsExactName) {
  RecordingRenderer *renderer = AddRenderer(MEDIATYPE_Video, L"Video Renderer");
  EXPECT_HR(VFW_E_DUPLICATE_NAME, graph_->AddFilter(renderer, L"Again"));
  FILTER_INFO info{};
  renderer->QueryFilterInfo(&info);
  EXPECT_TRUE(CComPtr<IFilterGraph>(info.pGraph).IsEqualObject(graph_));
  info.pGraph->Release();

  CComPtr<IBaseFilter> found;
  EXPECT_HR(S_OK, graph_->FindFilterByName(L"Video Renderer", &found));
  EXPECT_EQ(found, static_cast<IBaseFilter *>(renderer));
  CComPtr<IBaseFilter> missing;
  EXPECT_HR(VFW_E_NOT_FOUND, graph_->FindFilterByName(L"video renderer", &missing));
  EXPECT_FALSE(missing);
}

TEST_F(GraphTest, EnumerationGivesTheMostRecentFilterFirst) {
  AddSource({}, L"first");
  AddTransform(L"second");
  AddRenderer(MEDIATYPE_Video, L"third");
  EXPECT_EQ(FilterNames(graph_), (std::vector<std::wstring>{L"third", L"second", L"first"}));
}

TEST_F(GraphTest, AnEnumeratorGoesOutOfSyncWhenTheGraphChangesUntilReset) {
  AddSource({}, L"first");
  CComPtr<IEnumFilters> enumerator;
  ASSERT_HR(S_OK, graph_->EnumFilters(&enumerator));
  AddRenderer(MEDIATYPE_Video, L"second");
  IBaseFilter *filter = nullptr;
  EXPECT_HR(VFW_E_ENUM_OUT_OF_SYNC, enumerator->Next(1, &filter, nullptr));
  EXPECT_HR(S_OK, enumerator->Reset());
  EXPECT_EQ(Enumerated(enumerator), (std::vector<std::wstring>{L"second", L"first"}));
}

TEST_F(GraphTest, EnumeratorsSkipAndCloneAtTheirPosition) {
  AddSource({}, L"first");
  AddTransform(L"second");
  AddRenderer(MEDIATYPE_Video, L"third");
  CComPtr<IEnumFilters> enumerator;
  graph_->EnumFilters(&enumerator);
  EXPECT_HR(S_OK, enumerator->Skip(1));
  CComPtr<IEnumFilters> clone;
  ASSERT_HR(S_OK, enumerator->Clone(&clone));
  EXPECT_EQ(Enumerated(clone), (std::vector<std::wstring>{L"second", L"first"}));
  IBaseFilter *filters[4] = {};
  ULONG fetched = 0;
  EXPECT_HR(S_FALSE, enumerator->Next(4, filters, &fetched));
  EXPECT_EQ(fetched, 2u);
  for (ULONG i = 0; i < fetched; ++i) filters[i]->Release();
  EXPECT_HR(S_FALSE, enumerator->Skip(1));
}

TEST_F(GraphTest, ConnectDirectAgreesOnATypeAndConnectsBothPins) {
  const Line line = BuildLine(1);
  EXPECT_TRUE(IsConnectedTo(line.source->Output(0), line.transform->Input()));
  EXPECT_TRUE(IsConnectedTo(line.transform->Input(), line.source->Output(0)));
  EXPECT_TRUE(IsConnectedTo(line.renderer->Input(), line.transform->Output()));
  AM_MEDIA_TYPE type{};
  ASSERT_HR(S_OK, line.renderer->Input()->ConnectionMediaType(&type));
  EXPECT_TRUE(platform::media::IsSameMediaType(type, VideoType(8, 8).Get()));
  platform::media::FreeMediaType(type);
}

TEST_F(GraphTest, ConnectDirectRefusals) {
  NumberedSource *source = AddSource({{VideoType(8, 8), 1}});
  PassThroughTransform *transform = AddTransform();
  RecordingRenderer *renderer = AddRenderer(MEDIATYPE_Video, L"Renderer", 8);
  RecordingRenderer *outside = Keep(RecordingRenderer::Create(MEDIATYPE_Video));

  EXPECT_HR(VFW_E_INVALID_DIRECTION, graph_->ConnectDirect(transform->Input(), source->Output(0), nullptr));
  EXPECT_HR(VFW_E_NOT_IN_GRAPH, graph_->ConnectDirect(source->Output(0), outside->Input(), nullptr));
  EXPECT_HR(VFW_E_NO_ACCEPTABLE_TYPES, graph_->ConnectDirect(transform->Output(), renderer->Input(), nullptr))
      << "a transform offers no output before its input is connected";
  EXPECT_HR(VFW_E_NO_ACCEPTABLE_TYPES, graph_->ConnectDirect(source->Output(0), renderer->Input(), nullptr))
      << "the renderer refuses frames 8 wide";
  const platform::media::MediaType refused = VideoType(8, 8);
  EXPECT_HR(VFW_E_TYPE_NOT_ACCEPTED, graph_->ConnectDirect(source->Output(0), renderer->Input(), &refused.Get()));
  ASSERT_HR(S_OK, graph_->ConnectDirect(source->Output(0), transform->Input(), nullptr));
  EXPECT_HR(VFW_E_ALREADY_CONNECTED, graph_->ConnectDirect(source->Output(0), transform->Input(), nullptr));
}

TEST_F(GraphTest, APartlyGivenTypeChoosesAmongTheOfferedTypes) {
  NumberedSource *source =
      AddSource({{VideoType(8, 8), 1, test_filters::kNoSwitch, VideoType(16, 8)}});  // offers both sizes
  RecordingRenderer *renderer = AddRenderer(MEDIATYPE_Video);
  const platform::media::MediaType wide = VideoType(16, 8);
  const platform::media::MediaType pattern(MEDIATYPE_Video, GUID{}, GUID{}, wide->pbFormat, wide->cbFormat);
  ASSERT_HR(S_OK, graph_->ConnectDirect(source->Output(0), renderer->Input(), &pattern.Get()));
  AM_MEDIA_TYPE type{};
  source->Output(0)->ConnectionMediaType(&type);
  EXPECT_EQ(test_filters::WidthOf(type), 16);
  platform::media::FreeMediaType(type);
}

TEST_F(GraphTest, DisconnectBreaksOnlyTheGivenSide) {
  const Line line = BuildLine(1);
  EXPECT_HR(S_OK, graph_->Disconnect(line.renderer->Input()));
  EXPECT_HR(S_FALSE, graph_->Disconnect(line.renderer->Input()));
  EXPECT_TRUE(IsConnectedTo(line.transform->Output(), line.renderer->Input()));
  EXPECT_HR(S_OK, graph_->Disconnect(line.transform->Output()));
  CComPtr<IPin> none;
  EXPECT_HR(VFW_E_NOT_CONNECTED, line.transform->Output()->ConnectedTo(&none));
  AM_MEDIA_TYPE type{};
  type.majortype = MEDIATYPE_Audio;
  EXPECT_HR(VFW_E_NOT_CONNECTED, line.transform->Output()->ConnectionMediaType(&type));
  EXPECT_TRUE(IsEqualGUID(type.majortype, GUID{})) << "the type is zeroed";
}

TEST_F(GraphTest, ReconnectMakesTheSameConnectionAgain) {
  const Line line = BuildLine(1);
  EXPECT_HR(S_OK, graph_->Reconnect(line.renderer->Input()));
  EXPECT_TRUE(IsConnectedTo(line.transform->Output(), line.renderer->Input()));
  EXPECT_TRUE(IsConnectedTo(line.renderer->Input(), line.transform->Output()));
  graph_->Disconnect(line.renderer->Input());
  graph_->Disconnect(line.transform->Output());
  EXPECT_HR(VFW_E_NOT_CONNECTED, graph_->Reconnect(line.renderer->Input()));
}

TEST_F(GraphTest, ConnectionsChangeOnlyWhileStopped) {
  const Line line = BuildLine(1);
  line.source->CloseGate();
  control_->Pause();
  EXPECT_HR(VFW_E_NOT_STOPPED, graph_->Disconnect(line.renderer->Input()));
  EXPECT_HR(VFW_E_NOT_STOPPED, graph_->Reconnect(line.renderer->Input()));
  EXPECT_HR(VFW_E_NOT_STOPPED, graph_->ConnectDirect(line.transform->Output(), line.renderer->Input(), nullptr));
  control_->Stop();
  line.source->OpenGate();
}

TEST_F(GraphTest, RemoveFilterBreaksItsConnectionsAndLetsItGo) {
  const Line line = BuildLine(1);
  EXPECT_HR(S_OK, graph_->RemoveFilter(line.transform));
  CComPtr<IPin> peer;
  EXPECT_HR(VFW_E_NOT_CONNECTED, line.source->Output(0)->ConnectedTo(&peer));
  EXPECT_HR(VFW_E_NOT_CONNECTED, line.renderer->Input()->ConnectedTo(&peer));
  FILTER_INFO info{};
  line.transform->QueryFilterInfo(&info);
  EXPECT_EQ(info.pGraph, nullptr);
  EXPECT_EQ(media_testing::ReferencesOf(line.transform), 1u);
  EXPECT_HR(VFW_E_NOT_FOUND, graph_->RemoveFilter(line.transform));
  EXPECT_EQ(FilterNames(graph_), (std::vector<std::wstring>{L"Renderer", L"Source"}));
}

TEST_F(GraphTest, PinsDescribeThemselves) {
  const Line line = BuildLine(1);
  PIN_INFO info{};
  ASSERT_HR(S_OK, line.transform->Output()->QueryPinInfo(&info));
  EXPECT_EQ(info.pFilter, static_cast<IBaseFilter *>(line.transform));
  EXPECT_EQ(info.dir, PINDIR_OUTPUT);
  EXPECT_STREQ(info.achName, L"Out");
  info.pFilter->Release();
  LPWSTR id = nullptr;
  ASSERT_HR(S_OK, line.transform->Output()->QueryId(&id));
  EXPECT_STREQ(id, L"Out");
  CoTaskMemFree(id);
  CComPtr<IPin> found;
  EXPECT_HR(VFW_E_NOT_FOUND, line.transform->FindPin(L"Missing", &found));
  const platform::media::MediaType video = VideoType(8, 8);
  const platform::media::MediaType audio = test_filters::AudioType();
  EXPECT_HR(S_OK, line.renderer->Input()->QueryAccept(&video.Get()));
  EXPECT_HR(S_FALSE, line.renderer->Input()->QueryAccept(&audio.Get()));
}

TEST_F(GraphTest, PinsEnumerateTheirPreferredTypes) {
  const Line line = BuildLine(1);
  CComPtr<IEnumMediaTypes> types;
  ASSERT_HR(S_OK, line.source->Output(0)->EnumMediaTypes(&types));
  AM_MEDIA_TYPE *offered[3] = {};
  ULONG fetched = 0;
  EXPECT_HR(S_FALSE, types->Next(3, offered, &fetched));
  ASSERT_EQ(fetched, 2u);
  EXPECT_EQ(test_filters::WidthOf(*offered[0]), 8);
  EXPECT_EQ(test_filters::WidthOf(*offered[1]), 16);
  for (ULONG i = 0; i < fetched; ++i) platform::media::DeleteMediaType(offered[i]);

  CComPtr<IEnumMediaTypes> none;
  ASSERT_HR(S_OK, line.renderer->Input()->EnumMediaTypes(&none));
  EXPECT_HR(S_FALSE, none->Next(1, offered, nullptr));
}

}  // namespace
