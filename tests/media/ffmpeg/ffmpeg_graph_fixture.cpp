// The graph fixture of the FFmpeg filters' tests.
#include "ffmpeg_graph_fixture.h"

#include <evcode.h>

#include <unistd.h>

#include <cstdio>
#include <string>

#include "com/builtin_classes.h"
#include "media/ffmpeg/generic_video_decoder.h"
#include "media/ffmpeg/media_file_source.h"
#include "text/utf.h"

namespace ffmpeg_testing {

std::string ClipPath(const char *name) { return std::string(QUORVEL_SAMPLES_DIR) + "/" + name; }

// The process's own, as test processes run side by side.
std::string ScratchPath(const char *name) {
  return ::testing::TempDir() + "ffmpeg-filters-" + std::to_string(getpid()) + "-" + name;
}

std::wstring Wide(const std::string &path) { return platform::text::FromUtf8(path); }

IBaseFilter *CreateBuiltinFilter(const CLSID &clsid) {
  IBaseFilter *filter = nullptr;
  const auto builtin = platform::com::FindBuiltinClass(clsid);
  if (builtin) builtin->create(nullptr, IID_IBaseFilter, reinterpret_cast<void **>(&filter));
  return filter;
}

IPin *PinOf(IBaseFilter *filter, const wchar_t *name) {
  IPin *pin = nullptr;
  if (FAILED(filter->FindPin(name, &pin))) return nullptr;
  pin->Release();
  return pin;
}

platform::media::MediaType FirstMediaType(IPin *pin) {
  CComPtr<IEnumMediaTypes> types;
  AM_MEDIA_TYPE *first = nullptr;
  platform::media::MediaType result;
  if (SUCCEEDED(pin->EnumMediaTypes(&types)) && types->Next(1, &first, nullptr) == S_OK) {
    result = platform::media::MediaType(*first);
    platform::media::DeleteMediaType(first);
  }
  return result;
}

void FilterGraphTest::SetUp() {
  graph_ = media_testing::CreateGraph();
  ASSERT_TRUE(graph_);
  ASSERT_HR(S_OK, graph_.QueryInterface(&control_));
  ASSERT_HR(S_OK, graph_.QueryInterface(&events_));
  ASSERT_HR(S_OK, graph_.QueryInterface(&seeking_));
  // Samples are presented as they come.
  CComQIPtr<IMediaFilter> unclocked(graph_);
  ASSERT_HR(S_OK, unclocked->SetSyncSource(nullptr));
}

void FilterGraphTest::TearDown() {
  control_.Release();
  events_.Release();
  seeking_.Release();
  graph_.Release();
  for (IBaseFilter *filter : filters_) {
    EXPECT_EQ(media_testing::ReferencesOf(filter), 1u) << "a filter kept a reference after the graph went";
    filter->Release();
  }
}

IBaseFilter *FilterGraphTest::Keep(IBaseFilter *filter, const wchar_t *name) {
  if (!filter) return nullptr;
  filters_.push_back(filter);
  EXPECT_HR(S_OK, graph_->AddFilter(filter, name));
  return filter;
}

IBaseFilter *FilterGraphTest::AddSource(const std::string &path) {
  IBaseFilter *source = Keep(CreateBuiltinFilter(platform::media::ffmpeg::kMediaFileSourceClass), L"Source");
  if (!source) return nullptr;
  CComPtr<IFileSourceFilter> file;
  source->QueryInterface(IID_IFileSourceFilter, reinterpret_cast<void **>(&file));
  EXPECT_HR(S_OK, file->Load(Wide(path).c_str(), nullptr));
  return source;
}

IBaseFilter *FilterGraphTest::AddDecoder() {
  return Keep(CreateBuiltinFilter(platform::media::ffmpeg::kGenericVideoDecoderClass), L"Decoder");
}

IBaseFilter *FilterGraphTest::AddVideoRenderer() {
  return Keep(CreateBuiltinFilter(CLSID_VideoRenderer), L"Video Renderer");
}

SampleLogRenderer *FilterGraphTest::AddLog(const GUID &majorType, const GUID &subtype, const wchar_t *name) {
  SampleLogRenderer *log = SampleLogRenderer::Create(majorType, subtype);
  Keep(log, name);
  return log;
}

LONG FilterGraphTest::RunToEnd() {
  LONG ended = 0;
  if (SUCCEEDED(control_->Run())) {
    LONG code = 0;
    LONG_PTR param1 = 0, param2 = 0;
    while (ended == 0 && events_->GetEvent(&code, &param1, &param2, 30000) == S_OK) {
      events_->FreeEventParams(code, param1, param2);
      if (code == EC_COMPLETE || code == EC_ERRORABORT) ended = code;
    }
  }
  control_->Stop();
  return ended;
}

HRESULT FilterGraphTest::SetStart(REFERENCE_TIME position) {
  return seeking_->SetPositions(&position, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
}

HRESULT FilterGraphTest::PauseAndWait() {
  const HRESULT paused = control_->Pause();
  if (FAILED(paused)) return paused;
  OAFilterState state = State_Stopped;
  return control_->GetState(10000, &state);
}

}  // namespace ffmpeg_testing
