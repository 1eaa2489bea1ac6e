// The video renderer's record of the pictures it showed, for tests and
// tools: how many it presented since it last left the stopped state and,
// for the most recent kFramesKept of them and the pictures it held while
// paused, their times and a digest of their pixels (frame_digest.h), in the
// order shown. Safe to use from any thread.
#pragma once

#include <strmif.h>

#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace platform::media {

struct PresentedFrame {
  std::optional<REFERENCE_TIME> start;  // the sample's times, when it had them
  std::optional<REFERENCE_TIME> stop;
  bool whilePaused = false;  // held as the still picture of a pause or a seek
  std::string digest;        // of the picture's bytes in the connection's format
};

struct PresentationRecordCopy {
  uint64_t presented = 0;  // while running, all of them
  std::vector<PresentedFrame> frames;
};

class PresentationRecord {
 public:
  static constexpr size_t kFramesKept = 100000;  // an hour at 25 frames a second

  void Add(PresentedFrame frame);
  void Reset();
  PresentationRecordCopy Read() const;

 private:
  mutable std::mutex m_lock;
  uint64_t m_presented = 0;
  std::deque<PresentedFrame> m_frames;
};

}  // namespace platform::media
