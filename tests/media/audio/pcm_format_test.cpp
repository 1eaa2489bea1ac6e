// The sound formats the audio renderer plays, and its byte and time sums.
#include "media/audio/pcm_format.h"

#include <mmreg.h>
#include <uuids.h>

#include <gtest/gtest.h>

namespace {

using platform::media::MediaType;
using platform::media::audio::DescribePcm;
using platform::media::audio::PcmFormat;

struct FormatCase {
  const char *name;
  GUID subtype;
  WORD tag, channels, bits, blockAlign;
  DWORD rate;
  bool taken;
};

MediaType TypeOf(const FormatCase &c, size_t formatSize = sizeof(WAVEFORMATEX)) {
  WAVEFORMATEX wave{};
  wave.wFormatTag = c.tag;
  wave.nChannels = c.channels;
  wave.nSamplesPerSec = c.rate;
  wave.wBitsPerSample = c.bits;
  wave.nBlockAlign = c.blockAlign;
  wave.nAvgBytesPerSec = c.rate * c.blockAlign;
  return MediaType(MEDIATYPE_Audio, c.subtype, FORMAT_WaveFormatEx, &wave, formatSize);
}

TEST(PcmFormatTest, TakesIntegerAndFloatPcmOnly) {
  const FormatCase cases[] = {
      {"16-bit stereo", MEDIASUBTYPE_PCM, WAVE_FORMAT_PCM, 2, 16, 4, 48000, true},
      {"8-bit mono", MEDIASUBTYPE_PCM, WAVE_FORMAT_PCM, 1, 8, 1, 8000, true},
      {"32-bit integer", MEDIASUBTYPE_PCM, WAVE_FORMAT_PCM, 2, 32, 8, 44100, true},
      {"float 5.1", MEDIASUBTYPE_IEEE_FLOAT, WAVE_FORMAT_IEEE_FLOAT, 6, 32, 24, 48000, true},
      {"24-bit", MEDIASUBTYPE_PCM, WAVE_FORMAT_PCM, 2, 24, 6, 48000, false},
      {"64-bit float", MEDIASUBTYPE_IEEE_FLOAT, WAVE_FORMAT_IEEE_FLOAT, 2, 64, 16, 48000, false},
      {"subtype and tag disagree", MEDIASUBTYPE_PCM, WAVE_FORMAT_IEEE_FLOAT, 2, 32, 8, 48000, false},
      {"extensible", MEDIASUBTYPE_PCM, WAVE_FORMAT_EXTENSIBLE, 2, 16, 4, 48000, false},
      {"wrong block size", MEDIASUBTYPE_PCM, WAVE_FORMAT_PCM, 2, 16, 2, 48000, false},
      {"no channels", MEDIASUBTYPE_PCM, WAVE_FORMAT_PCM, 0, 16, 0, 48000, false},
      {"nine channels", MEDIASUBTYPE_PCM, WAVE_FORMAT_PCM, 9, 16, 18, 48000, false},
      {"no sample rate", MEDIASUBTYPE_PCM, WAVE_FORMAT_PCM, 2, 16, 4, 0, false},
      {"rate beyond 384 kHz", MEDIASUBTYPE_PCM, WAVE_FORMAT_PCM, 2, 16, 4, 768000, false},
  };
  for (const FormatCase &c : cases) {
    const auto format = DescribePcm(TypeOf(c).Get());
    EXPECT_EQ(format.has_value(), c.taken) << c.name;
    if (format) {
      EXPECT_EQ(format->channels, c.channels) << c.name;
      EXPECT_EQ(format->samplesPerSec, c.rate) << c.name;
      EXPECT_EQ(format->blockAlign, c.blockAlign) << c.name;
      EXPECT_EQ(format->isFloat, c.tag == WAVE_FORMAT_IEEE_FLOAT) << c.name;
    }
  }
}

TEST(PcmFormatTest, RefusesShortFormatBlocksAndOtherMajorTypes) {
  const FormatCase stereo{"16-bit stereo", MEDIASUBTYPE_PCM, WAVE_FORMAT_PCM, 2, 16, 4, 48000, true};
  EXPECT_FALSE(DescribePcm(TypeOf(stereo, sizeof(WAVEFORMATEX) - 2).Get()));
  MediaType video = TypeOf(stereo);
  AM_MEDIA_TYPE asVideo = video.Get();
  asVideo.majortype = MEDIATYPE_Video;
  EXPECT_FALSE(DescribePcm(asVideo));
}

TEST(PcmFormatTest, DurationsAndSizesCountWholeSamples) {
  const PcmFormat stereo{2, 48000, 16, false, 4};
  EXPECT_EQ(stereo.DurationOf(192000), 10000000);
  EXPECT_EQ(stereo.DurationOf(4096), 213333);
  EXPECT_EQ(stereo.DurationOf(3), 0) << "less than a sample of all channels";
  EXPECT_EQ(stereo.BytesOf(10000000), 192000u);
  EXPECT_EQ(stereo.BytesOf(5000000), 96000u);
  EXPECT_EQ(stereo.BytesOf(-1), 0u);
  EXPECT_EQ(stereo.DurationOf(uint64_t{1} << 40), 57266230613333) << "no overflow for long streams";
  EXPECT_EQ(stereo.SilenceByte(), 0);
  const PcmFormat eightBit{1, 8000, 8, false, 1};
  EXPECT_EQ(eightBit.SilenceByte(), 0x80);
}

}  // namespace
