// The built-in source and splitter on the generated clips: what Load says,
// the pins and media types it gives, and the samples it pushes.
#include "media/ffmpeg/media_file_source.h"

#include <dvdmedia.h>
#include <evcode.h>
#include <mmreg.h>
#include <uuids.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <vector>

#include "clip_files.h"
#include "ffmpeg_graph_fixture.h"
#include "media/ffmpeg/av_objects.h"
#include "media/ffmpeg/compressed_subtypes.h"

namespace ffmpeg_testing {
namespace {

using platform::media::MediaType;
using platform::media::ffmpeg::kMediaFileSourceClass;
using platform::media::ffmpeg::kWaveTagRawAac;
using platform::media::ffmpeg::MakeFourcc;
using platform::media::ffmpeg::SubtypeOfTag;

constexpr REFERENCE_TIME kFrameTime = 400000;  // the clips' 25 frames per second

CComPtr<IFileSourceFilter> NewSource() {
  CComPtr<IBaseFilter> filter;
  filter.Attach(CreateBuiltinFilter(kMediaFileSourceClass));
  CComPtr<IFileSourceFilter> file;
  if (filter) filter.QueryInterface(&file);
  return file;
}

HRESULT LoadResult(const std::string &path) {
  CComPtr<IFileSourceFilter> source = NewSource();
  return source ? source->Load(Wide(path).c_str(), nullptr) : E_NOINTERFACE;
}

TEST(MediaFileSource, IsABuiltinClassWithIFileSourceFilter) {
  CComPtr<IFileSourceFilter> source = NewSource();
  ASSERT_TRUE(source);
  CComQIPtr<IBaseFilter> filter(source);
  CLSID clsid{};
  EXPECT_HR(S_OK, filter->GetClassID(&clsid));
  EXPECT_TRUE(IsEqualCLSID(clsid, kMediaFileSourceClass));
}

TEST(MediaFileSource, LoadResults) {
  const std::string subtitles = ScratchPath("subtitles.srt");
  ASSERT_TRUE(WriteSubtitleFile(subtitles));
  struct Case {
    const char *name;
    std::string path;
    HRESULT expected;
  };
  const Case cases[] = {
      {"a clip", ClipPath("clip-h264.m4v"), S_OK},
      {"a missing file", ClipPath("no-such-clip.mp4"), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)},
      {"a file that is no media", ClipPath("not-media.mp4"), VFW_E_UNKNOWN_FILE_TYPE},
      {"a clip cut before its index", ClipPath("clip-truncated.mp4"), VFW_E_UNKNOWN_FILE_TYPE},
      {"a file without audio or video", subtitles, VFW_E_UNSUPPORTED_STREAM},
      {"a folder", QUORVEL_SAMPLES_DIR, VFW_E_UNKNOWN_FILE_TYPE},
  };
  for (const Case &c : cases) EXPECT_HR(c.expected, LoadResult(c.path)) << c.name;
  std::filesystem::remove(subtitles);
}

TEST(MediaFileSource, GetCurFileGivesTheLoadedName) {
  CComPtr<IFileSourceFilter> source = NewSource();
  LPOLESTR name = reinterpret_cast<LPOLESTR>(1);
  AM_MEDIA_TYPE type{};
  EXPECT_HR(E_FAIL, source->GetCurFile(&name, &type)) << "nothing loaded";
  EXPECT_EQ(name, nullptr);
  const std::wstring path = Wide(ClipPath("clip-h264.m4v"));
  ASSERT_HR(S_OK, source->Load(path.c_str(), nullptr));
  ASSERT_HR(S_OK, source->GetCurFile(&name, &type));
  EXPECT_EQ(std::wstring(name), path);
  EXPECT_TRUE(IsEqualGUID(type.majortype, MEDIATYPE_Stream));
  CoTaskMemFree(name);
  platform::media::FreeMediaType(type);
  EXPECT_HR(S_OK, source->GetCurFile(&name, nullptr));
  CoTaskMemFree(name);
  EXPECT_HR(E_POINTER, source->GetCurFile(nullptr, nullptr));
  EXPECT_HR(E_UNEXPECTED, source->Load(path.c_str(), nullptr)) << "a second file";
}

TEST(MediaFileSource, FailedLoadLeavesTheFilterEmpty) {
  CComPtr<IFileSourceFilter> source = NewSource();
  ASSERT_HR(VFW_E_UNKNOWN_FILE_TYPE, source->Load(Wide(ClipPath("not-media.mp4")).c_str(), nullptr));
  CComQIPtr<IBaseFilter> filter(source);
  CComPtr<IEnumPins> pins;
  ASSERT_HR(S_OK, filter->EnumPins(&pins));
  IPin *pin = nullptr;
  EXPECT_HR(S_FALSE, pins->Next(1, &pin, nullptr));
  EXPECT_HR(S_OK, source->Load(Wide(ClipPath("clip-h264.m4v")).c_str(), nullptr)) << "another file may follow";
}

struct ExpectedPin {
  const wchar_t *name;
  GUID subtype;
  GUID formatType;
};

struct ClipPins {
  const char *clip;
  std::vector<ExpectedPin> pins;
};

std::vector<std::wstring> PinNames(IBaseFilter *filter) {
  std::vector<std::wstring> names;
  CComPtr<IEnumPins> pins;
  filter->EnumPins(&pins);
  IPin *pin = nullptr;
  while (pins->Next(1, &pin, nullptr) == S_OK) {
    PIN_INFO info{};
    pin->QueryPinInfo(&info);
    EXPECT_EQ(info.dir, PINDIR_OUTPUT);
    names.emplace_back(info.achName);
    info.pFilter->Release();
    pin->Release();
  }
  return names;
}

TEST(MediaFileSource, OnePinPerStreamInItsCompressedType) {
  const GUID aac = SubtypeOfTag(kWaveTagRawAac);
  const ClipPins cases[] = {
      {"clip-h264.m4v", {{L"Video", MEDIASUBTYPE_AVC1, FORMAT_MPEG2Video}}},
      {"clip-h264-aac.mp4", {{L"Video", MEDIASUBTYPE_AVC1, FORMAT_MPEG2Video}, {L"Audio", aac, FORMAT_WaveFormatEx}}},
      {"clip-h264-aac.mov", {{L"Video", MEDIASUBTYPE_AVC1, FORMAT_MPEG2Video}, {L"Audio", aac, FORMAT_WaveFormatEx}}},
      {"clip-h264-annexb.ts", {{L"Video", MEDIASUBTYPE_H264, FORMAT_VideoInfo2}}},
      {"clip-h264-anamorphic.mp4", {{L"Video", MEDIASUBTYPE_AVC1, FORMAT_MPEG2Video}}},
      {"clip-mpeg4.mp4", {{L"Video", SubtypeOfTag(MakeFourcc('M', 'P', '4', 'V')), FORMAT_VideoInfo2}}},
      {"clip-aac-only.m4a", {{L"Audio", aac, FORMAT_WaveFormatEx}}},
  };
  for (const ClipPins &c : cases) {
    CComPtr<IFileSourceFilter> source = NewSource();
    ASSERT_HR(S_OK, source->Load(Wide(ClipPath(c.clip)).c_str(), nullptr)) << c.clip;
    CComQIPtr<IBaseFilter> filter(source);
    std::vector<std::wstring> expectedNames;
    for (const ExpectedPin &pin : c.pins) expectedNames.emplace_back(pin.name);
    EXPECT_EQ(PinNames(filter), expectedNames) << c.clip;
    for (const ExpectedPin &expected : c.pins) {
      IPin *pin = PinOf(filter, expected.name);
      ASSERT_NE(pin, nullptr) << c.clip;
      const MediaType type = FirstMediaType(pin);
      const GUID major = expected.formatType == FORMAT_WaveFormatEx ? MEDIATYPE_Audio : MEDIATYPE_Video;
      EXPECT_TRUE(IsEqualGUID(type->majortype, major)) << c.clip;
      EXPECT_TRUE(IsEqualGUID(type->subtype, expected.subtype))
          << c.clip << " subtype " << std::hex << type->subtype.Data1;
      EXPECT_TRUE(IsEqualGUID(type->formattype, expected.formatType)) << c.clip;
    }
  }
}

// The clip's own configuration record, read here the way the MP4 format lays it out.
std::vector<BYTE> ParameterSetsOfClip(const std::string &path, BYTE *profile, BYTE *level) {
  AVFormatContext *opened = nullptr;
  if (avformat_open_input(&opened, path.c_str(), nullptr, nullptr) < 0) return {};
  platform::media::ffmpeg::FormatContextPtr context(opened);
  avformat_find_stream_info(context.get(), nullptr);
  const AVCodecParameters *codec = context->streams[0]->codecpar;
  const BYTE *record = codec->extradata;
  *profile = record[1];
  *level = record[3];
  // One SPS at offset 6 after its 2-byte length, then the count and one PPS.
  const size_t spsEnd = 8 + ((record[6] << 8) | record[7]);
  EXPECT_EQ(record[5] & 0x1F, 1);
  EXPECT_EQ(record[spsEnd], 1);
  const size_t ppsEnd = spsEnd + 3 + ((record[spsEnd + 1] << 8) | record[spsEnd + 2]);
  std::vector<BYTE> sets(record + 6, record + spsEnd);
  sets.insert(sets.end(), record + spsEnd + 1, record + ppsEnd);
  return sets;
}

TEST(MediaFileSource, Avc1CarriesTheClipsParameterSets) {
  CComPtr<IFileSourceFilter> source = NewSource();
  ASSERT_HR(S_OK, source->Load(Wide(ClipPath("clip-h264.m4v")).c_str(), nullptr));
  const MediaType type = FirstMediaType(PinOf(CComQIPtr<IBaseFilter>(source), L"Video"));
  const auto *info = type.FormatAs<MPEG2VIDEOINFO>(FORMAT_MPEG2Video);
  ASSERT_NE(info, nullptr);
  BYTE profile = 0, level = 0;
  const std::vector<BYTE> sets = ParameterSetsOfClip(ClipPath("clip-h264.m4v"), &profile, &level);
  ASSERT_FALSE(sets.empty());
  EXPECT_EQ(std::vector<BYTE>(MPEG2_SEQUENCE_INFO(info), MPEG2_SEQUENCE_INFO(info) + info->cbSequenceHeader), sets);
  EXPECT_EQ(sets[2] & 0x1F, 7) << "the SPS first";
  EXPECT_EQ(info->dwProfile, 100u) << "x264's High profile";
  EXPECT_EQ(info->dwProfile, profile);
  EXPECT_EQ(info->dwLevel, level);
  EXPECT_EQ(info->dwFlags, 4u);
  EXPECT_EQ(info->hdr.bmiHeader.biWidth, 320);
  EXPECT_EQ(info->hdr.bmiHeader.biHeight, 240);
  EXPECT_EQ(info->hdr.AvgTimePerFrame, kFrameTime);
  EXPECT_EQ(info->hdr.dwPictAspectRatioX, 4u);
  EXPECT_EQ(info->hdr.dwPictAspectRatioY, 3u);
}

TEST(MediaFileSource, AnamorphicClipHasItsPictureAspect) {
  CComPtr<IFileSourceFilter> source = NewSource();
  ASSERT_HR(S_OK, source->Load(Wide(ClipPath("clip-h264-anamorphic.mp4")).c_str(), nullptr));
  const MediaType type = FirstMediaType(PinOf(CComQIPtr<IBaseFilter>(source), L"Video"));
  const auto *info = type.FormatAs<MPEG2VIDEOINFO>(FORMAT_MPEG2Video);
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->hdr.bmiHeader.biWidth, 720);
  EXPECT_EQ(info->hdr.bmiHeader.biHeight, 576);
  EXPECT_EQ(info->hdr.dwPictAspectRatioX, 16u);
  EXPECT_EQ(info->hdr.dwPictAspectRatioY, 9u);
}

