// The sound formats the audio renderer plays.
#include "media/audio/pcm_format.h"

#include <mmreg.h>
#include <uuids.h>

#include <cstring>

namespace platform::media::audio {
namespace {

constexpr int64_t kUnitsPerSecond = 10000000;  // REFERENCE_TIME's 100 ns
constexpr WORD kMostChannels = 8;
constexpr DWORD kLowestRate = 1000;
constexpr DWORD kHighestRate = 384000;

bool TakenSampleSize(const WAVEFORMATEX &wave) {
  switch (wave.wFormatTag) {
    case WAVE_FORMAT_PCM:
      return wave.wBitsPerSample == 8 || wave.wBitsPerSample == 16 || wave.wBitsPerSample == 32;
    case WAVE_FORMAT_IEEE_FLOAT:
      return wave.wBitsPerSample == 32;
    default:
      return false;
  }
}

bool SubtypeFitsTag(const GUID &subtype, WORD tag) {
  return (tag == WAVE_FORMAT_PCM && IsEqualGUID(subtype, MEDIASUBTYPE_PCM)) ||
         (tag == WAVE_FORMAT_IEEE_FLOAT && IsEqualGUID(subtype, MEDIASUBTYPE_IEEE_FLOAT));
}

bool TakenLayout(const WAVEFORMATEX &wave) {
  return wave.nChannels >= 1 && wave.nChannels <= kMostChannels && wave.nSamplesPerSec >= kLowestRate &&
         wave.nSamplesPerSec <= kHighestRate && wave.nBlockAlign == wave.nChannels * wave.wBitsPerSample / 8;
}

}  // namespace

// Whole seconds and the rest apart, so that no product overflows.
REFERENCE_TIME PcmFormat::DurationOf(uint64_t bytes) const {
  const uint64_t samples = bytes / blockAlign;
  return static_cast<REFERENCE_TIME>(samples / samplesPerSec * kUnitsPerSecond +
                                     samples % samplesPerSec * kUnitsPerSecond / samplesPerSec);
}

uint64_t PcmFormat::BytesOf(REFERENCE_TIME duration) const {
  if (duration <= 0) return 0;
  const uint64_t units = static_cast<uint64_t>(duration);
  const uint64_t samples = units / kUnitsPerSecond * samplesPerSec + units % kUnitsPerSecond * samplesPerSec / kUnitsPerSecond;
  return samples * blockAlign;
}

BYTE PcmFormat::SilenceByte() const { return !isFloat && bitsPerSample == 8 ? 0x80 : 0; }

std::optional<PcmFormat> DescribePcm(const AM_MEDIA_TYPE &type) {
  if (!IsEqualGUID(type.majortype, MEDIATYPE_Audio) || !IsEqualGUID(type.formattype, FORMAT_WaveFormatEx) ||
      !type.pbFormat || type.cbFormat < sizeof(WAVEFORMATEX)) {
    return std::nullopt;
  }
  WAVEFORMATEX wave{};
  std::memcpy(&wave, type.pbFormat, sizeof wave);
  if (!SubtypeFitsTag(type.subtype, wave.wFormatTag) || !TakenSampleSize(wave) || !TakenLayout(wave)) {
    return std::nullopt;
  }
  return PcmFormat{wave.nChannels, wave.nSamplesPerSec, wave.wBitsPerSample, wave.wFormatTag == WAVE_FORMAT_IEEE_FLOAT,
                   wave.nBlockAlign};
}

}  // namespace platform::media::audio
