// Sample times of demuxed packets.
#include "media/ffmpeg/packet_timing.h"

extern "C" {
#include <libavutil/avutil.h>
#include <libavutil/mathematics.h>
}

namespace platform::media::ffmpeg {
namespace {

constexpr AVRational kReferenceTimeBase = {1, 10000000};
constexpr AVRational kFileTimeBase = {1, AV_TIME_BASE};

}  // namespace

std::optional<SampleTimes> PacketSampleTimes(const AVPacket &packet, AVRational timeBase, int64_t origin) {
  const int64_t time = packet.pts != AV_NOPTS_VALUE ? packet.pts : packet.dts;
  if (time == AV_NOPTS_VALUE) return std::nullopt;
  SampleTimes times;
  times.start = av_rescale_q(time - origin, timeBase, kReferenceTimeBase);
  if (packet.duration > 0) times.stop = av_rescale_q(time - origin + packet.duration, timeBase, kReferenceTimeBase);
  return times;
}

int64_t StreamOrigin(int64_t fileStartTime, AVRational timeBase) {
  return fileStartTime == AV_NOPTS_VALUE ? 0 : av_rescale_q(fileStartTime, kFileTimeBase, timeBase);
}

REFERENCE_TIME ReferenceTimeOf(int64_t fileTime) { return av_rescale_q(fileTime, kFileTimeBase, kReferenceTimeBase); }

int64_t FileTimeOf(REFERENCE_TIME time) { return av_rescale_q(time, kReferenceTimeBase, kFileTimeBase); }

}  // namespace platform::media::ffmpeg
