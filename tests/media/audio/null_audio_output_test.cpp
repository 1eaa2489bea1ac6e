// The null audio output: it takes the queued sound at the stream's rate,
// plays silence when starved, and stops taking it when paused.
#include "media/audio/null_audio_output.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "audio_test_owner.h"

namespace {

using audio_testing::kStereo48k;
using audio_testing::Playback;
using platform::media::audio::NullAudioOutput;
using namespace std::chrono_literals;

constexpr size_t kBytesPerSecond = 192000;

TEST(NullAudioOutputTest, PlaysAtTheStreamsRate) {
  Playback playback;
  const std::vector<BYTE> second(kBytesPerSecond);
  playback.queue.Write(second.data(), second.size());
  NullAudioOutput output(playback.feed);
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(playback.queue.Queued(), kBytesPerSecond) << "an output starts paused";
  const auto started = std::chrono::steady_clock::now();
  output.Start();
  std::this_thread::sleep_for(300ms);
  output.Pause();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  const size_t played = kBytesPerSecond - playback.queue.Queued();
  EXPECT_EQ(played % kStereo48k.blockAlign, 0u) << "whole samples";
  EXPECT_LE(played, static_cast<size_t>(seconds * kBytesPerSecond) + 4) << "never faster than real time";
  EXPECT_GE(played, kBytesPerSecond / 5) << "300 ms took " << played << " bytes";
  const size_t queued = playback.queue.Queued();
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(playback.queue.Queued(), queued) << "nothing is taken while paused";
}

// Starved, it goes on at the same pace: the sound written later is not
// played faster to catch up.
TEST(NullAudioOutputTest, StarvedOutputKeepsItsPace) {
  Playback playback;
  NullAudioOutput output(playback.feed);
  output.Start();
  std::this_thread::sleep_for(200ms);
  const std::vector<BYTE> second(kBytesPerSecond);
  playback.queue.Write(second.data(), second.size());
  std::this_thread::sleep_for(100ms);
  output.Pause();
  EXPECT_GT(playback.queue.Queued(), kBytesPerSecond / 2) << "took " << kBytesPerSecond - playback.queue.Queued();
}

}  // namespace
