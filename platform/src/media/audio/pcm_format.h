// The sound the audio renderer plays: uncompressed audio (MEDIATYPE_Audio,
// FORMAT_WaveFormatEx) as MEDIASUBTYPE_PCM with WAVE_FORMAT_PCM, 8-bit
// unsigned, 16-bit or 32-bit signed samples, or as MEDIASUBTYPE_IEEE_FLOAT
// with WAVE_FORMAT_IEEE_FLOAT, 32-bit samples; 1 to 8 interleaved channels
// (nBlockAlign bytes a sample of all channels), 1 kHz to 384 kHz (pure
// functions).
#pragma once

#include <platform_filters/media_type.h>

#include <cstdint>
#include <optional>

namespace platform::media::audio {

struct PcmFormat {
  WORD channels = 0;
  DWORD samplesPerSec = 0;
  WORD bitsPerSample = 0;
  bool isFloat = false;
  WORD blockAlign = 0;

  // How long that many bytes play (whole samples of all channels only).
  REFERENCE_TIME DurationOf(uint64_t bytes) const;
  // The bytes of that long a stretch, in whole samples of all channels.
  uint64_t BytesOf(REFERENCE_TIME duration) const;
  // The byte value of silence: 0x80 for 8-bit samples, 0 otherwise.
  BYTE SilenceByte() const;
};

// Empty for a type the renderer does not play.
std::optional<PcmFormat> DescribePcm(const AM_MEDIA_TYPE &type);

}  // namespace platform::media::audio
