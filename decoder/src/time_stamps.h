// The times a decoded picture is stamped with, in 100 ns units.
//
// Passed through: each picture carries the times of the input sample it
// came from, as the codec pairs pictures with their samples in
// presentation order; a sample without times gives a picture without
// times, a sample without a stop time a picture without one.
//
// Derived: the decoder's own clock, one frame duration a picture. It starts
// at the codec's best-effort time stamp of the first picture (0 when it has
// none) and follows the best-effort stamps again whenever they move a whole
// frame or more away from it (a gap in the stream); small irregularities
// of the input times do not reach the output. Every picture gets a start
// and, when the frame duration is known, a stop a frame later.
#pragma once

#include <strmif.h>

struct AVFrame;

namespace h264decoder {

struct PictureTimes {
  bool hasStart = false;
  bool hasStop = false;
  REFERENCE_TIME start = 0;
  REFERENCE_TIME stop = 0;

  // True when the picture ends before the segment's start: a picture decoded
  // only to reach the first one after a seek.
  bool EndsBeforeSegment() const;
};

PictureTimes PassedThroughTimes(const AVFrame &picture);

class DerivedClock {
 public:
  // The next picture starts the clock again.
  void Reset() { m_running = false; }
  PictureTimes Next(const AVFrame &picture, REFERENCE_TIME frameDuration);

 private:
  bool m_running = false;
  REFERENCE_TIME m_next = 0;
};

}  // namespace h264decoder
