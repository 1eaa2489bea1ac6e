// The generic audio decoder's media types: which compressed subtypes it
// takes (and refuses), and the PCM types it offers.
#include "media/ffmpeg/audio_decoder_types.h"

#include <mmreg.h>
#include <uuids.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "media/ffmpeg/compressed_subtypes.h"

namespace {

using platform::media::MediaType;
using namespace platform::media::ffmpeg;

MediaType AudioType(WORD tag, WORD channels, DWORD rate, std::vector<BYTE> configuration = {},
                    const GUID &formatType = FORMAT_WaveFormatEx) {
  std::vector<BYTE> block(sizeof(WAVEFORMATEX) + configuration.size());
  WAVEFORMATEX wave{};
  wave.wFormatTag = tag;
  wave.nChannels = channels;
  wave.nSamplesPerSec = rate;
  wave.nBlockAlign = 1;
  wave.cbSize = static_cast<WORD>(configuration.size());
  std::memcpy(block.data(), &wave, sizeof wave);
  if (!configuration.empty()) std::memcpy(block.data() + sizeof wave, configuration.data(), configuration.size());
  return MediaType(MEDIATYPE_Audio, SubtypeOfTag(tag), formatType, block.data(), block.size());
}

struct InputCase {
  const char *name;
  MediaType type;
  AVCodecID expected;  // AV_CODEC_ID_NONE: refused
};

TEST(AudioDecoderTypesTest, TakesTheListedSubtypesOnly) {
  const std::vector<BYTE> aacConfig = {0x11, 0x90};
  const InputCase cases[] = {
      {"AAC raw", AudioType(kWaveTagRawAac, 2, 48000, aacConfig), AV_CODEC_ID_AAC},
      {"AAC ADTS", AudioType(kWaveTagAdtsAac, 2, 48000), AV_CODEC_ID_AAC},
      {"MP3", AudioType(kWaveTagMp3, 2, 44100), AV_CODEC_ID_MP3},
      {"MPEG Layer II", AudioType(0x0050, 2, 48000), AV_CODEC_ID_MP2},
      {"AC-3", AudioType(0x2000, 6, 48000), AV_CODEC_ID_AC3},
      {"FLAC", AudioType(0xF1AC, 2, 44100, std::vector<BYTE>(34, 0)), AV_CODEC_ID_FLAC},
      {"Opus", AudioType(0x704F, 2, 48000), AV_CODEC_ID_NONE},
      {"Vorbis", AudioType(0x566F, 2, 48000), AV_CODEC_ID_NONE},
      {"A-law", AudioType(0x0006, 1, 8000), AV_CODEC_ID_NONE},
      {"PCM (for the renderer)", AudioType(WAVE_FORMAT_PCM, 2, 48000), AV_CODEC_ID_NONE},
      {"float (for the renderer)", AudioType(WAVE_FORMAT_IEEE_FLOAT, 2, 48000), AV_CODEC_ID_NONE},
      {"no channels", AudioType(kWaveTagMp3, 0, 44100), AV_CODEC_ID_NONE},
      {"no sample rate", AudioType(kWaveTagMp3, 2, 0), AV_CODEC_ID_NONE},
      {"another format block", AudioType(kWaveTagMp3, 2, 44100, {}, FORMAT_VideoInfo), AV_CODEC_ID_NONE},
  };
  for (const InputCase &c : cases) {
    const auto input = DescribeAudioDecoderInput(c.type.Get());
    EXPECT_EQ(input ? input->codec : AV_CODEC_ID_NONE, c.expected) << c.name;
  }
}

TEST(AudioDecoderTypesTest, RefusesFormatBlocksThatDoNotHoldTheirConfiguration) {
  MediaType tagged = AudioType(kWaveTagRawAac, 2, 48000, {0x11, 0x90});
  AM_MEDIA_TYPE cut = tagged.Get();
  cut.cbFormat -= 1;  // cbSize counts a byte the block lacks
  EXPECT_FALSE(DescribeAudioDecoderInput(cut));
  cut.cbFormat = sizeof(WAVEFORMATEX) - 1;
  EXPECT_FALSE(DescribeAudioDecoderInput(cut));
  MediaType wrongSubtype = AudioType(kWaveTagMp3, 2, 44100);
  AM_MEDIA_TYPE aacSubtype = wrongSubtype.Get();
  aacSubtype.subtype = SubtypeOfTag(kWaveTagRawAac);  // the tag in the block says MP3
  EXPECT_FALSE(DescribeAudioDecoderInput(aacSubtype));
}

struct OutputCase {
  WORD inputChannels;
  ULONG position;
  const GUID *subtype;
  WORD tag, bits, channels;
};

// 16-bit PCM first, then float; more than two channels are mixed down to two.
TEST(AudioDecoderTypesTest, OffersPcmThenFloatAtTheInputsRate) {
  const OutputCase cases[] = {
      {2, 0, &MEDIASUBTYPE_PCM, WAVE_FORMAT_PCM, 16, 2},
      {2, 1, &MEDIASUBTYPE_IEEE_FLOAT, WAVE_FORMAT_IEEE_FLOAT, 32, 2},
      {1, 0, &MEDIASUBTYPE_PCM, WAVE_FORMAT_PCM, 16, 1},
      {6, 0, &MEDIASUBTYPE_PCM, WAVE_FORMAT_PCM, 16, 2},
      {6, 1, &MEDIASUBTYPE_IEEE_FLOAT, WAVE_FORMAT_IEEE_FLOAT, 32, 2},
  };
  for (const OutputCase &c : cases) {
    SCOPED_TRACE(testing::Message() << c.inputChannels << " channels, position " << c.position);
    const auto input = DescribeAudioDecoderInput(AudioType(0x2000, c.inputChannels, 44100).Get());
    ASSERT_TRUE(input);
    const auto type = AudioDecoderOutputType(*input, c.position);
    ASSERT_TRUE(type);
    EXPECT_TRUE(IsEqualGUID(type->Get().subtype, *c.subtype));
    const auto *wave = type->FormatAs<WAVEFORMATEX>(FORMAT_WaveFormatEx);
    ASSERT_NE(wave, nullptr);
    EXPECT_EQ(wave->wFormatTag, c.tag);
    EXPECT_EQ(wave->wBitsPerSample, c.bits);
    EXPECT_EQ(wave->nChannels, c.channels);
    EXPECT_EQ(wave->nSamplesPerSec, 44100u);
    EXPECT_EQ(wave->nBlockAlign, c.channels * c.bits / 8);
    EXPECT_EQ(wave->nAvgBytesPerSec, 44100u * wave->nBlockAlign);
    EXPECT_EQ(type->Get().lSampleSize, wave->nBlockAlign);
    const auto output = DescribeAudioDecoderOutput(type->Get());
    ASSERT_TRUE(output) << "the decoder takes back what it offers";
    EXPECT_EQ(output->channels, c.channels);
    EXPECT_EQ(output->blockAlign, wave->nBlockAlign);
  }
  const auto input = DescribeAudioDecoderInput(AudioType(kWaveTagMp3, 2, 44100).Get());
  EXPECT_FALSE(AudioDecoderOutputType(*input, 2));
}

}  // namespace
