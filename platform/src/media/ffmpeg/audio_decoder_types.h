// The media types of the generic audio decoder (pure functions).
//
// Input: compressed audio (MEDIATYPE_Audio, FORMAT_WaveFormatEx) in one of
// the subtypes of this list, named by their wave format tags as the media
// file source offers them (compressed_subtypes.h):
//   0x00FF  AAC, raw frames; the AudioSpecificConfig follows the WAVEFORMATEX
//   0x1600  AAC, each frame behind its ADTS header
//   0x0055  MPEG-1/2 Layer III (MP3)
//   0x0050  MPEG-1/2 Layer II
//   0x2000  AC-3
//   0xF1AC  FLAC; its stream header follows the WAVEFORMATEX
// The format block must give the channel count and the sample rate; the
// codec's configuration is the cbSize bytes after the WAVEFORMATEX. Any
// other subtype (Opus, Vorbis, ...) is refused, so that a graph build
// reports that stream as one it could not render.
//
// Output: interleaved samples at the input's sample rate, with the input's
// channels, or mixed down to two for more than two, in this order of
// preference: 16-bit PCM (MEDIASUBTYPE_PCM, WAVE_FORMAT_PCM), then 32-bit
// float (MEDIASUBTYPE_IEEE_FLOAT, WAVE_FORMAT_IEEE_FLOAT). 16-bit PCM comes
// first because every audio renderer takes it.
#pragma once

#include <platform_filters/media_type.h>

extern "C" {
#include <libavcodec/codec_id.h>
#include <libavutil/samplefmt.h>
}

#include <optional>
#include <span>
#include <vector>

namespace platform::media::ffmpeg {

struct AudioDecoderInput {
  AVCodecID codec = AV_CODEC_ID_NONE;
  std::vector<BYTE> configuration;  // libavcodec's extradata
  WORD channels = 0;
  DWORD samplesPerSec = 0;
  WORD blockAlign = 0;
  DWORD bitRate = 0;  // bits per second, 0 when not known
};

// The input types of the list and the output types, for the filter's registration.
std::span<const REGPINTYPES> AudioDecoderInputPinTypes();
std::span<const REGPINTYPES> AudioDecoderOutputPinTypes();

// Empty for a type the decoder does not take.
std::optional<AudioDecoderInput> DescribeAudioDecoderInput(const AM_MEDIA_TYPE &type);

// The output type at a position of the preference order, empty past the last.
std::optional<MediaType> AudioDecoderOutputType(const AudioDecoderInput &input, ULONG position);

struct AudioDecoderOutput {
  AVSampleFormat sampleFormat = AV_SAMPLE_FMT_NONE;  // interleaved
  WORD channels = 0;
  DWORD samplesPerSec = 0;
  WORD blockAlign = 0;
};

// Empty for an output type the decoder does not give.
std::optional<AudioDecoderOutput> DescribeAudioDecoderOutput(const AM_MEDIA_TYPE &type);

}  // namespace platform::media::ffmpeg
