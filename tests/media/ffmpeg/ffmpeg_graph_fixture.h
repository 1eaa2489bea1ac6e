// A graph manager without a clock, with the built-in FFmpeg filters on the
// generated clips: the fixture creates the filters as built-in classes,
// keeps a reference to each, and checks at the end that the graph gave
// every reference back.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media_test_support.h"
#include "sample_log_renderer.h"

namespace ffmpeg_testing {

using media_testing::CComPtr;
using media_testing::CComQIPtr;

// The path of a generated clip.
std::string ClipPath(const char *name);
// A path for a file of the test's own, in the tests' temporary folder.
std::string ScratchPath(const char *name);
std::wstring Wide(const std::string &path);

// Creates a built-in class's filter, with one reference for the caller.
IBaseFilter *CreateBuiltinFilter(const CLSID &clsid);
// The filter's pin of that name, without a reference of its own.
IPin *PinOf(IBaseFilter *filter, const wchar_t *name);
// The first media type a pin offers.
platform::media::MediaType FirstMediaType(IPin *pin);

class FilterGraphTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The source with the file loaded, in the graph.
  IBaseFilter *AddSource(const std::string &path);
  IBaseFilter *AddDecoder();
  IBaseFilter *AddVideoRenderer();
  SampleLogRenderer *AddLog(const GUID &majorType, const GUID &subtype = GUID{}, const wchar_t *name = L"Log");

  // Runs the graph until it completes or aborts, and stops it: the code of
  // the event that ended the run, 0 when none came within 30 s.
  LONG RunToEnd();
  // The graph's current position moved there (the stop left alone).
  HRESULT SetStart(REFERENCE_TIME position);
  // Pauses the graph and waits until the pause is complete.
  HRESULT PauseAndWait();

  CComPtr<IGraphBuilder> graph_;
  CComPtr<IMediaControl> control_;
  CComPtr<IMediaEvent> events_;
  CComPtr<IMediaSeeking> seeking_;

 private:
  IBaseFilter *Keep(IBaseFilter *filter, const wchar_t *name);

  std::vector<IBaseFilter *> filters_;
};

}  // namespace ffmpeg_testing
