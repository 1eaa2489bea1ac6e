// A graph manager with test filters: the fixture creates the graph, keeps a
// reference to every test filter it makes, and checks at the end that the
// graph gave every reference back (a pin's references are its filter's).
// The graph runs unclocked, as fast as its filters go: tests check what
// arrives, never how long it takes.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media_test_support.h"
#include "test_filters.h"

namespace media_testing {

using test_filters::NumberedSource;
using test_filters::PassThroughTransform;
using test_filters::RecordingRenderer;
using test_filters::Stream;

class GraphTest : public ::testing::Test {
 protected:
  void SetUp() override {
    graph_ = CreateGraph();
    ASSERT_TRUE(graph_);
    ASSERT_HR(S_OK, graph_.QueryInterface(&control_));
    ASSERT_HR(S_OK, graph_.QueryInterface(&events_));
    CComQIPtr<IMediaFilter> unclocked(graph_);
    ASSERT_HR(S_OK, unclocked->SetSyncSource(nullptr));
  }

  void TearDown() override {
    control_.Release();
    events_.Release();
    graph_.Release();
    for (IBaseFilter *filter : filters_) {
      EXPECT_EQ(ReferencesOf(filter), 1u) << "a filter kept a reference after the graph went";
      filter->Release();
    }
  }

  template <typename Filter>
  Filter *Keep(Filter *filter) {
    filters_.push_back(filter);
    return filter;
  }

  NumberedSource *AddSource(std::vector<Stream> streams, const wchar_t *name = L"Source") {
    return Added(Keep(NumberedSource::Create(std::move(streams))), name);
  }
  PassThroughTransform *AddTransform(const wchar_t *name = L"Transform") {
    return Added(Keep(PassThroughTransform::Create()), name);
  }
  RecordingRenderer *AddRenderer(const GUID &majorType, const wchar_t *name = L"Renderer", LONG refusedWidth = -1) {
    return Added(Keep(RecordingRenderer::Create(majorType, refusedWidth)), name);
  }

  // Source -> transform -> renderer, with a stream of frames 8 pixels wide.
  struct Line {
    NumberedSource *source;
    PassThroughTransform *transform;
    RecordingRenderer *renderer;
  };
  Line BuildLine(DWORD frames, DWORD switchAt = test_filters::kNoSwitch, LONG refusedWidth = -1) {
    Line line{AddSource({{test_filters::VideoType(8, 8), frames, switchAt, test_filters::VideoType(16, 8)}}),
              AddTransform(), AddRenderer(MEDIATYPE_Video, L"Renderer", refusedWidth)};
    EXPECT_HR(S_OK, graph_->ConnectDirect(line.source->Output(0), line.transform->Input(), nullptr));
    EXPECT_HR(S_OK, graph_->ConnectDirect(line.transform->Output(), line.renderer->Input(), nullptr));
    return line;
  }

  // The codes of the events waiting now, each taken and freed.
  std::vector<LONG> TakeEvents() {
    std::vector<LONG> codes;
    LONG code = 0;
    LONG_PTR param1 = 0, param2 = 0;
    while (events_->GetEvent(&code, &param1, &param2, 0) == S_OK) {
      codes.push_back(code);
      events_->FreeEventParams(code, param1, param2);
    }
    return codes;
  }

  CComPtr<IGraphBuilder> graph_;
  CComPtr<IMediaControl> control_;
  CComPtr<IMediaEventEx> events_;

 private:
  template <typename Filter>
  Filter *Added(Filter *filter, const wchar_t *name) {
    EXPECT_TRUE(SUCCEEDED(graph_->AddFilter(filter, name)));
    return filter;
  }

  std::vector<IBaseFilter *> filters_;
};

}  // namespace media_testing
