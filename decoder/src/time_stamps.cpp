// Time stamps of the decoded pictures.
#include "time_stamps.h"

extern "C" {
#include <libavutil/frame.h>
}

#include <cstdlib>

namespace h264decoder {

bool PictureTimes::EndsBeforeSegment() const {
  if (hasStop) return stop <= 0;
  return hasStart && start < 0;
}

PictureTimes PassedThroughTimes(const AVFrame &picture) {
  PictureTimes times;
  if (picture.pts == AV_NOPTS_VALUE) return times;
  times.hasStart = true;
  times.start = picture.pts;
  if (picture.pkt_duration > 0) {
    times.hasStop = true;
    times.stop = picture.pts + picture.pkt_duration;
  }
  return times;
}

PictureTimes DerivedClock::Next(const AVFrame &picture, REFERENCE_TIME frameDuration) {
  const REFERENCE_TIME bestEffort = picture.best_effort_timestamp;
  if (bestEffort != AV_NOPTS_VALUE) {
    const bool offClock = frameDuration <= 0 || std::llabs(bestEffort - m_next) >= frameDuration;
    if (!m_running || offClock) m_next = bestEffort;
  } else if (!m_running) {
    m_next = 0;
  }
  m_running = true;
  PictureTimes times;
  times.hasStart = true;
  times.start = m_next;
  if (frameDuration > 0) {
    times.hasStop = true;
    times.stop = m_next + frameDuration;
  }
  m_next += frameDuration;
  return times;
}

}  // namespace h264decoder
