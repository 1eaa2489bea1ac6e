// Sample times of demuxed packets: a packet's presentation time (its
// decoding time when it has none) in 100 ns units, counted from the file's
// start, and its stop time from its duration. Pure functions.
#pragma once

#include <strmif.h>

extern "C" {
#include <libavcodec/packet.h>
}

#include <optional>

namespace platform::media::ffmpeg {

struct SampleTimes {
  REFERENCE_TIME start = 0;
  std::optional<REFERENCE_TIME> stop;  // empty when the packet's duration is not known
};

// origin: the time that becomes 0, in the stream's time base. Empty when the
// packet has no time at all.
std::optional<SampleTimes> PacketSampleTimes(const AVPacket &packet, AVRational timeBase, int64_t origin);

// A stream's origin from the file's start time (AV_TIME_BASE units,
// AV_NOPTS_VALUE when not known: then the origin is 0).
int64_t StreamOrigin(int64_t fileStartTime, AVRational timeBase);

// A time in AV_TIME_BASE units as a REFERENCE_TIME, and back.
REFERENCE_TIME ReferenceTimeOf(int64_t fileTime);
int64_t FileTimeOf(REFERENCE_TIME time);

}  // namespace platform::media::ffmpeg
