// Tests of the decoder as programs meet it: each test has a registry of its
// own in which the registration tool has registered the platform's classes
// and the decoder library; the graph manager and the decoder are created
// through CoCreateInstance.
#pragma once

#include <atlbase.h>
#include <dshow.h>

#include <H264DecoderApi.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "private_registry.h"
#include "reference_decode.h"
#include "test_filters.h"

namespace decoder_testing {

using ATL::CComPtr;

std::string Hex(HRESULT hr);
// Runs the registration tool on a library ("/u" first to unregister); its exit code.
int RunRegistrationTool(const std::vector<std::string> &arguments);
std::string DecoderLibrary();
std::string PlatformLibrary();

// Which times the pushed samples carry.
enum class InputTimes {
  kAsRead,        // the container's
  kJittered,      // the container's, moved by -1, 0 or +1 ms in turn
  kKeyFramesOnly  // only key frames have times
};

SampleTimes TimesOf(const ClipPacket &packet, size_t index, InputTimes mode);

class DecoderTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // A new graph and decoder, for the next case of a table.
  void Renew() {
    TearDown();
    SetUp();
  }

  // Adds a push source in the clip's type and the sink, and connects
  // source -> decoder -> sink.
  void Connect(const Clip &clip, RecordingSink *sink);
  // Runs the graph and pushes packets [first, last) of the clip.
  HRESULT Push(const Clip &clip, size_t first, size_t last, InputTimes times = InputTimes::kAsRead);
  // End of stream, then waits for the graph to say it is complete.
  void Finish();
  // Connect, run, push every packet, finish.
  void Play(const Clip &clip, RecordingSink *sink, InputTimes times = InputTimes::kAsRead);
  IPin *DecoderPin(const wchar_t *name);
  // The media type of the sink's connection.
  MediaType SinkConnectionType();

  testing_support::PrivateRegistry registry_;
  CComPtr<IGraphBuilder> graph_;
  CComPtr<IMediaControl> control_;
  CComPtr<IMediaEvent> events_;
  CComPtr<IBaseFilter> decoder_;
  CComPtr<IDecoderSettings> settings_;
  CComPtr<PushSource> source_;
  CComPtr<RecordingSink> sink_;
};

}  // namespace decoder_testing

#define EXPECT_HR(expected, actual) EXPECT_EQ(decoder_testing::Hex(expected), decoder_testing::Hex(actual))
#define ASSERT_HR(expected, actual) ASSERT_EQ(decoder_testing::Hex(expected), decoder_testing::Hex(actual))