TEST(MediaFileSource, AacClipHasItsWaveFormatAndConfiguration) {
  CComPtr<IFileSourceFilter> source = NewSource();
  ASSERT_HR(S_OK, source->Load(Wide(ClipPath("clip-aac-only.m4a")).c_str(), nullptr));
  const MediaType type = FirstMediaType(PinOf(CComQIPtr<IBaseFilter>(source), L"Audio"));
  const auto *wave = type.FormatAs<WAVEFORMATEX>(FORMAT_WaveFormatEx);
  ASSERT_NE(wave, nullptr);
  EXPECT_EQ(wave->wFormatTag, kWaveTagRawAac);
  EXPECT_EQ(wave->nChannels, 2);
  EXPECT_EQ(wave->nSamplesPerSec, 48000u);
  ASSERT_GE(wave->cbSize, 2);
  ASSERT_EQ(type->cbFormat, sizeof(WAVEFORMATEX) + wave->cbSize);
  // AudioSpecificConfig: AAC LC (2), 48 kHz (index 3), 2 channels.
  EXPECT_EQ(type->pbFormat[sizeof(WAVEFORMATEX)], 0x11);
  EXPECT_EQ(type->pbFormat[sizeof(WAVEFORMATEX) + 1], 0x90);
}

// Streaming, into sample logs.
class MediaFileSourceStreaming : public FilterGraphTest {
 protected:
  SampleLog PlayVideo(const std::string &path) {
    IBaseFilter *source = AddSource(path);
    SampleLogRenderer *log = AddLog(MEDIATYPE_Video);
    EXPECT_HR(S_OK, graph_->ConnectDirect(PinOf(source, L"Video"), log->Input(), nullptr));
    EXPECT_EQ(RunToEnd(), EC_COMPLETE);
    return log->Log();
  }
};

