// The built-in generic audio decoder between the source and a sample log,
// on the generated clips (a 440 Hz tone, AAC, stereo, 48 kHz, 2 s).
#include "media/ffmpeg/generic_audio_decoder.h"

#include <evcode.h>
#include <mmreg.h>
#include <uuids.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "clip_files.h"
#include "ffmpeg_graph_fixture.h"
#include "media/ffmpeg/compressed_subtypes.h"

namespace ffmpeg_testing {
namespace {

using platform::media::MediaType;
using platform::media::ffmpeg::kGenericAudioDecoderClass;

constexpr REFERENCE_TIME kClipLength = 20000000;
// AAC frames are 1024 samples: 21.3 ms at 48 kHz.
constexpr REFERENCE_TIME kFrameLength = 213333;

class GenericAudioDecoderTest : public FilterGraphTest {
 protected:
  void TearDown() override {
    FilterGraphTest::TearDown();
    decoder_.Release();
  }

  IBaseFilter *AddAudioDecoder() {
    decoder_.Attach(CreateBuiltinFilter(kGenericAudioDecoderClass));
    EXPECT_HR(S_OK, graph_->AddFilter(decoder_, L"Audio Decoder"));
    return decoder_;
  }

  // Source -> decoder -> a log of audio in the subtype given (any by default).
  SampleLogRenderer *BuildDecode(const std::string &path, const GUID &subtype = GUID{}) {
    IBaseFilter *source = AddSource(path);
    IBaseFilter *decoder = AddAudioDecoder();
    SampleLogRenderer *log = AddLog(MEDIATYPE_Audio, subtype);
    EXPECT_HR(S_OK, graph_->ConnectDirect(PinOf(source, L"Audio"), PinOf(decoder, L"In"), nullptr));
    EXPECT_HR(S_OK, graph_->ConnectDirect(PinOf(decoder, L"Out"), log->Input(), nullptr));
    return log;
  }

