// AudioOutput: where the audio renderer's sound goes, pulled from a
// PlaybackFeed on a thread of the output's own at the pace it plays.
//
// OpenAudioOutput gives the sound device through SDL when one opens, and
// otherwise the null output (null_audio_output.h), which plays nothing at
// the same pace, so that a stream is always rendered at its real speed.
// The environment variable QUORVEL_AUDIO=null asks for the null output
// without trying a device (tests, machines whose device must stay free).
//
// An output starts paused. Pause returns once the feed is no longer used;
// destroying the output pauses and closes it.
#pragma once

#include <memory>

#include "media/audio/playback_feed.h"

namespace platform::media::audio {

class AudioOutput {
 public:
  virtual ~AudioOutput() = default;
  virtual void Start() = 0;
  virtual void Pause() = 0;
  // For tests and traces: "sdl" or "null".
  virtual const char *Kind() const = 0;
};

std::unique_ptr<AudioOutput> OpenAudioOutput(PlaybackFeed &feed);

}  // namespace platform::media::audio
