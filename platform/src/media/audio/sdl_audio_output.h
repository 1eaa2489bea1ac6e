// SdlAudioOutput: the sound device, opened through SDL's audio subsystem
// in the stream's own format (SDL converts to what the device takes). SDL's
// audio thread pulls from the feed.
//
// Each output holds one reference to SDL's audio subsystem (SDL counts
// them), given back when the output closes, so SDL's audio is shut down
// once no output uses it. Opening and closing are serialised across the
// process, as SDL requires.
#pragma once

#include <SDL2/SDL_audio.h>

#include "media/audio/audio_output.h"

namespace platform::media::audio {

class SdlAudioOutput final : public AudioOutput {
 public:
  // Null when SDL has no audio or no device opens.
  static std::unique_ptr<AudioOutput> Open(PlaybackFeed &feed);
  ~SdlAudioOutput() override;

  void Start() override;
  void Pause() override;
  const char *Kind() const override { return "sdl"; }

 private:
  explicit SdlAudioOutput(SDL_AudioDeviceID device) : m_device(device) {}

  const SDL_AudioDeviceID m_device;
};

}  // namespace platform::media::audio
