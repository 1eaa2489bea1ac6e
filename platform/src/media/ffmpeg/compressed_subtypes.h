// The media subtypes under which the built-in filters exchange compressed
// streams, and the FFmpeg codecs they stand for.
//
// Every such subtype is of the FOURCC form XXXXXXXX-0000-0010-8000-00AA00389B71:
// video carries a FOURCC ('MP4V', 'HEVC', ...) in the first field, audio its
// WAVEFORMATEX format tag. The table of the codecs we name ourselves comes
// first; for other codecs the FOURCCs and tags of AVI and WAV files, as
// libavformat knows them, are used.
#pragma once

#include <windows.h>

extern "C" {
#include <libavcodec/codec_id.h>
}

#include <optional>

namespace platform::media::ffmpeg {

// Wave format tags of the compressed audio we name.
constexpr WORD kWaveTagRawAac = 0x00FF;   // AAC frames, AudioSpecificConfig in the format block
constexpr WORD kWaveTagAdtsAac = 0x1600;  // AAC frames each behind an ADTS header
constexpr WORD kWaveTagMp3 = 0x0055;

constexpr DWORD MakeFourcc(char a, char b, char c, char d) {
  return static_cast<DWORD>(static_cast<BYTE>(a)) | static_cast<DWORD>(static_cast<BYTE>(b)) << 8 |
         static_cast<DWORD>(static_cast<BYTE>(c)) << 16 | static_cast<DWORD>(static_cast<BYTE>(d)) << 24;
}

// The subtype of a FOURCC or a wave format tag, and back (empty for a
// subtype of another form).
GUID SubtypeOfTag(DWORD tag);
std::optional<DWORD> TagOfSubtype(const GUID &subtype);

// The FOURCC a video codec is offered under, 0 when it has none. H.264 is
// 'H264' here; the source offers H.264 with length-prefixed units as 'AVC1'.
DWORD VideoFourccOf(AVCodecID codec);
// The codec of a video FOURCC, AV_CODEC_ID_NONE when unknown.
AVCodecID VideoCodecOf(DWORD fourcc);

// The format tag an audio codec is offered under, 0 when it has none. AAC
// depends on its framing: with a configuration (MP4, Matroska) its frames
// are raw, without one (MPEG-TS, ADTS files) each has its ADTS header.
WORD WaveTagOf(AVCodecID codec, bool hasConfiguration);

}  // namespace platform::media::ffmpeg
