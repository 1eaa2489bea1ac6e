// The audio clock's arithmetic, step by step: what it reads after each
// report of sound played, of idleness, at given system times.
#include "media/audio/playback_timeline.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using platform::media::audio::PlaybackTimeline;

constexpr REFERENCE_TIME kMs = 10000;

enum class Step { kRead, kPlayed, kIdle };

struct Event {
  Step step;
  REFERENCE_TIME now;     // system time
  REFERENCE_TIME played;  // kPlayed: the running total
  REFERENCE_TIME expected;  // kRead: the clock's time
};

struct Scenario {
  const char *name;
  std::vector<Event> events;
};

Event Read(REFERENCE_TIME now, REFERENCE_TIME expected) { return {Step::kRead, now, 0, expected}; }
Event Played(REFERENCE_TIME now, REFERENCE_TIME played) { return {Step::kPlayed, now, played, 0}; }
Event Idle(REFERENCE_TIME now) { return {Step::kIdle, now, 0, 0}; }

void Replay(const Scenario &scenario) {
  PlaybackTimeline timeline;
  for (size_t i = 0; i < scenario.events.size(); ++i) {
    const Event &event = scenario.events[i];
    switch (event.step) {
      case Step::kRead:
        EXPECT_EQ(timeline.Read(event.now), event.expected) << scenario.name << ", step " << i;
        break;
      case Step::kPlayed:
        timeline.Played(event.played, event.now);
        break;
      case Step::kIdle:
        timeline.Idle();
        break;
    }
  }
}

TEST(PlaybackTimelineTest, Scenarios) {
  const Scenario scenarios[] = {
      {"runs with the system time before any sound",
       {Read(1000 * kMs, 1000 * kMs), Read(1500 * kMs, 1500 * kMs)}},
      {"advances by the sound played, not the system time",
       {Played(1000 * kMs, 0), Played(1020 * kMs, 15 * kMs), Read(1020 * kMs, 1015 * kMs),
        Played(1040 * kMs, 30 * kMs), Read(1040 * kMs, 1030 * kMs)}},
      {"runs with the system time between reports",
       {Played(1000 * kMs, 0), Played(1020 * kMs, 20 * kMs), Read(1030 * kMs, 1030 * kMs)}},
      {"a device running fast moves the clock ahead",
       {Played(1000 * kMs, 0), Played(1020 * kMs, 25 * kMs), Read(1020 * kMs, 1025 * kMs)}},
      {"never goes back: a late report holds the time until the sound catches up",
       {Played(1000 * kMs, 0), Read(1050 * kMs, 1050 * kMs), Played(1050 * kMs, 30 * kMs),
        Read(1060 * kMs, 1050 * kMs), Read(1075 * kMs, 1055 * kMs)}},
      {"sound more than 100 ms behind starts a new anchor",
       {Played(1000 * kMs, 0), Read(1500 * kMs, 1500 * kMs), Played(1500 * kMs, 20 * kMs),
        Read(1500 * kMs, 1500 * kMs), Played(1520 * kMs, 40 * kMs), Read(1520 * kMs, 1520 * kMs)}},
      {"starved, it runs on with the system time and anchors again at the next sound",
       {Played(1000 * kMs, 0), Played(1020 * kMs, 20 * kMs), Idle(1020 * kMs), Read(1200 * kMs, 1200 * kMs),
        Played(1200 * kMs, 20 * kMs), Played(1220 * kMs, 30 * kMs), Read(1220 * kMs, 1210 * kMs)}},
      {"the offset of past playing stays once idle",
       {Played(1000 * kMs, 0), Played(1100 * kMs, 90 * kMs), Idle(1100 * kMs), Read(1200 * kMs, 1190 * kMs)}},
  };
  for (const Scenario &scenario : scenarios) Replay(scenario);
}

}  // namespace
