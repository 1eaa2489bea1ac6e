// How well the video renderer keeps up with the clock: which pictures it
// drops, and the figures IQualProp reports.
//
// A picture that comes due after its whole display time has passed (the
// stream time is at or past its stop) is dropped, so that a renderer that
// falls behind catches up with the clock instead of showing every picture
// late; but never more than kMostDroppedInARow in a row, so that the window
// still changes while everything comes late. Pictures without a stop time
// are never dropped.
//
// The figures count from the last Reset: pictures dropped and drawn; for
// pictures shown in a clocked run, how long after their start they were
// shown (the sync offset, mean and standard deviation), the frame rate they
// were shown at, and the standard deviation of the time between them (the
// jitter). A new stream (a seek) does not reset them, but the gap before
// its first picture is not an interval. Safe to use from any thread.
#pragma once

#include <strmif.h>

#include <mutex>
#include <optional>

namespace platform::media {

// Mean and standard deviation of a series of values, kept as they come.
class RunningFigures {
 public:
  void Add(double value);
  long Count() const { return m_count; }
  double Mean() const { return m_mean; }
  double Deviation() const;

 private:
  long m_count = 0;
  double m_mean = 0;
  double m_squares = 0;  // sum of squared differences from the mean
};

class RenderQuality {
 public:
  static constexpr int kMostDroppedInARow = 4;

  struct Figures {
    int dropped = 0;
    int drawn = 0;
    int frameRate = 0;            // hundredths of a frame per second
    int jitter = 0;               // ms
    int syncOffset = 0;           // ms
    int syncOffsetDeviation = 0;  // ms
  };

  // A picture timed start to stop came due lateness after its start in a
  // clocked run: false to drop it (counted as dropped). A picture taken is
  // counted when it is drawn.
  bool TakeDue(REFERENCE_TIME start, std::optional<REFERENCE_TIME> stop, REFERENCE_TIME lateness);
  void CountDrawn();
  // A new stream: the next picture shown starts the intervals again.
  void NewStream();
  void Reset();
  Figures Read() const;

 private:
  mutable std::mutex m_lock;
  int m_dropped = 0;
  int m_drawn = 0;
  int m_droppedInARow = 0;
  RunningFigures m_syncOffsets;  // 100 ns
  RunningFigures m_intervals;    // 100 ns
  std::optional<REFERENCE_TIME> m_lastShownAt;  // stream time
};

}  // namespace platform::media