  CComPtr<IBaseFilter> decoder_;
};

// How often the left channel of 16-bit stereo samples changes sign.
int SignChanges(const std::vector<BYTE> &data) {
  int changes = 0;
  int16_t previous = 0;
  for (size_t at = 0; at + 4 <= data.size(); at += 4) {
    int16_t left = 0;
    std::memcpy(&left, data.data() + at, sizeof left);
    if (at > 0 && (left < 0) != (previous < 0)) ++changes;
    previous = left;
  }
  return changes;
}

int16_t Loudest(const std::vector<BYTE> &data) {
  int16_t loudest = 0;
  for (size_t at = 0; at + 2 <= data.size(); at += 2) {
    int16_t value = 0;
    std::memcpy(&value, data.data() + at, sizeof value);
    loudest = std::max<int16_t>(loudest, static_cast<int16_t>(std::abs(value)));
  }
  return loudest;
}

class GenericAudioDecoderClips : public GenericAudioDecoderTest, public ::testing::WithParamInterface<const char *> {};

// Every frame, one after the other, as 16-bit stereo PCM at 48 kHz.
TEST_P(GenericAudioDecoderClips, DecodesTheWholeSound) {
  SampleLogRenderer *log = BuildDecode(ClipPath(GetParam()));
  ASSERT_EQ(RunToEnd(), EC_COMPLETE);
  const SampleLog decoded = log->Log();
  EXPECT_TRUE(IsEqualGUID(decoded.type->subtype, MEDIASUBTYPE_PCM));
  const auto *wave = decoded.type.FormatAs<WAVEFORMATEX>(FORMAT_WaveFormatEx);
  ASSERT_NE(wave, nullptr);
  EXPECT_EQ(wave->wFormatTag, WAVE_FORMAT_PCM);
  EXPECT_EQ(wave->nChannels, 2);
  EXPECT_EQ(wave->nSamplesPerSec, 48000u);
  EXPECT_EQ(wave->wBitsPerSample, 16);
  ASSERT_GT(decoded.samples.size(), 80u);
  LONG bytes = 0;
  for (size_t i = 0; i < decoded.samples.size(); ++i) {
    const LoggedSample &sample = decoded.samples[i];
    ASSERT_TRUE(sample.start && sample.stop) << "sample " << i;
    EXPECT_EQ(sample.length % 4, 0) << "sample " << i;
    EXPECT_EQ(*sample.stop - *sample.start, sample.length / 4 * REFERENCE_TIME{10000000} / 48000)
        << "sample " << i;
    if (i > 0) {
      EXPECT_NEAR(*sample.start, *decoded.samples[i - 1].stop, 1) << "sample " << i;
    }
    EXPECT_TRUE(sample.syncPoint) << "sample " << i;
    // The stream's first sample, the discontinuity, is preroll in clips whose
    // sound starts before time 0 (the AAC encoder's priming), and renderers
    // never take preroll: only the later samples are checked.
    if (i > 0) {
      EXPECT_FALSE(sample.discontinuity) << "sample " << i;
    }
    bytes += sample.length;
  }
  const REFERENCE_TIME played = *decoded.samples.back().stop - *decoded.samples.front().start;
  EXPECT_NEAR(played, kClipLength, 2 * kFrameLength);
  EXPECT_NEAR(bytes / 4, 96000, 2 * 1024);
}

INSTANTIATE_TEST_SUITE_P(Clips, GenericAudioDecoderClips,
                         ::testing::Values("clip-h264-aac.mp4", "clip-h264-aac.mov", "clip-aac-only.m4a"),
                         [](const auto &info) {
                           std::string name = info.param;
                           for (char &c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           return name;
                         });

// The fourth frame (past the encoder's priming) is the tone: 440 Hz changes
// sign 880 times a second, about 18.8 times in 1024 samples. The
// generator's mono tone peaks at an eighth of full scale; made stereo, each
// channel has it 3 dB down.
TEST_F(GenericAudioDecoderTest, DecodedSoundIsTheTone) {
  SampleLogRenderer *log = BuildDecode(ClipPath("clip-aac-only.m4a"));
  ASSERT_EQ(RunToEnd(), EC_COMPLETE);
  const SampleLog decoded = log->Log();
  ASSERT_GE(decoded.samples.size(), 4u);
  const std::vector<BYTE> &frame = decoded.samples[3].data;
  EXPECT_EQ(frame.size(), 4096u);
  EXPECT_NEAR(SignChanges(frame), 19, 2);
  EXPECT_NEAR(Loudest(frame), 4096 / std::sqrt(2.0), 300);
}

TEST_F(GenericAudioDecoderTest, GivesFloatWhenAskedFor) {
  SampleLogRenderer *log = BuildDecode(ClipPath("clip-aac-only.m4a"), MEDIASUBTYPE_IEEE_FLOAT);
  ASSERT_EQ(RunToEnd(), EC_COMPLETE);
  const SampleLog decoded = log->Log();
  const auto *wave = decoded.type.FormatAs<WAVEFORMATEX>(FORMAT_WaveFormatEx);
  ASSERT_NE(wave, nullptr);
  EXPECT_EQ(wave->wFormatTag, WAVE_FORMAT_IEEE_FLOAT);
  ASSERT_GE(decoded.samples.size(), 3u);
  EXPECT_EQ(decoded.samples[2].length, 1024 * 8);
  float first = 0;
  std::memcpy(&first, decoded.samples[2].data.data(), sizeof first);
  EXPECT_LE(std::abs(first), 1.0f);
}

// A type the source would give for a codec outside the list: the decoder
// refuses it, so a graph build finds no way to render such a stream.
TEST_F(GenericAudioDecoderTest, RefusesAudioOutsideItsList) {
  IBaseFilter *source = AddSource(ClipPath("clip-h264-aac.mp4"));
  IPin *input = PinOf(AddAudioDecoder(), L"In");
  const MediaType aac = FirstMediaType(PinOf(source, L"Audio"));
  EXPECT_HR(S_OK, input->QueryAccept(&aac.Get()));
  for (const WORD unlisted : {WORD{0x704F}, WORD{0x566F}, WORD{0x0006}, WORD{WAVE_FORMAT_PCM}}) {
    AM_MEDIA_TYPE other = aac.Get();
    other.subtype = platform::media::ffmpeg::SubtypeOfTag(unlisted);
    std::vector<BYTE> block(other.pbFormat, other.pbFormat + other.cbFormat);
    WAVEFORMATEX wave{};
    std::memcpy(&wave, block.data(), sizeof wave);
    wave.wFormatTag = unlisted;
    std::memcpy(block.data(), &wave, sizeof wave);
    other.pbFormat = block.data();
    EXPECT_HR(S_FALSE, input->QueryAccept(&other)) << "tag 0x" << std::hex << unlisted;
  }
  const MediaType video = FirstMediaType(PinOf(source, L"Video"));
  EXPECT_HR(VFW_E_NO_ACCEPTABLE_TYPES, graph_->ConnectDirect(PinOf(source, L"Video"), input, nullptr));
}

// After a seek the sound goes on from the new position: the first sample
// presented is a discontinuity at about the target.
TEST_F(GenericAudioDecoderTest, SeekWhilePausedDecodesFromTheNewPosition) {
  SampleLogRenderer *log = BuildDecode(ClipPath("clip-aac-only.m4a"));
  CComQIPtr<IMediaSeeking> seeking(graph_);
  ASSERT_TRUE(seeking);
  DWORD capabilities = 0;
  seeking->GetCapabilities(&capabilities);
  if (!(capabilities & AM_SEEKING_CanSeekAbsolute)) GTEST_SKIP() << "known gap: the media file source does not seek yet";
  control_->Pause();
  OAFilterState state = State_Stopped;
  ASSERT_HR(S_OK, control_->GetState(10000, &state));
  REFERENCE_TIME target = 10000000;
  ASSERT_HR(S_OK, seeking->SetPositions(&target, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning));
  ASSERT_EQ(RunToEnd(), EC_COMPLETE);
  const SampleLog decoded = log->Log();
  ASSERT_GT(decoded.samples.size(), 20u);
  const LoggedSample &first = decoded.samples.front();
  EXPECT_TRUE(first.discontinuity);
  ASSERT_TRUE(first.start);
  EXPECT_NEAR(static_cast<double>(decoded.segment.start + *first.start), static_cast<double>(target),
              2.0 * kFrameLength);
  const REFERENCE_TIME played = *decoded.samples.back().stop - *first.start;
  EXPECT_NEAR(played, kClipLength - target, 3 * kFrameLength);
}

// Damaged data in the middle of the clip is passed over.
TEST_F(GenericAudioDecoderTest, DamagedClipStillPlaysToTheEnd) {
  const std::string damaged = ScratchPath("damaged.m4a");
  ASSERT_TRUE(WriteDamagedCopy(ClipPath("clip-aac-only.m4a"), damaged, 0.3, 0.5));
  SampleLogRenderer *log = BuildDecode(damaged);
  EXPECT_EQ(RunToEnd(), EC_COMPLETE);
  EXPECT_GT(log->Log().samples.size(), 40u);
  std::filesystem::remove(damaged);
}

}  // namespace
}  // namespace ffmpeg_testing