std::vector<REFERENCE_TIME> SortedStarts(const SampleLog &log) {
  std::vector<REFERENCE_TIME> starts;
  for (const LoggedSample &sample : log.samples) starts.push_back(sample.start.value_or(-1));
  std::sort(starts.begin(), starts.end());
  return starts;
}

std::vector<REFERENCE_TIME> FrameTimes(size_t count) {
  std::vector<REFERENCE_TIME> times;
  for (size_t i = 0; i < count; ++i) times.push_back(static_cast<REFERENCE_TIME>(i) * kFrameTime);
  return times;
}

std::vector<REFERENCE_TIME> SyncPointTimes(const SampleLog &log) {
  std::vector<REFERENCE_TIME> times;
  for (const LoggedSample &sample : log.samples) {
    if (sample.syncPoint) times.push_back(sample.start.value_or(-1));
  }
  return times;
}

// Two seconds at 25 frames per second, key frames every 25 frames. Frames
// come in decoding order (B-frames after the frames they refer to), so the
// times are each frame's once sorted.
TEST_F(MediaFileSourceStreaming, Avc1SamplesHaveFrameTimesAndKeyFrameSyncPoints) {
  const SampleLog log = PlayVideo(ClipPath("clip-h264.m4v"));
  ASSERT_EQ(log.samples.size(), 50u);
  EXPECT_EQ(SortedStarts(log), FrameTimes(50));
  for (const LoggedSample &sample : log.samples) {
    ASSERT_TRUE(sample.stop);
    EXPECT_EQ(*sample.stop - *sample.start, kFrameTime);
  }
  EXPECT_EQ(SyncPointTimes(log), (std::vector<REFERENCE_TIME>{0, 25 * kFrameTime}));
  EXPECT_TRUE(log.samples[0].discontinuity);
  EXPECT_EQ(
      std::count_if(log.samples.begin(), log.samples.end(), [](const LoggedSample &s) { return s.discontinuity; }), 1);
  EXPECT_EQ(log.segment.start, 0);
  EXPECT_EQ(log.segment.stop, 50 * kFrameTime);
  // Units after a 4-byte big-endian length, as the AVC1 type says.
  const std::vector<BYTE> &first = log.samples[0].data;
  ASSERT_GE(first.size(), 5u);
  const size_t unitLength = (size_t{first[0]} << 24) | (first[1] << 16) | (first[2] << 8) | first[3];
  EXPECT_LE(unitLength + 4, first.size());
}

