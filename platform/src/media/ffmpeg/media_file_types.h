// The files the media file source reads, as AddSourceFilter finds them
// (source_lookup.h): the extensions of the containers libavformat demuxes,
// and for files named otherwise the first bytes of those containers, under
// a stream subtype of the source's own.
#pragma once

#include <platform_filters/filter_server.h>

namespace platform::media::ffmpeg {

// {8F2A6A1C-5BC9-4431-BDEF-4C01EB1F9D2F}
inline constexpr GUID kMediaFileStreamSubtype = {
    0x8F2A6A1C, 0x5BC9, 0x4431, {0xBD, 0xEF, 0x4C, 0x01, 0xEB, 0x1F, 0x9D, 0x2F}};

extern const SourceFileTypes kMediaFileTypes;

}  // namespace platform::media::ffmpeg
