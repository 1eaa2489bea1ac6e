// PlaybackTimeline: the audio renderer's clock time worked out from how
// much sound its output has played (pure arithmetic on times it is given).
//
// The clock reads the system time plus an offset. While sound plays, each
// report of the sound played so far moves the offset so that the clock
// advanced by exactly the sound played since playback began (the anchor);
// between reports it runs with the system time. When the output plays
// nothing (paused, stopped, starved), the clock just runs on with the system
// time, and the next sound played starts a new anchor at the clock's time
// then. The time never goes backwards: a report that would move it back
// holds it where it is until the sound catches up, or, for sound more than
// kLongestLag behind (an output that stalled), starts a new anchor.
#pragma once

#include <strmif.h>

#include <optional>

namespace platform::media::audio {

class PlaybackTimeline {
 public:
  static constexpr REFERENCE_TIME kLongestLag = 1000000;  // 100 ms

  // The clock time at system time now.
  REFERENCE_TIME Read(REFERENCE_TIME now);
  // The output has played `played` of sound in all (a running total) by system time now.
  void Played(REFERENCE_TIME played, REFERENCE_TIME now);
  // The output plays nothing until the next Played.
  void Idle();
  // The clock time minus the system time, at present.
  REFERENCE_TIME Offset() const { return m_offset; }

 private:
  struct Anchor {
    REFERENCE_TIME clock;   // the clock time when playback began
    REFERENCE_TIME played;  // the running total of sound played then
  };

  void Reanchor(REFERENCE_TIME played, REFERENCE_TIME now);

  REFERENCE_TIME m_offset = 0;  // clock time minus system time
  REFERENCE_TIME m_last = 0;    // the last time read
  std::optional<Anchor> m_anchor;
};

}  // namespace platform::media::audio
