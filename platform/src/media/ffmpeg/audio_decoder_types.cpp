// The media types of the generic audio decoder.
#include "media/ffmpeg/audio_decoder_types.h"

#include <mmreg.h>
#include <uuids.h>

#include <algorithm>
#include <cstring>
#include <iterator>

#include "media/ffmpeg/compressed_subtypes.h"

namespace platform::media::ffmpeg {
namespace {

struct DecodedSubtype {
  WORD tag;  // the wave format tag the subtype carries
  AVCodecID codec;
};

// The list in audio_decoder_types.h.
constexpr DecodedSubtype kDecodedSubtypes[] = {
    {kWaveTagRawAac, AV_CODEC_ID_AAC}, {kWaveTagAdtsAac, AV_CODEC_ID_AAC}, {kWaveTagMp3, AV_CODEC_ID_MP3},
    {0x0050, AV_CODEC_ID_MP2},         {0x2000, AV_CODEC_ID_AC3},          {0xF1AC, AV_CODEC_ID_FLAC},
};

struct SampleKind {
  const GUID *subtype;
  WORD tag;
  WORD bitsPerSample;
  AVSampleFormat sampleFormat;
};

// In the order of preference.
const SampleKind kSampleKinds[] = {
    {&MEDIASUBTYPE_PCM, WAVE_FORMAT_PCM, 16, AV_SAMPLE_FMT_S16},
    {&MEDIASUBTYPE_IEEE_FLOAT, WAVE_FORMAT_IEEE_FLOAT, 32, AV_SAMPLE_FMT_FLT},
};

constexpr WORD kMostOutputChannels = 2;
constexpr WORD kMostInputChannels = 64;
constexpr DWORD kHighestRate = 768000;

std::optional<WAVEFORMATEX> WaveFormatOf(const AM_MEDIA_TYPE &type) {
  if (!IsEqualGUID(type.majortype, MEDIATYPE_Audio) || !IsEqualGUID(type.formattype, FORMAT_WaveFormatEx) ||
      !type.pbFormat || type.cbFormat < sizeof(WAVEFORMATEX)) {
    return std::nullopt;
  }
  WAVEFORMATEX wave{};
  std::memcpy(&wave, type.pbFormat, sizeof wave);
  return wave;
}

AVCodecID DecodedCodecOf(const GUID &subtype, WORD formatTag) {
  const auto tag = TagOfSubtype(subtype);
  if (!tag || *tag != formatTag) return AV_CODEC_ID_NONE;
  const auto listed = std::find_if(std::begin(kDecodedSubtypes), std::end(kDecodedSubtypes),
                                   [&](const DecodedSubtype &entry) { return entry.tag == *tag; });
  return listed != std::end(kDecodedSubtypes) ? listed->codec : AV_CODEC_ID_NONE;
}

}  // namespace

std::span<const REGPINTYPES> AudioDecoderInputPinTypes() {
  static const auto subtypes = [] {
    std::vector<GUID> made;
    for (const DecodedSubtype &entry : kDecodedSubtypes) made.push_back(SubtypeOfTag(entry.tag));
    return made;
  }();
  static const auto types = [] {
    std::vector<REGPINTYPES> made;
    for (const GUID &subtype : subtypes) made.push_back({&MEDIATYPE_Audio, &subtype});
    return made;
  }();
  return types;
}

std::span<const REGPINTYPES> AudioDecoderOutputPinTypes() {
  static const auto types = [] {
    std::vector<REGPINTYPES> made;
    for (const SampleKind &kind : kSampleKinds) made.push_back({&MEDIATYPE_Audio, kind.subtype});
    return made;
  }();
  return types;
}

std::optional<AudioDecoderInput> DescribeAudioDecoderInput(const AM_MEDIA_TYPE &type) {
  const auto wave = WaveFormatOf(type);
  if (!wave) return std::nullopt;
  AudioDecoderInput input;
  input.codec = DecodedCodecOf(type.subtype, wave->wFormatTag);
  if (input.codec == AV_CODEC_ID_NONE || wave->cbSize > type.cbFormat - sizeof(WAVEFORMATEX)) return std::nullopt;
  if (wave->nChannels == 0 || wave->nChannels > kMostInputChannels || wave->nSamplesPerSec == 0 ||
      wave->nSamplesPerSec > kHighestRate) {
    return std::nullopt;
  }
  input.channels = wave->nChannels;
  input.samplesPerSec = wave->nSamplesPerSec;
  input.blockAlign = wave->nBlockAlign;
  input.bitRate = wave->nAvgBytesPerSec * 8;
  input.configuration.assign(type.pbFormat + sizeof(WAVEFORMATEX), type.pbFormat + sizeof(WAVEFORMATEX) + wave->cbSize);
  return input;
}

std::optional<MediaType> AudioDecoderOutputType(const AudioDecoderInput &input, ULONG position) {
  if (position >= std::size(kSampleKinds)) return std::nullopt;
  const SampleKind &kind = kSampleKinds[position];
  WAVEFORMATEX wave{};
  wave.wFormatTag = kind.tag;
  wave.nChannels = std::min(input.channels, kMostOutputChannels);
  wave.nSamplesPerSec = input.samplesPerSec;
  wave.wBitsPerSample = kind.bitsPerSample;
  wave.nBlockAlign = static_cast<WORD>(wave.nChannels * kind.bitsPerSample / 8);
  wave.nAvgBytesPerSec = wave.nSamplesPerSec * wave.nBlockAlign;
  return MediaType(MEDIATYPE_Audio, *kind.subtype, FORMAT_WaveFormatEx, &wave, sizeof wave, wave.nBlockAlign);
}

std::optional<AudioDecoderOutput> DescribeAudioDecoderOutput(const AM_MEDIA_TYPE &type) {
  const auto wave = WaveFormatOf(type);
  if (!wave) return std::nullopt;
  const auto kind = std::find_if(std::begin(kSampleKinds), std::end(kSampleKinds), [&](const SampleKind &candidate) {
    return IsEqualGUID(type.subtype, *candidate.subtype) && wave->wFormatTag == candidate.tag &&
           wave->wBitsPerSample == candidate.bitsPerSample;
  });
  if (kind == std::end(kSampleKinds)) return std::nullopt;
  if (wave->nChannels == 0 || wave->nChannels > kMostOutputChannels || wave->nSamplesPerSec == 0 ||
      wave->nSamplesPerSec > kHighestRate || wave->nBlockAlign != wave->nChannels * kind->bitsPerSample / 8) {
    return std::nullopt;
  }
  return AudioDecoderOutput{kind->sampleFormat, wave->nChannels, wave->nSamplesPerSec, wave->nBlockAlign};
}

}  // namespace platform::media::ffmpeg
