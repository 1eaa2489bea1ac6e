// The registered decoder in a graph with the push source and the sink.
#include "decoder_fixture.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

namespace decoder_testing {
namespace {

// Takes events until one with the code comes: false after 20 s.
bool WaitForEvent(IMediaEvent *events, LONG wanted) {
  LONG code = 0;
  LONG_PTR param1 = 0, param2 = 0;
  while (events->GetEvent(&code, &param1, &param2, 20000) == S_OK) {
    events->FreeEventParams(code, param1, param2);
    if (code == wanted) return true;
  }
  return false;
}

}  // namespace

std::string Hex(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08x", static_cast<unsigned>(hr));
  return text;
}

int RunRegistrationTool(const std::vector<std::string> &arguments) {
  std::vector<std::string> command = {QUORVEL_REGSVR, "/s"};
  command.insert(command.end(), arguments.begin(), arguments.end());
  std::vector<char *> argv;
  for (std::string &argument : command) argv.push_back(argument.data());
  argv.push_back(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string DecoderLibrary() { return QUORVEL_DECODER_LIBRARY; }
std::string PlatformLibrary() { return QUORVEL_PLATFORM_LIBRARY; }

SampleTimes TimesOf(const ClipPacket &packet, size_t index, InputTimes mode) {
  switch (mode) {
    case InputTimes::kAsRead:
      return {packet.start, packet.stop};
    case InputTimes::kJittered: {
      const REFERENCE_TIME shift = (static_cast<REFERENCE_TIME>(index % 3) - 1) * 10000;
      return {packet.start + shift, packet.stop + shift};
    }
    case InputTimes::kKeyFramesOnly:
      if (packet.key) return {packet.start, packet.stop};
      return {};
  }
  return {};
}

void DecoderTest::SetUp() {
  ASSERT_EQ(RunRegistrationTool({PlatformLibrary()}), 0);
  ASSERT_EQ(RunRegistrationTool({DecoderLibrary()}), 0);
  ASSERT_HR(S_OK, CoInitialize(nullptr));
  ASSERT_HR(S_OK, graph_.CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER));
  ASSERT_HR(S_OK, graph_.QueryInterface(&control_));
  ASSERT_HR(S_OK, graph_.QueryInterface(&events_));
  // Unclocked runs: pictures reach the sink as fast as they are decoded.
  CComPtr<IMediaFilter> timing;
  ASSERT_HR(S_OK, graph_.QueryInterface(&timing));
  ASSERT_HR(S_OK, timing->SetSyncSource(nullptr));
  ASSERT_HR(S_OK, decoder_.CoCreateInstance(CLSID_H264Decoder, nullptr, CLSCTX_INPROC_SERVER));
  ASSERT_HR(S_OK, decoder_.QueryInterface(&settings_));
  ASSERT_HR(S_OK, graph_->AddFilter(decoder_, L"Pellonex H264 Decoder"));
}

void DecoderTest::TearDown() {
  if (control_) control_->Stop();
  settings_.Release();
  decoder_.Release();
  source_.Release();
  sink_.Release();
  control_.Release();
  events_.Release();
  graph_.Release();
  CoFreeUnusedLibraries();
  CoUninitialize();
}

void DecoderTest::Connect(const Clip &clip, RecordingSink *sink) {
  source_.Attach(PushSource::Create(clip.type));
  sink_.Attach(sink);
  ASSERT_HR(S_OK, graph_->AddFilter(source_, L"Source"));
  ASSERT_HR(S_OK, graph_->AddFilter(sink_, L"Sink"));
  ASSERT_HR(S_OK, graph_->ConnectDirect(source_->Output(), DecoderPin(L"In"), nullptr));
  ASSERT_HR(S_OK, graph_->ConnectDirect(DecoderPin(L"Out"), sink_->Input(), nullptr));
}

HRESULT DecoderTest::Push(const Clip &clip, size_t first, size_t last, InputTimes times) {
  if (HRESULT hr = control_->Run(); FAILED(hr)) return hr;
  for (size_t i = first; i < last && i < clip.packets.size(); ++i) {
    const ClipPacket &packet = clip.packets[i];
    if (HRESULT hr = source_->Push(packet.data, TimesOf(packet, i, times), packet.key); hr != S_OK) return hr;
  }
  return S_OK;
}

void DecoderTest::Finish() {
  EXPECT_HR(S_OK, source_->EndOfStream());
  EXPECT_TRUE(WaitForEvent(events_, EC_COMPLETE)) << "the graph never completed";
}

void DecoderTest::Play(const Clip &clip, RecordingSink *sink, InputTimes times) {
  Connect(clip, sink);
  EXPECT_HR(S_OK, Push(clip, 0, clip.packets.size(), times));
  Finish();
}

IPin *DecoderTest::DecoderPin(const wchar_t *name) {
  IPin *pin = nullptr;
  decoder_->FindPin(name, &pin);
  if (pin) pin->Release();  // the decoder holds it
  return pin;
}

MediaType DecoderTest::SinkConnectionType() {
  AM_MEDIA_TYPE type{};
  if (sink_->Input()->ConnectionMediaType(&type) != S_OK) return MediaType();
  MediaType copy(type);
  platform::media::FreeMediaType(type);
  return copy;
}

}  // namespace decoder_testing
