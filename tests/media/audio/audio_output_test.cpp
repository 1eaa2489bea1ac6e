// Choosing the audio output: the sound device through SDL when one opens
// (SDL's dummy driver stands for one here), the null output otherwise, at
// once when SDL has no device.
#include "media/audio/audio_output.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "audio_test_owner.h"

namespace {

using audio_testing::Playback;
using platform::media::audio::OpenAudioOutput;
using namespace std::chrono_literals;

// Sets environment variables for one test and puts them back after it.
class ScopedEnvironment {
 public:
  void Set(const char *name, const char *value) {
    const char *previous = std::getenv(name);
    m_saved.push_back({name, previous ? std::optional<std::string>(previous) : std::nullopt});
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnvironment() {
    for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
      if (it->second) {
        setenv(it->first.c_str(), it->second->c_str(), 1);
      } else {
        unsetenv(it->first.c_str());
      }
    }
  }

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

TEST(AudioOutputTest, NullOutputWhenAskedFor) {
  ScopedEnvironment environment;
  environment.Set("QUORVEL_AUDIO", "null");
  environment.Set("SDL_AUDIODRIVER", "dummy");
  Playback playback;
  const auto output = OpenAudioOutput(playback.feed);
  ASSERT_TRUE(output);
  EXPECT_STREQ(output->Kind(), "null");
}

TEST(AudioOutputTest, SoundDeviceWhenOneOpens) {
  ScopedEnvironment environment;
  environment.Set("QUORVEL_AUDIO", nullptr);
  environment.Set("SDL_AUDIODRIVER", "dummy");
  Playback playback;
  const std::vector<BYTE> second(192000);
  playback.queue.Write(second.data(), second.size());
  const auto output = OpenAudioOutput(playback.feed);
  ASSERT_TRUE(output);
  ASSERT_STREQ(output->Kind(), "sdl");
  output->Start();
  std::this_thread::sleep_for(300ms);
  output->Pause();
  const size_t queued = playback.queue.Queued();
  EXPECT_LT(queued, second.size()) << "the device took nothing";
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(playback.queue.Queued(), queued) << "the device took sound while paused";
}

// Without a sound card (SDL's default drivers find none on these machines,
// and a driver that does not exist stands for that) the null output comes
// at once.
TEST(AudioOutputTest, NullOutputAtOnceWhenNoDeviceOpens) {
  for (const char *driver : {"no-such-driver", static_cast<const char *>(nullptr)}) {
    ScopedEnvironment environment;
    environment.Set("QUORVEL_AUDIO", nullptr);
    environment.Set("SDL_AUDIODRIVER", driver);
    Playback playback;
    const auto asked = std::chrono::steady_clock::now();
    const auto output = OpenAudioOutput(playback.feed);
    ASSERT_TRUE(output);
    EXPECT_LT(std::chrono::steady_clock::now() - asked, 5s) << (driver ? driver : "default driver");
    if (driver) {
      EXPECT_STREQ(output->Kind(), "null");
    }
  }
}

}  // namespace