// The file's start (1.48 s into the stream's clock) is time 0.
TEST_F(MediaFileSourceStreaming, AnnexBSamplesStartWithAStartCodeAtTimeZero) {
  const SampleLog log = PlayVideo(ClipPath("clip-h264-annexb.ts"));
  ASSERT_EQ(log.samples.size(), 50u);
  EXPECT_EQ(SortedStarts(log), FrameTimes(50));
  EXPECT_EQ(SyncPointTimes(log), (std::vector<REFERENCE_TIME>{0, 25 * kFrameTime}));
  const std::vector<BYTE> &first = log.samples[0].data;
  ASSERT_GE(first.size(), 4u);
  const bool startCode = (first[0] == 0 && first[1] == 0 && first[2] == 1) ||
                         (first[0] == 0 && first[1] == 0 && first[2] == 0 && first[3] == 1);
  EXPECT_TRUE(startCode);
}

TEST_F(MediaFileSourceStreaming, AudioAndVideoBothReachTheirRenderers) {
  IBaseFilter *source = AddSource(ClipPath("clip-h264-aac.mp4"));
  SampleLogRenderer *video = AddLog(MEDIATYPE_Video, GUID{}, L"Video log");
  SampleLogRenderer *audio = AddLog(MEDIATYPE_Audio, GUID{}, L"Audio log");
  ASSERT_HR(S_OK, graph_->ConnectDirect(PinOf(source, L"Video"), video->Input(), nullptr));
  ASSERT_HR(S_OK, graph_->ConnectDirect(PinOf(source, L"Audio"), audio->Input(), nullptr));
  ASSERT_EQ(RunToEnd(), EC_COMPLETE);
  EXPECT_EQ(video->Log().samples.size(), 50u);
  const SampleLog sound = audio->Log();
  // AAC frames of 1024 samples at 48 kHz for 2 s; the encoder's priming
  // frame starts before 0, the last frame may be shorter.
  ASSERT_GE(sound.samples.size(), 94u);
  EXPECT_LE(sound.samples.size(), 96u);
  EXPECT_LE(sound.samples.front().start.value_or(1), 0);
  for (size_t i = 0; i + 1 < sound.samples.size(); ++i) {
    const LoggedSample &sample = sound.samples[i];
    ASSERT_TRUE(sample.start && sample.stop) << "sample " << i;
    EXPECT_NEAR(static_cast<double>(*sample.stop - *sample.start), 213333.0, 1.0) << "sample " << i;
    EXPECT_EQ(sound.samples[i + 1].start, sample.stop) << "sample " << i;
    EXPECT_TRUE(sample.syncPoint) << "sample " << i;
  }
}

