// Dropping late pictures, and the video renderer's quality figures.
#include "media/render_quality.h"

#include <cmath>
#include <limits>

namespace platform::media {
namespace {

constexpr double kUnitsPerMillisecond = 10000;
constexpr double kUnitsPerSecond = 10000000;

// To the nearest int, kept within int's range.
int Rounded(double value) {
  constexpr double kLargest = std::numeric_limits<int>::max();
  if (value >= kLargest) return std::numeric_limits<int>::max();
  if (value <= -kLargest) return -std::numeric_limits<int>::max();
  return static_cast<int>(std::lround(value));
}

}  // namespace

void RunningFigures::Add(double value) {
  ++m_count;
  const double difference = value - m_mean;
  m_mean += difference / static_cast<double>(m_count);
  m_squares += difference * (value - m_mean);
}

double RunningFigures::Deviation() const {
  return m_count > 1 ? std::sqrt(m_squares / static_cast<double>(m_count)) : 0;
}

bool RenderQuality::TakeDue(REFERENCE_TIME start, std::optional<REFERENCE_TIME> stop, REFERENCE_TIME lateness) {
  std::lock_guard lock(m_lock);
  const bool tooLate = stop && *stop > start && lateness >= *stop - start;
  if (tooLate && m_droppedInARow < kMostDroppedInARow) {
    ++m_dropped;
    ++m_droppedInARow;
    return false;
  }
  m_droppedInARow = 0;
  m_syncOffsets.Add(static_cast<double>(lateness));
  const REFERENCE_TIME shownAt = start + lateness;
  if (m_lastShownAt) m_intervals.Add(static_cast<double>(shownAt - *m_lastShownAt));
  m_lastShownAt = shownAt;
  return true;
}

void RenderQuality::CountDrawn() {
  std::lock_guard lock(m_lock);
  ++m_drawn;
}

void RenderQuality::NewStream() {
  std::lock_guard lock(m_lock);
  m_droppedInARow = 0;
  m_lastShownAt.reset();
}

void RenderQuality::Reset() {
  std::lock_guard lock(m_lock);
  m_dropped = m_drawn = m_droppedInARow = 0;
  m_syncOffsets = {};
  m_intervals = {};
  m_lastShownAt.reset();
}

RenderQuality::Figures RenderQuality::Read() const {
  std::lock_guard lock(m_lock);
  Figures figures;
  figures.dropped = m_dropped;
  figures.drawn = m_drawn;
  if (m_intervals.Count() > 0 && m_intervals.Mean() > 0) {
    figures.frameRate = Rounded(100 * kUnitsPerSecond / m_intervals.Mean());
  }
  figures.jitter = Rounded(m_intervals.Deviation() / kUnitsPerMillisecond);
  figures.syncOffset = Rounded(m_syncOffsets.Mean() / kUnitsPerMillisecond);
  figures.syncOffsetDeviation = Rounded(m_syncOffsets.Deviation() / kUnitsPerMillisecond);
  return figures;
}

}  // namespace platform::media
