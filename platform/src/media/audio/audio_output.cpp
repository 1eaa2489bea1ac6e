// Choosing the audio renderer's output.
#include "media/audio/audio_output.h"

#include <cstdlib>
#include <cstring>

#include "media/audio/null_audio_output.h"
#include "media/audio/sdl_audio_output.h"

namespace platform::media::audio {
namespace {

bool NullOutputAsked() {
  const char *setting = std::getenv("QUORVEL_AUDIO");
  return setting && std::strcmp(setting, "null") == 0;
}

}  // namespace

std::unique_ptr<AudioOutput> OpenAudioOutput(PlaybackFeed &feed) {
  if (!NullOutputAsked()) {
    if (auto device = SdlAudioOutput::Open(feed)) return device;
  }
  return std::make_unique<NullAudioOutput>(feed);
}

}  // namespace platform::media::audio
