// Playback of the generated clips through the built-in filters, as a tester
// sees it: the source a file gets, every frame of a run at the renderer as
// a straight decode gives it, the exact frame after a seek while paused,
// a start at the end, a rewind, and damaged files that end their run.
// Graphs run unclocked, so a busy machine cannot drop a frame.
#include <evcode.h>
#include <uuids.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include "clip_files.h"
#include "ffmpeg_graph_fixture.h"
#include "registered_filters.h"
#include "media/ffmpeg/generic_video_decoder.h"
#include "media/ffmpeg/media_file_source.h"
#include "media/video_renderer.h"
#include "reference_picture.h"

namespace ffmpeg_testing {
namespace {

using platform::media::ffmpeg::kGenericVideoDecoderClass;
using platform::media::ffmpeg::kMediaFileSourceClass;

constexpr REFERENCE_TIME kFrameTime = 400000;

CLSID ClassOf(IBaseFilter *filter) {
  CLSID clsid{};
  filter->GetClassID(&clsid);
  return clsid;
}

// The filter an output pin's stream reaches first; null when unconnected.
CComPtr<IBaseFilter> NextFilter(IPin *output) {
  CComPtr<IPin> peer;
  if (output->ConnectedTo(&peer) != S_OK) return nullptr;
  PIN_INFO info{};
  peer->QueryPinInfo(&info);
  CComPtr<IBaseFilter> filter;
  filter.Attach(info.pFilter);
  return filter;
}

std::vector<std::string> Digests(const std::vector<LoggedSample> &samples) {
  std::vector<std::string> digests;
  for (const LoggedSample &sample : samples) digests.push_back(sample.digest);
  return digests;
}

// The EC_COMPLETE events that come until none has come for that long.
int CompletionsWithin(IMediaEvent *events, LONG milliseconds) {
  int completions = 0;
  LONG code = 0;
  LONG_PTR param1 = 0, param2 = 0;
  while (events->GetEvent(&code, &param1, &param2, milliseconds) == S_OK) {
    events->FreeEventParams(code, param1, param2);
    if (code == EC_COMPLETE) ++completions;
  }
  return completions;
}

// The platform's classes and the test filter library registered: the
// source and the generic decoder come from the registry, the renderer from
// the test library.
class RegisteredPlayback : public FilterGraphTest {
 protected:
  media_testing::RegisteredFilters registered_;
};

TEST_F(RegisteredPlayback, AddSourceFilterChoosesTheMediaFileSource) {
  for (const char *clip : {"clip-h264-aac.mp4", "clip-h264.m4v", "clip-h264-aac.mov", "clip-h264-annexb.ts",
                           "clip-aac-only.m4a", "clip-mpeg4.mp4"}) {
    CComPtr<IBaseFilter> source;
    ASSERT_HR(S_OK, graph_->AddSourceFilter(Wide(ClipPath(clip)).c_str(), nullptr, &source)) << clip;
    EXPECT_TRUE(IsEqualCLSID(ClassOf(source), kMediaFileSourceClass)) << clip;
    EXPECT_HR(S_OK, graph_->RemoveFilter(source)) << clip;
  }
}

// With no decoder under test registered, the generic decoder renders H.264.
TEST_F(RegisteredPlayback, RenderFileDecodesWithTheGenericDecoderAndCompletesOnce) {
  const std::wstring clip = Wide(ClipPath("clip-h264.m4v"));
  ASSERT_HR(S_OK, graph_->RenderFile(clip.c_str(), nullptr));
  CComPtr<IBaseFilter> source;
  ASSERT_HR(S_OK, graph_->FindFilterByName(clip.c_str(), &source));
  EXPECT_TRUE(IsEqualCLSID(ClassOf(source), kMediaFileSourceClass));
  const CComPtr<IBaseFilter> decoder = NextFilter(PinOf(source, L"Video"));
  ASSERT_TRUE(decoder);
  EXPECT_TRUE(IsEqualCLSID(ClassOf(decoder), kGenericVideoDecoderClass));
  EXPECT_TRUE(NextFilter(PinOf(decoder, L"Out"))) << "the decoder's output reaches a renderer";
  const HRESULT ran = control_->Run();
  ASSERT_TRUE(SUCCEEDED(ran)) << media_testing::Hex(ran);
  ASSERT_TRUE(media_testing::WaitForEvent(events_, EC_COMPLETE));
  EXPECT_EQ(CompletionsWithin(events_, 500), 0) << "a second EC_COMPLETE";
  control_->Stop();
}

// Source -> generic decoder -> a log of YV12 frames.
class Playback : public FilterGraphTest {
 protected:
  SampleLogRenderer *BuildPlayback(const std::string &path) {
    IBaseFilter *source = AddSource(path);
    IBaseFilter *decoder = AddDecoder();
    SampleLogRenderer *log = AddLog(MEDIATYPE_Video, MEDIASUBTYPE_YV12);
    EXPECT_HR(S_OK, graph_->ConnectDirect(PinOf(source, L"Video"), PinOf(decoder, L"In"), nullptr));
    EXPECT_HR(S_OK, graph_->ConnectDirect(PinOf(decoder, L"Out"), log->Input(), nullptr));
    return log;
  }