// A stop leaves the position; the application rewinds.
TEST_F(MediaFileSourceStreaming, ARunAfterARewindStartsFromTheBeginning) {
  IBaseFilter *source = AddSource(ClipPath("clip-h264.m4v"));
  SampleLogRenderer *log = AddLog(MEDIATYPE_Video);
  ASSERT_HR(S_OK, graph_->ConnectDirect(PinOf(source, L"Video"), log->Input(), nullptr));
  ASSERT_EQ(RunToEnd(), EC_COMPLETE);
  ASSERT_HR(S_OK, SetStart(0));
  ASSERT_EQ(RunToEnd(), EC_COMPLETE);
  const SampleLog twice = log->Log();
  ASSERT_EQ(twice.samples.size(), 100u);
  EXPECT_TRUE(twice.samples[50].discontinuity);
  EXPECT_EQ(twice.samples[50].start, twice.samples[0].start);
  EXPECT_EQ(twice.samples[99].start, twice.samples[49].start);
}

TEST_F(MediaFileSourceStreaming, DurationIsTheFilesAndTheSourceSeeks) {
  IBaseFilter *source = AddSource(ClipPath("clip-h264-aac.mp4"));
  SampleLogRenderer *log = AddLog(MEDIATYPE_Video);
  ASSERT_HR(S_OK, graph_->ConnectDirect(PinOf(source, L"Video"), log->Input(), nullptr));
  LONGLONG duration = 0;
  ASSERT_HR(S_OK, seeking_->GetDuration(&duration));
  EXPECT_EQ(duration, 50 * kFrameTime);
  DWORD capabilities = 0;
  ASSERT_HR(S_OK, seeking_->GetCapabilities(&capabilities));
  EXPECT_TRUE(capabilities & AM_SEEKING_CanSeekAbsolute) << "capabilities " << capabilities;
}

// From a start position on, the samples before it are preroll (the
// renderer never sees them) and the rest count from the position: a start
// between key frames still gives every frame from there, in each container.
TEST_F(MediaFileSourceStreaming, AStartPositionGivesEveryFrameFromThere) {
  struct Case {
    const char *clip;
    int firstFrame;
  };
  const Case cases[] = {{"clip-h264.m4v", 26}, {"clip-h264.m4v", 24}, {"clip-h264.m4v", 25},
                        {"clip-h264-annexb.ts", 26}, {"clip-h264-annexb.ts", 24}, {"clip-h264-annexb.ts", 1}};
  for (const Case &c : cases) {
    SCOPED_TRACE(std::string(c.clip) + " from frame " + std::to_string(c.firstFrame));
    IBaseFilter *source = AddSource(ClipPath(c.clip));
    SampleLogRenderer *log = AddLog(MEDIATYPE_Video);
    ASSERT_HR(S_OK, graph_->ConnectDirect(PinOf(source, L"Video"), log->Input(), nullptr));
    ASSERT_HR(S_OK, SetStart(c.firstFrame * kFrameTime));
    ASSERT_EQ(RunToEnd(), EC_COMPLETE);
    const SampleLog played = log->Log();
    EXPECT_EQ(SortedStarts(played), FrameTimes(50 - c.firstFrame));
    EXPECT_EQ(played.segment.start, c.firstFrame * kFrameTime);
    graph_->RemoveFilter(log);
    graph_->RemoveFilter(source);
  }
}

