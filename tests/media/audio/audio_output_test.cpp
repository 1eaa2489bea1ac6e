// Choosing the audio output: the null output at once when SDL has no
// device (the renderer's tests play through SDL's dummy device).
#include "media/audio/audio_output.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "audio_test_owner.h"

namespace {

using audio_testing::Playback;
using platform::media::audio::OpenAudioOutput;
using namespace std::chrono_literals;

// Without a sound card (SDL's default drivers find none on these machines,
// and a driver that does not exist stands for that) the null output comes
// at once.
TEST(AudioOutputTest, NullOutputAtOnceWhenNoDeviceOpens) {
  unsetenv("QUORVEL_AUDIO");
  for (const char *driver : {"no-such-driver", static_cast<const char *>(nullptr)}) {
    if (driver) {
      setenv("SDL_AUDIODRIVER", driver, 1);
    } else {
      unsetenv("SDL_AUDIODRIVER");
    }
    Playback playback;
    const auto asked = std::chrono::steady_clock::now();
    const auto output = OpenAudioOutput(playback.feed);
    ASSERT_TRUE(output);
    EXPECT_LT(std::chrono::steady_clock::now() - asked, 5s) << (driver ? driver : "default driver");
    if (driver) {
      EXPECT_STREQ(output->Kind(), "null");
    }
  }
  setenv("QUORVEL_AUDIO", "null", 1);
}

}  // namespace