  // Seeks while paused and gives the frame the renderer then holds.
  std::optional<LoggedSample> HeldAfterSeek(SampleLogRenderer *log, REFERENCE_TIME position) {
    const size_t heldBefore = log->Log().held.size();
    if (SetStart(position) != S_OK || !log->WaitForHeld(heldBefore + 1)) return std::nullopt;
    return log->Log().held.back();
  }
};

TEST_F(Playback, EveryFrameIsPresentedAsAStraightDecodeGivesIt) {
  for (const char *clip : {"clip-h264.m4v", "clip-h264-annexb.ts", "clip-h264-aac.mov", "clip-h264-anamorphic.mp4",
                           "sample.mp4"}) {
    SCOPED_TRACE(clip);
    const std::vector<std::string> reference = Yv12Digests(ClipPath(clip));
    ASSERT_FALSE(reference.empty());
    SampleLogRenderer *log = BuildPlayback(ClipPath(clip));
    ASSERT_EQ(RunToEnd(), EC_COMPLETE);
    const SampleLog played = log->Log();
    EXPECT_EQ(Digests(played.samples), reference);
    for (size_t i = 0; i < played.samples.size(); ++i) {
      EXPECT_EQ(played.samples[i].start, static_cast<REFERENCE_TIME>(i) * kFrameTime) << "frame " << i;
    }
    for (const wchar_t *name : {L"Log", L"Decoder", L"Source"}) {
      CComPtr<IBaseFilter> filter;
      graph_->FindFilterByName(name, &filter);
      graph_->RemoveFilter(filter);
    }
  }
}

// Every frame time of a clip with an index and of one without, key frames
// and the frames between them.
TEST_F(Playback, ASeekWhilePausedShowsExactlyThatFrame) {
  for (const char *clip : {"clip-h264.m4v", "clip-h264-annexb.ts"}) {
    SCOPED_TRACE(clip);
    const std::vector<std::string> reference = Yv12Digests(ClipPath(clip));
    ASSERT_EQ(reference.size(), 50u);
    SampleLogRenderer *log = BuildPlayback(ClipPath(clip));
    ASSERT_HR(S_OK, PauseAndWait());
    for (const size_t frame : {37, 0, 49, 25, 24, 1, 26, 12}) {
      const std::optional<LoggedSample> held = HeldAfterSeek(log, static_cast<REFERENCE_TIME>(frame) * kFrameTime);
      ASSERT_TRUE(held) << "nothing held after a seek to frame " << frame;
      EXPECT_EQ(held->digest, reference[frame]) << "frame " << frame;
      EXPECT_EQ(held->start, 0) << "frame " << frame << ": the start position is stream time 0";
    }
    // Running on from the last seek presents the frames from there.
    ASSERT_EQ(RunToEnd(), EC_COMPLETE);
    EXPECT_EQ(Digests(log->Log().samples), std::vector<std::string>(reference.begin() + 12, reference.end()));
    for (const wchar_t *name : {L"Log", L"Decoder", L"Source"}) {
      CComPtr<IBaseFilter> filter;
      graph_->FindFilterByName(name, &filter);
      graph_->RemoveFilter(filter);
    }
  }
}

// The built-in video renderer in place of the log: its own record of what it
// showed is the straight decode's, paused, after a seek while paused, and
// running on from there.
TEST_F(Playback, TheVideoRenderersRecordIsWhatAStraightDecodeGives) {
  const std::vector<std::string> reference = Yv12Digests(ClipPath("clip-h264.m4v"));
  ASSERT_EQ(reference.size(), 50u);
  IBaseFilter *source = AddSource(ClipPath("clip-h264.m4v"));
  IBaseFilter *decoder = AddDecoder();
  auto *renderer = static_cast<platform::media::VideoRenderer *>(AddVideoRenderer());
  ASSERT_HR(S_OK, graph_->ConnectDirect(PinOf(source, L"Video"), PinOf(decoder, L"In"), nullptr));
  ASSERT_HR(S_OK, graph_->ConnectDirect(PinOf(decoder, L"Out"), PinOf(renderer, L"In"), nullptr));

  ASSERT_HR(S_OK, PauseAndWait());
  ASSERT_HR(S_OK, SetStart(25 * kFrameTime));
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (renderer->Presented().frames.size() < 2 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ASSERT_EQ(RunToEnd(), EC_COMPLETE);

  const platform::media::PresentationRecordCopy record = renderer->Presented();
  std::vector<std::string> paused, running;
  for (const platform::media::PresentedFrame &frame : record.frames) {
    (frame.whilePaused ? paused : running).push_back(frame.digest);
  }
  EXPECT_EQ(paused, (std::vector<std::string>{reference[0], reference[25]}));
  EXPECT_EQ(running, std::vector<std::string>(reference.begin() + 25, reference.end()));
  EXPECT_EQ(record.presented, 25u);
  ASSERT_FALSE(record.frames.empty());
  EXPECT_EQ(record.frames.back().start, 24 * kFrameTime) << "stream times count from the seek";
}

TEST_F(Playback, RunningFromTheDurationCompletesPromptly) {
  SampleLogRenderer *log = BuildPlayback(ClipPath("sample.mp4"));
  LONGLONG duration = 0;
  ASSERT_HR(S_OK, seeking_->GetDuration(&duration));
  EXPECT_EQ(duration, 250 * kFrameTime);
  ASSERT_HR(S_OK, SetStart(duration));
  const auto started = std::chrono::steady_clock::now();
  ASSERT_EQ(RunToEnd(), EC_COMPLETE);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
  EXPECT_EQ(log->Log().samples.size(), 0u);
}

TEST_F(Playback, StopRewindAndRunPlaysFromTheStart) {
  const std::vector<std::string> reference = Yv12Digests(ClipPath("clip-h264.m4v"));
  SampleLogRenderer *log = BuildPlayback(ClipPath("clip-h264.m4v"));
  ASSERT_EQ(RunToEnd(), EC_COMPLETE);
  ASSERT_HR(S_OK, SetStart(0));
  ASSERT_EQ(RunToEnd(), EC_COMPLETE);
  std::vector<std::string> twice = reference;
  twice.insert(twice.end(), reference.begin(), reference.end());
  EXPECT_EQ(Digests(log->Log().samples), twice);
}

// A file damaged or cut anywhere either does not load, or its run ends
// with EC_COMPLETE or EC_ERRORABORT.
class DamagedPlayback : public Playback {
 protected:
  void ExpectLoadFailsOrRunEnds(const std::string &path, const std::string &what) {
    SCOPED_TRACE(what);
    CComPtr<IBaseFilter> source;
    source.Attach(CreateBuiltinFilter(kMediaFileSourceClass));
    CComQIPtr<IFileSourceFilter> file(source);
    if (FAILED(file->Load(Wide(path).c_str(), nullptr))) return;
    IBaseFilter *decoder = AddDecoder();
    SampleLogRenderer *log = AddLog(MEDIATYPE_Video, MEDIASUBTYPE_YV12);
    ASSERT_HR(S_OK, graph_->AddFilter(source, L"Source"));
    if (SUCCEEDED(graph_->ConnectDirect(PinOf(source, L"Video"), PinOf(decoder, L"In"), nullptr)) &&
        SUCCEEDED(graph_->ConnectDirect(PinOf(decoder, L"Out"), log->Input(), nullptr))) {
      const LONG ended = RunToEnd();
      EXPECT_TRUE(ended == EC_COMPLETE || ended == EC_ERRORABORT) << "event " << ended;
    }
    for (IBaseFilter *filter : {static_cast<IBaseFilter *>(log), decoder, source.p}) graph_->RemoveFilter(filter);
  }
};

TEST_F(DamagedPlayback, DamagedFilesEndTheirRun) {
  const std::string indexFirst = ScratchPath("damaged-run-index-first.mp4");
  ASSERT_TRUE(WriteIndexFirstCopy(ClipPath("clip-h264.m4v"), indexFirst));
  const std::string damaged = ScratchPath("damaged-run");
  for (const std::string &clip : {ClipPath("clip-h264-annexb.ts"), ClipPath("clip-h264.m4v"), indexFirst}) {
    for (const auto &[begin, end] : {std::pair{0.0, 0.05}, {0.05, 0.2}, {0.3, 0.4}, {0.5, 0.9}, {0.9, 1.0}}) {
      ASSERT_TRUE(WriteDamagedCopy(clip, damaged, begin, end));
      ExpectLoadFailsOrRunEnds(damaged, clip + " damaged from " + std::to_string(begin) + " to " + std::to_string(end));
    }
  }
  std::filesystem::remove(damaged);
  std::filesystem::remove(indexFirst);
}

TEST_F(DamagedPlayback, CutFilesEndTheirRun) {
  const std::string indexFirst = ScratchPath("cut-run-index-first.mp4");
  ASSERT_TRUE(WriteIndexFirstCopy(ClipPath("sample.mp4"), indexFirst));
  const std::string cut = ScratchPath("cut-run");
  for (const std::string &clip : {ClipPath("clip-h264-annexb.ts"), indexFirst}) {
    for (const double kept : {0.05, 0.3, 0.7, 0.99}) {
      ASSERT_TRUE(WriteCutCopy(clip, cut, kept));
      ExpectLoadFailsOrRunEnds(cut, clip + " cut to " + std::to_string(kept));
    }
  }
  ExpectLoadFailsOrRunEnds(ClipPath("clip-truncated.mp4"), "the generated cut clip");
  std::filesystem::remove(cut);
  std::filesystem::remove(indexFirst);
}

}  // namespace
}  // namespace ffmpeg_testing