TEST_F(MediaFileSourceStreaming, AStartAtTheEndCompletesAtOnce) {
  IBaseFilter *source = AddSource(ClipPath("clip-h264-aac.mp4"));
  SampleLogRenderer *video = AddLog(MEDIATYPE_Video, GUID{}, L"Video log");
  SampleLogRenderer *audio = AddLog(MEDIATYPE_Audio, GUID{}, L"Audio log");
  ASSERT_HR(S_OK, graph_->ConnectDirect(PinOf(source, L"Video"), video->Input(), nullptr));
  ASSERT_HR(S_OK, graph_->ConnectDirect(PinOf(source, L"Audio"), audio->Input(), nullptr));
  ASSERT_HR(S_OK, SetStart(50 * kFrameTime));
  ASSERT_EQ(RunToEnd(), EC_COMPLETE);
  EXPECT_EQ(video->Log().samples.size(), 0u);
  EXPECT_EQ(audio->Log().samples.size(), 0u);
}

// Stopping while the renderers hold the streams back (paused, buffers
// full) is no error of the file.
TEST_F(MediaFileSourceStreaming, StopWhilePausedReportsNoError) {
  IBaseFilter *source = AddSource(ClipPath("sample.mp4"));
  SampleLogRenderer *video = AddLog(MEDIATYPE_Video, GUID{}, L"Video log");
  SampleLogRenderer *audio = AddLog(MEDIATYPE_Audio, GUID{}, L"Audio log");
  ASSERT_HR(S_OK, graph_->ConnectDirect(PinOf(source, L"Video"), video->Input(), nullptr));
  ASSERT_HR(S_OK, graph_->ConnectDirect(PinOf(source, L"Audio"), audio->Input(), nullptr));
  control_->Pause();
  OAFilterState state = State_Stopped;
  EXPECT_HR(S_OK, control_->GetState(10000, &state));
  EXPECT_EQ(state, State_Paused);
  EXPECT_HR(S_OK, control_->Stop());
  LONG code = 0;
  LONG_PTR param1 = 0, param2 = 0;
  while (events_->GetEvent(&code, &param1, &param2, 200) == S_OK) {
    events_->FreeEventParams(code, param1, param2);
    EXPECT_NE(code, EC_ERRORABORT) << "error " << media_testing::Hex(static_cast<HRESULT>(param1));
  }
}

TEST_F(MediaFileSourceStreaming, AnUnconnectedStreamIsSkipped) {
  IBaseFilter *source = AddSource(ClipPath("clip-h264-aac.mp4"));
  SampleLogRenderer *audio = AddLog(MEDIATYPE_Audio);
  ASSERT_HR(S_OK, graph_->ConnectDirect(PinOf(source, L"Audio"), audio->Input(), nullptr));
  ASSERT_EQ(RunToEnd(), EC_COMPLETE);
  EXPECT_GE(audio->Log().samples.size(), 94u);
}

// A cut file ends the run one way or the other, never with a hang or a
// crash, after some of its frames.
class CutFileStreaming : public MediaFileSourceStreaming {
 protected:
  void ExpectRunEnds(const std::string &path) {
    IBaseFilter *source = AddSource(path);
    SampleLogRenderer *log = AddLog(MEDIATYPE_Video);
    ASSERT_HR(S_OK, graph_->ConnectDirect(PinOf(source, L"Video"), log->Input(), nullptr));
    const LONG ended = RunToEnd();
    EXPECT_TRUE(ended == EC_COMPLETE || ended == EC_ERRORABORT) << "event " << ended;
    EXPECT_GT(log->Log().samples.size(), 0u);
    EXPECT_LT(log->Log().samples.size(), 50u);
  }
};

TEST_F(CutFileStreaming, MpegTsCutInTheMiddle) {
  const std::string cut = ScratchPath("cut.ts");
  ASSERT_TRUE(WriteCutCopy(ClipPath("clip-h264-annexb.ts"), cut, 0.5));
  ExpectRunEnds(cut);
  std::filesystem::remove(cut);
}

TEST_F(CutFileStreaming, Mp4WithItsIndexFirstCutInTheMiddle) {
  const std::string indexFirst = ScratchPath("index-first.mp4");
  const std::string cut = ScratchPath("cut-index-first.mp4");
  ASSERT_TRUE(WriteIndexFirstCopy(ClipPath("clip-h264.m4v"), indexFirst));
  ASSERT_TRUE(WriteCutCopy(indexFirst, cut, 0.5));
  ExpectRunEnds(cut);
  std::filesystem::remove(indexFirst);
  std::filesystem::remove(cut);
}

}  // namespace
}  // namespace ffmpeg_testing
