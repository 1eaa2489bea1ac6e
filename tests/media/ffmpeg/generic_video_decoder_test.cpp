// The built-in generic video decoder between the source and a sample log,
// on the generated clips.
#include "media/ffmpeg/generic_video_decoder.h"

#include <dvdmedia.h>
#include <evcode.h>
#include <uuids.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "clip_files.h"
#include "ffmpeg_graph_fixture.h"
#include "reference_picture.h"

namespace ffmpeg_testing {
namespace {

using platform::media::MediaType;

constexpr REFERENCE_TIME kFrameTime = 400000;

class GenericVideoDecoderTest : public FilterGraphTest {
 protected:
  // Source -> decoder -> a log that takes the subtype given (any video by default).
  SampleLogRenderer *BuildDecode(const std::string &path, const GUID &subtype = GUID{}) {
    IBaseFilter *source = AddSource(path);
    IBaseFilter *decoder = AddDecoder();
    SampleLogRenderer *log = AddLog(MEDIATYPE_Video, subtype);
    EXPECT_HR(S_OK, graph_->ConnectDirect(PinOf(source, L"Video"), PinOf(decoder, L"In"), nullptr));
    EXPECT_HR(S_OK, graph_->ConnectDirect(PinOf(decoder, L"Out"), log->Input(), nullptr));
    return log;
  }
};

struct DecodedClip {
  const char *clip;
  LONG width, height;
  size_t frames;
  DWORD aspectX, aspectY;
};

// Every frame, in presentation order, at its time.
TEST_F(GenericVideoDecoderTest, DecodesEveryFrameOfEachClip) {
  const DecodedClip cases[] = {
      {"clip-h264.m4v", 320, 240, 50, 4, 3},
      {"clip-h264-annexb.ts", 320, 240, 50, 4, 3},
      {"clip-h264-aac.mov", 320, 240, 50, 4, 3},
      {"clip-mpeg4.mp4", 320, 240, 50, 4, 3},
      {"clip-h264-anamorphic.mp4", 720, 576, 25, 16, 9},
  };
  for (const DecodedClip &c : cases) {
    SCOPED_TRACE(c.clip);
    SampleLogRenderer *log = BuildDecode(ClipPath(c.clip));
    ASSERT_EQ(RunToEnd(), EC_COMPLETE);
    const SampleLog decoded = log->Log();
    EXPECT_TRUE(IsEqualGUID(decoded.type->subtype, MEDIASUBTYPE_YV12));
    const auto *header = decoded.type.FormatAs<VIDEOINFOHEADER2>(FORMAT_VideoInfo2);
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->bmiHeader.biWidth, c.width);
    EXPECT_EQ(header->bmiHeader.biHeight, c.height);
    EXPECT_EQ(header->AvgTimePerFrame, kFrameTime);
    EXPECT_EQ(header->dwPictAspectRatioX, c.aspectX);
    EXPECT_EQ(header->dwPictAspectRatioY, c.aspectY);
    ASSERT_EQ(decoded.samples.size(), c.frames);
    for (size_t i = 0; i < decoded.samples.size(); ++i) {
      const LoggedSample &frame = decoded.samples[i];
      ASSERT_TRUE(frame.start && frame.stop) << "frame " << i;
      EXPECT_EQ(*frame.start, static_cast<REFERENCE_TIME>(i) * kFrameTime) << "frame " << i;
      EXPECT_EQ(*frame.stop, *frame.start + kFrameTime) << "frame " << i;
      EXPECT_TRUE(frame.syncPoint) << "frame " << i;
      EXPECT_EQ(frame.discontinuity, i == 0) << "frame " << i;
      EXPECT_EQ(frame.length, c.width * c.height * 3 / 2) << "frame " << i;
    }
    graph_->RemoveFilter(log);  // the next clip's filters get the same names
    for (const wchar_t *name : {L"Source", L"Decoder"}) {
      CComPtr<IBaseFilter> filter;
      graph_->FindFilterByName(name, &filter);
      graph_->RemoveFilter(filter);
    }
  }
}

std::vector<BYTE> Yv12Of(const ReferencePicture &picture) {
  std::vector<BYTE> bytes = picture.y;
  bytes.insert(bytes.end(), picture.v.begin(), picture.v.end());
  bytes.insert(bytes.end(), picture.u.begin(), picture.u.end());
  return bytes;
}

std::vector<BYTE> Nv12Of(const ReferencePicture &picture) {
  std::vector<BYTE> bytes = picture.y;
  for (size_t i = 0; i < picture.u.size(); ++i) {
    bytes.push_back(picture.u[i]);
    bytes.push_back(picture.v[i]);
  }
  return bytes;
}

// RGB32 with a positive height: the bottom line first.
std::vector<BYTE> BottomUpRgb32Of(const ReferencePicture &picture) {
  const size_t stride = static_cast<size_t>(picture.width) * 4;
  std::vector<BYTE> bytes;
  for (int line = picture.height - 1; line >= 0; --line) {
    const BYTE *start = picture.bgra.data() + line * stride;
    bytes.insert(bytes.end(), start, start + stride);
  }
  return bytes;
}

struct PixelCase {
  const char *name;
  GUID subtype;
  std::vector<BYTE> (*expected)(const ReferencePicture &);
};

void PrintTo(const PixelCase &pixels, std::ostream *out) { *out << pixels.name; }

class GenericVideoDecoderPixels : public GenericVideoDecoderTest, public ::testing::WithParamInterface<PixelCase> {};

TEST_P(GenericVideoDecoderPixels, FirstFrameEqualsAStraightDecode) {
  const auto reference = FirstPicture(ClipPath("clip-h264.m4v"));
  ASSERT_TRUE(reference);
  SampleLogRenderer *log = BuildDecode(ClipPath("clip-h264.m4v"), GetParam().subtype);
  ASSERT_EQ(RunToEnd(), EC_COMPLETE);
  const SampleLog decoded = log->Log();
  EXPECT_TRUE(IsEqualGUID(decoded.type->subtype, GetParam().subtype));
  ASSERT_FALSE(decoded.samples.empty());
  EXPECT_TRUE(decoded.samples[0].data == GetParam().expected(*reference)) << "the first frame's pixels differ";
}

INSTANTIATE_TEST_SUITE_P(Formats, GenericVideoDecoderPixels,
                         ::testing::Values(PixelCase{"YV12", MEDIASUBTYPE_YV12, &Yv12Of},
                                           PixelCase{"NV12", MEDIASUBTYPE_NV12, &Nv12Of},
                                           PixelCase{"RGB32", MEDIASUBTYPE_RGB32, &BottomUpRgb32Of}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(GenericVideoDecoderTest, TakesCompressedVideoOnly) {
  IBaseFilter *source = AddSource(ClipPath("clip-h264-aac.mp4"));
  IBaseFilter *decoder = AddDecoder();
  IPin *input = PinOf(decoder, L"In");
  const MediaType video = FirstMediaType(PinOf(source, L"Video"));
  EXPECT_HR(S_OK, input->QueryAccept(&video.Get()));
  const MediaType audio = FirstMediaType(PinOf(source, L"Audio"));
  EXPECT_HR(S_FALSE, input->QueryAccept(&audio.Get()));
  EXPECT_HR(VFW_E_NO_ACCEPTABLE_TYPES, graph_->ConnectDirect(PinOf(source, L"Audio"), input, nullptr));
  // Its own output is no input for it.
  ASSERT_HR(S_OK, graph_->ConnectDirect(PinOf(source, L"Video"), input, nullptr));
  const MediaType decoded = FirstMediaType(PinOf(decoder, L"Out"));
  EXPECT_TRUE(IsEqualGUID(decoded->subtype, MEDIASUBTYPE_YV12));
  EXPECT_HR(S_FALSE, input->QueryAccept(&decoded.Get()));
}

// Stopping while the renderer holds the stream back is no error.
TEST_F(GenericVideoDecoderTest, StopWhilePausedReportsNoError) {
  BuildDecode(ClipPath("sample.mp4"));
  control_->Pause();
  OAFilterState state = State_Stopped;
  EXPECT_HR(S_OK, control_->GetState(10000, &state));
  EXPECT_HR(S_OK, control_->Stop());
  LONG code = 0;
  LONG_PTR param1 = 0, param2 = 0;
  while (events_->GetEvent(&code, &param1, &param2, 200) == S_OK) {
    events_->FreeEventParams(code, param1, param2);
    EXPECT_NE(code, EC_ERRORABORT) << "error " << media_testing::Hex(static_cast<HRESULT>(param1));
  }
}

// Damaged data in the middle of the clip is passed over.
TEST_F(GenericVideoDecoderTest, DamagedClipStillPlaysToTheEnd) {
  const std::string damaged = ScratchPath("damaged.m4v");
  ASSERT_TRUE(WriteDamagedCopy(ClipPath("clip-h264.m4v"), damaged, 0.3, 0.4));
  SampleLogRenderer *log = BuildDecode(damaged);
  EXPECT_EQ(RunToEnd(), EC_COMPLETE);
  EXPECT_GT(log->Log().samples.size(), 25u);
  std::filesystem::remove(damaged);
}

// A decoder on a chosen number of threads decodes the same frames.
TEST_F(GenericVideoDecoderTest, ADecoderOnGivenThreadsGivesTheSameFrames) {
  using platform::media::ffmpeg::GenericVideoDecoder;
  void *refused = reinterpret_cast<void *>(1);
  EXPECT_HR(E_INVALIDARG, GenericVideoDecoder::CreateWithThreads(-1, IID_IBaseFilter, &refused));
  EXPECT_EQ(refused, nullptr);
  const std::vector<std::string> reference = Yv12Digests(ClipPath("clip-h264.m4v"));
  for (const int threads : {1, 2}) {
    SCOPED_TRACE("threads " + std::to_string(threads));
    CComPtr<IBaseFilter> decoder;
    ASSERT_HR(S_OK, GenericVideoDecoder::CreateWithThreads(threads, IID_IBaseFilter, reinterpret_cast<void **>(&decoder)));
    IBaseFilter *source = AddSource(ClipPath("clip-h264.m4v"));
    SampleLogRenderer *log = AddLog(MEDIATYPE_Video, MEDIASUBTYPE_YV12);
    ASSERT_HR(S_OK, graph_->AddFilter(decoder, L"Decoder on threads"));
    ASSERT_HR(S_OK, graph_->ConnectDirect(PinOf(source, L"Video"), PinOf(decoder, L"In"), nullptr));
    ASSERT_HR(S_OK, graph_->ConnectDirect(PinOf(decoder, L"Out"), log->Input(), nullptr));
    ASSERT_EQ(RunToEnd(), EC_COMPLETE);
    std::vector<std::string> digests;
    for (const LoggedSample &frame : log->Log().samples) digests.push_back(frame.digest);
    EXPECT_EQ(digests, reference);
    for (IBaseFilter *filter : {static_cast<IBaseFilter *>(log), decoder.p, source}) graph_->RemoveFilter(filter);
  }
}

}  // namespace
}  // namespace ffmpeg_testing
