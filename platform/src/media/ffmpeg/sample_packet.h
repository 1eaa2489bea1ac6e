// A media sample's data as an FFmpeg packet, as the built-in decoders send
// it to libavcodec: the data copied, the start time (100 ns) as the
// packet's time stamp, a sync point as a key frame.
#pragma once

#include <strmif.h>

#include <optional>

#include "media/ffmpeg/av_objects.h"

namespace platform::media::ffmpeg {

// Replaces what the packet held; E_OUTOFMEMORY when it cannot hold the data.
// `start` receives the sample's start time, empty when it has none.
HRESULT PacketFromSample(IMediaSample *sample, AVPacket *packet, std::optional<REFERENCE_TIME> &start);

}  // namespace platform::media::ffmpeg
